// Every write path of the program, failed at each of its file-system calls in turn with
// each fault a disk can give. A new write path is one entry of the table below.
#include "CardExport.h"
#include "CardLibrary.h"
#include "MailSettingsDialog.h"
#include "WbfConversion.h"
#include "WriteRig.h"

#include <QLineEdit>
#include <gtest/gtest.h>
#include <iostream>
#include <regex>

using namespace cw;
using namespace cw::test;

namespace {

// A data root with a two-page format (TEST) and a one-page one (CLUB), loaded.
void Load(WriteRig& rig, FormatSpec first = FormatSpec{}) {
    MakeDataRoot(rig.dir.Path(), {first, OnePageFormat()});
    rig.ctx.ReadSystemSettings();
    ASSERT_TRUE(rig.session.Load());
}

// Creates card name through the name dialog; it stays open.
void CreateCard(WriteRig& rig, const std::string& name) {
    ASSERT_TRUE(rig.session.Library().PrepareNewCard());
    ASSERT_TRUE(rig.session.Library().FinishNameDialog({name, "Me", "11", "Pard", "22"}));
}

void ChangeCard(WriteRig& rig) {
    rig.ctx.Card.Edit().Field(TextField, 0).text = "Changed text";
    rig.session.Changed().SetChangedState(ChangedState::CardChangedCode);
}

int Entry(WriteRig& rig, const std::string& entry) {
    const auto& entries = rig.session.Library().Entries();
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i] == entry)
            return int(i);
    return -1;
}

std::vector<WritePath> WritePaths() {
    std::vector<WritePath> paths;
    paths.push_back({"card save",
                     [](WriteRig& rig) {
                         Load(rig);
                         CreateCard(rig, "ab");
                         ChangeCard(rig);
                     },
                     [](WriteRig& rig) {
                         rig.session.SaveChanges();
                         return !rig.session.Changed().CardChanged();
                     },
                     {"TEST/ab.tst"}});
    paths.push_back({"save of a card read incompletely (the original kept as .bak)",
                     [](WriteRig& rig) {
                         Load(rig);
                         CreateCard(rig, "ab");
                         auto lines = ReadLines(rig.File("TEST/ab.tst"));
                         lines.push_back("2,1,2,\"not a record");
                         WriteLines(rig.File("TEST/ab.tst"), lines);
                         rig.session.Library().FillCardList();
                         ASSERT_TRUE(rig.session.Library().OpenCard(Entry(rig, "AB.TST")));
                         ChangeCard(rig);
                     },
                     [](WriteRig& rig) {
                         rig.session.SaveChanges();
                         return !rig.session.Changed().CardChanged();
                     },
                     {"TEST/ab.tst", "TEST/ab.tst.bak"}});
    paths.push_back({"new card from the format's blank pages",
                     [](WriteRig& rig) { Load(rig); },
                     [](WriteRig& rig) {
                         auto& library = rig.session.Library();
                         return library.PrepareNewCard() &&
                                library.FinishNameDialog({"ab", "Me", "11", "Pard", "22"}) &&
                                rig.session.Changed().CardOpen();
                     },
                     {"TEST/ab.tst", "TEST/ab_.tst"}});
    paths.push_back(
        {"card copy under a new name",
         [](WriteRig& rig) {
             Load(rig);
             CreateCard(rig, "ab");
         },
         [](WriteRig& rig) { return rig.session.Library().CopyCard(Entry(rig, "AB.TST"), "cd"); },
         {"TEST/cd.tst", "TEST/cd_.tst"}});
    paths.push_back(
        {"card copy to the transfer folder, with its notes",
         [](WriteRig& rig) {
             Load(rig);
             CreateCard(rig, "ab");
             auto lines = ReadLines(rig.File("TEST/ab.tst"));
             lines[3] = "ab.not";
             WriteLines(rig.File("TEST/ab.tst"), lines);
             WriteLines(rig.File("suppnote/ab.not"), {"[1] our notes"});
         },
         [](WriteRig& rig) { return rig.session.Library().CopyToDiskette(Entry(rig, "AB.TST")); },
         {"@/AB.TST", "@/AB_.TST", "@/ab.not"}});
    paths.push_back({"cards copied from the transfer folder, with the notes there",
                     [](WriteRig& rig) {
                         Load(rig);
                         CreateCard(rig, "ab");
                         for (const char* page : {"ab.tst", "ab_.tst"})
                             fs::rename(rig.File(std::string("TEST/") + page),
                                        rig.File(std::string("@/") + page));
                         WriteLines(rig.File("@/ab.not"), {"[1] notes from the stick"});
                         rig.session.Library().FillCardList();
                     },
                     [](WriteRig& rig) { return rig.session.Library().CopyCardsFromDiskette(); },
                     {"TEST/ab.tst", "TEST/ab_.tst", "suppnote/ab.not"}});
    paths.push_back({"format defaults save (the zoom kept)",
                     [](WriteRig& rig) { Load(rig); },
                     [](WriteRig& rig) {
                         rig.ctx.Format.EditDefaults().SavedZoom = 3;
                         return rig.ctx.ApplyFormatDefaults(true);
                     },
                     {"datasys/TEST.dat"}});
    paths.push_back({"format defaults made again from an unreadable file",
                     [](WriteRig& rig) {
                         Load(rig);
                         WriteLines(rig.File("datasys/TEST.dat"), {"1", "2", "3"});
                     },
                     [](WriteRig& rig) { return rig.ctx.LoadFormatDefaults(); },
                     {"datasys/TEST.dat", "datasys/TEST.dat.bad"},
                     1});
    paths.push_back({"settings file rewrite",
                     [](WriteRig& rig) { Load(rig); },
                     [](WriteRig& rig) {
                         rig.ctx.Settings.SystemFlags = 2;
                         return rig.ctx.SaveSystemSettings();
                     },
                     {"cwr.sys"}});
    paths.push_back({"settings file patch of the format on closing",
                     [](WriteRig& rig) {
                         Load(rig);
                         ASSERT_TRUE(rig.session.ChooseFormat(1));
                     },
                     [](WriteRig& rig) {
                         return rig.session.QueryUnload(false) == MainSession::CloseResult::Closed;
                     },
                     {"cwr.sys"}});
    paths.push_back({"notes save",
                     [](WriteRig& rig) {
                         Load(rig);
                         WriteLines(rig.File("suppnote/n.not"), {"[1] one", "[2] two"});
                         ASSERT_TRUE(rig.notes.ChooseFile("n.not"));
                         rig.notes.StartEditing();
                         rig.notesView.editBox = "[1] one, changed\n[2] two";
                         rig.notes.EditChanged();
                     },
                     [](WriteRig& rig) { return rig.notes.SaveNotesEdit(); },
                     {"suppnote/n.not"}});
    paths.push_back({"new notes file",
                     [](WriteRig& rig) { Load(rig); },
                     [](WriteRig& rig) {
                         rig.prompter.QueueInput("fresh");
                         return rig.notes.CreateNotesFile();
                     },
                     {"suppnote/fresh.not"}});
    paths.push_back({"notes file named on the front page from the back page",
                     [](WriteRig& rig) {
                         Load(rig);
                         CreateCard(rig, "ab");
                         rig.views.backSide = true;
                         ASSERT_TRUE(rig.session.Library().SwitchSide(true));
                         WriteLines(rig.File("suppnote/n.not"), {"[1] one"});
                     },
                     [](WriteRig& rig) {
                         // Chosen once; a save that failed is simply tried again.
                         if (rig.ctx.Card.Page().CardHeader[2] != "n.not") {
                             rig.prompter.QueueAnswer(Answer::Yes); // associate it with the card
                             if (!rig.notes.ChooseFile("n.not"))
                                 return false;
                         }
                         rig.session.SaveChanges();
                         return !rig.session.Changed().CardChanged();
                     },
                     {"TEST/ab_.tst", "TEST/ab.tst", "datasys/history/TEST/ab/*_ab_.tst",
                      "datasys/history/TEST/ab/*_ab.tst"},
                     0,
                     {},
                     {"TEST/ab_.tst", "TEST/ab.tst"}});
    paths.push_back({"back page made from the blank back page (ACBL)",
                     [](WriteRig& rig) {
                         FormatSpec acbl;
                         acbl.code = "ACBL";
                         acbl.base = "acbl";
                         acbl.extension = "acb";
                         Load(rig, acbl);
                         CreateCard(rig, "ab");
                         fs::remove(rig.File("ACBL/ab_.acb"));
                     },
                     [](WriteRig& rig) {
                         auto& library = rig.session.Library();
                         rig.views.backSide = true;
                         bool opened = rig.ctx.Card.BackSide() ? library.OpenCard(0)
                                                               : library.SwitchSide(true);
                         return opened && rig.session.Changed().CardOpen();
                     },
                     // The back page takes its name from the card list's entry.
                     {"ACBL/AB_.acb"}});
    paths.push_back({"WBF cards converted",
                     [](WriteRig& rig) {
                         Load(rig);
                         WriteLines(rig.File("wbfeb/smith.06w"), HeaderBlock("Smith", {}));
                     },
                     [](WriteRig& rig) { return WbfConversion(rig.ctx).ConvertWbfCards() == 1; },
                     {"wbfb/_smith.05w"},
                     1});
    // The card history: a save keeps the page it replaced, a deleted card goes there and
    // comes back from there.
    WritePath history{"card save keeping the page it replaced in the card history",
                      [](WriteRig& rig) {
                          Load(rig);
                          CreateCard(rig, "ab");
                          ChangeCard(rig);
                      },
                      [](WriteRig& rig) {
                          rig.session.SaveChanges();
                          return !rig.session.Changed().CardChanged();
                      },
                      {"TEST/ab.tst", "datasys/history/TEST/ab/*_ab.tst"}};
    // A page that did not change is not kept again.
    history.retryFiles = {"TEST/ab.tst"};
    paths.push_back(history);
    paths.push_back(
        {"card deleted into the card history",
         [](WriteRig& rig) {
             Load(rig);
             CreateCard(rig, "ab");
         },
         [](WriteRig& rig) { return rig.session.Library().DeleteCard(Entry(rig, "AB.TST")); },
         {"TEST/ab.tst", "TEST/ab_.tst", "datasys/history/TEST/ab/*_ab.tst",
          "datasys/history/TEST/ab/*_ab_.tst"}});
    // The history on a disk of its own: the pages are copied there, then deleted.
    paths.push_back({"card deleted into the card history on another disk",
                     [](WriteRig& rig) {
                         Load(rig);
                         CreateCard(rig, "ab");
                         rig.fileSystem.SeparateDisk(rig.File("datasys/history"));
                         rig.reportingQuestions = {"The card cannot be kept in the card history"};
                     },
                     [](WriteRig& rig) {
                         // Yes to deleting it; No to deleting it when it cannot be kept.
                         rig.prompter.QueueAnswer(Answer::Yes);
                         rig.prompter.QueueAnswer(Answer::No);
                         bool finished = rig.session.Library().DeleteCard(Entry(rig, "AB.TST"));
                         rig.prompter.ForgetQueued();
                         return finished;
                     },
                     {"TEST/ab.tst", "TEST/ab_.tst", "datasys/history/TEST/ab/*_ab.tst",
                      "datasys/history/TEST/ab/*_ab_.tst"}});
    paths.push_back({"deleted card brought back from the card history",
                     [](WriteRig& rig) {
                         Load(rig);
                         CreateCard(rig, "ab");
                         ASSERT_TRUE(rig.session.Library().DeleteCard(Entry(rig, "AB.TST")));
                     },
                     [](WriteRig& rig) { return rig.session.Library().RestoreDeletedCard("ab"); },
                     {"TEST/ab.tst", "TEST/ab_.tst"}});
    // Save Card as: the card is saved first, then its pictures (or a copy) are written.
    auto exportTo = [](ExportFilter filter, const std::string& file) {
        return [filter, file](WriteRig& rig) {
            SessionCardPages pages(rig.session);
            CardExport exporter(rig.ctx, pages);
            exporter.SetCopyCard([&rig](const std::string& name) {
                return rig.session.Library().CopyCard(Entry(rig, "AB.TST"), name);
            });
            return exporter.SaveCardAs({rig.File(file), filter, 0});
        };
    };
    auto changedCard = [](WriteRig& rig) {
        Load(rig);
        CreateCard(rig, "ab");
        ChangeCard(rig);
    };
    paths.push_back({"export as bitmaps of both pages",
                     changedCard,
                     exportTo(ExportFilter::Bitmap, "@/ab.bmp"),
                     {"TEST/ab.tst", "@/ab.bmp", "@/ab_.bmp"}});
    paths.push_back({"export as JPEG pictures",
                     changedCard,
                     exportTo(ExportFilter::Jpeg, "@/ab.jpg"),
                     {"TEST/ab.tst", "@/ab.jpg", "@/ab_.jpg"}});
    paths.push_back({"export as GIF pictures",
                     changedCard,
                     exportTo(ExportFilter::Gif, "@/ab.gif"),
                     {"TEST/ab.tst", "@/ab.gif", "@/ab_.gif"}});
    WritePath pdf{"export as a PDF file",
                  changedCard,
                  exportTo(ExportFilter::Pdf, "@/ab.pdf"),
                  {"TEST/ab.tst", "@/ab.pdf"}};
    pdf.comparable = [](const std::string& bytes) {
        // Made at another second, the same file.
        static const std::regex time(R"(\(D:[0-9Z+\-']*\))");
        return std::regex_replace(bytes, time, "(D:)");
    };
    paths.push_back(pdf);
    paths.push_back({"export as a card file under another name",
                     changedCard,
                     exportTo(ExportFilter::CardFile, "TEST/cd.tst"),
                     {"TEST/ab.tst", "TEST/cd.tst", "TEST/cd_.tst"}});
    paths.push_back({"mail settings",
                     [](WriteRig& rig) { Load(rig); },
                     [](WriteRig& rig) {
                         MailSettingsDialog dialog(rig.prompter, rig.dir.Path(), nullptr,
                                                   rig.fileSystem);
                         dialog.serverBox()->setText("smtp://mail.example.org:587");
                         dialog.senderBox()->setText("me@example.org");
                         dialog.accept();
                         return dialog.result() == QDialog::Accepted;
                     },
                     {"mail.ini"}});
    return paths;
}

class WritePathFaults : public ::testing::TestWithParam<WritePath> {};

struct Totals {
    int injected = 0;
    int survived = 0;
    ~Totals() {
        if (injected == 0)
            return;
        std::cout << "Write-path faults: " << injected << " injected, " << survived
                  << " survived\n";
    }
};
Totals totals;

} // namespace

TEST_P(WritePathFaults, OldOrNewFileOneClearMessageAndTheNextTrySucceeds) {
    const WritePath& path = GetParam();
    FaultTally tally = RunWithFaults(path);
    totals.injected += tally.injected;
    totals.survived += tally.survived;
    std::cout << path.name << ": " << tally.injected << " faults injected, " << tally.survived
              << " survived\n";
    EXPECT_GT(tally.injected, 0);
    for (const std::string& failure : tally.failures)
        ADD_FAILURE() << failure;
}

INSTANTIATE_TEST_SUITE_P(EveryWritePath, WritePathFaults, ::testing::ValuesIn(WritePaths()),
                         [](const ::testing::TestParamInfo<WritePath>& info) {
                             std::string name;
                             for (char c : info.param.name)
                                 if (std::isalnum(static_cast<unsigned char>(c)))
                                     name += c;
                             return name;
                         });
