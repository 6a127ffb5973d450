#include "FormatArchive.h"

#include "CardFile.h"
#include "FormatCatalogue.h"
#include "FormatMaker.h"
#include "FormatTestData.h"
#include "SystemSettings.h"
#include "TestFiles.h"

#include <archive.h>
#include <archive_entry.h>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace cw {
namespace {

using test::Contents;
using test::ReadCatalogue;
using test::SlotOf;
using test::TempDir;

// One entry of a zip file as a test writes it, hostile ones too.
struct ZipEntry {
    std::string name;
    std::string bytes;
    std::string linkTarget; // a symbolic link when set
};

la_ssize_t AppendTo(archive*, void* target, const void* buffer, size_t length) {
    static_cast<std::string*>(target)->append(static_cast<const char*>(buffer), length);
    return la_ssize_t(length);
}

std::string Zip(const std::vector<ZipEntry>& entries) {
    std::string out;
    std::unique_ptr<archive, decltype(&archive_write_free)> writer(archive_write_new(),
                                                                   archive_write_free);
    archive_write_set_format_zip(writer.get());
    archive_write_set_bytes_per_block(writer.get(), 0);
    archive_write_open(writer.get(), &out, nullptr, AppendTo, nullptr);
    for (const ZipEntry& item : entries) {
        archive_entry* entry = archive_entry_new();
        archive_entry_set_pathname(entry, item.name.c_str());
        if (item.linkTarget.empty()) {
            archive_entry_set_filetype(entry, AE_IFREG);
            archive_entry_set_size(entry, la_int64_t(item.bytes.size()));
        } else {
            archive_entry_set_filetype(entry, AE_IFLNK);
            archive_entry_set_symlink(entry, item.linkTarget.c_str());
        }
        archive_entry_set_perm(entry, 0644);
        EXPECT_EQ(archive_write_header(writer.get(), entry), ARCHIVE_OK) << item.name;
        if (item.linkTarget.empty())
            archive_write_data(writer.get(), item.bytes.data(), item.bytes.size());
        archive_entry_free(entry);
    }
    EXPECT_EQ(archive_write_close(writer.get()), ARCHIVE_OK);
    return out;
}

// A source root holding the test format and one made from a generated two-sided PDF, and a
// target root holding only a one-page format.
class FormatArchiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(test::BlankCards()) << "make_blank_cards.py failed (python3-reportlab)";
        test::FormatSpec shipped;
        shipped.extraLines = {"w13 4", "w16 2", "w18 140", "w19 216", "w20 1.6"};
        test::MakeDataRoot(source_.Path(), {shipped});
        NewFormatRequest request;
        request.root = source_.Path();
        request.sources = {test::BlankCard("two-sided.pdf")};
        request.code = "FED";
        request.name = "Federation card";
        FormatMaker(request).Write();
        test::MakeDataRoot(target_.Path(), {test::OnePageFormat()});
    }

    fs::path Exported(const std::string& code) {
        const fs::path file = files_ / (code + ".cwformat");
        ExportFormat(source_.Path(), code, file);
        return file;
    }

    // The entries of a good format file of FED, to build bad ones from.
    std::vector<ZipEntry> FedEntries() const {
        const FormatPackage package = CollectFormat(source_.Path(), "FED");
        std::string manifest;
        for (const std::string& line : package.record.Lines())
            manifest += line + "\r\n";
        std::vector<ZipEntry> entries{{"format.txt", manifest, ""}};
        for (const auto& [path, bytes] : package.files)
            entries.push_back({path.generic_string(), bytes, ""});
        return entries;
    }

    // Why importing bytes into the target root is refused, with the root checked to be as it
    // was, byte for byte.
    std::string Refusal(const std::string& bytes, const FormatArchiveLimits& limits = {}) {
        const fs::path file = files_ / "bad.cwformat";
        test::WriteFile(file, bytes);
        const auto before = Contents(target_.Path());
        std::string reason;
        try {
            ImportFormat(target_.Path(), file, FileSystem::Default(), limits);
        } catch (const FormatArchiveError& error) {
            reason = error.what();
        }
        EXPECT_EQ(Contents(target_.Path()), before) << "after: " << reason;
        EXPECT_FALSE(reason.empty()) << "imported";
        return reason;
    }

    TempDir source_, target_, files_;
};

TEST_F(FormatArchiveTest, AFormatMadeFromAPdfArrivesWholeInAnotherRootWithoutItsCards) {
    test::WriteFile(source_ / "FED" / "mine.fed", "a card of the user's");
    const FormatRecordLines record = ImportFormat(target_.Path(), Exported("fed"));
    EXPECT_EQ(record.code, "FED");
    EXPECT_EQ(record.name, "Federation card");

    const FormatCatalogue catalogue = ReadCatalogue(target_.Path());
    const std::optional<int> slot = SlotOf(catalogue, "FED");
    ASSERT_TRUE(slot);
    EXPECT_TRUE(SlotOf(catalogue, "CLUB")) << "the format before it is kept";
    EXPECT_EQ(catalogue.Column(*slot, ColDisplayName), "Federation card");
    EXPECT_EQ(catalogue.Column(*slot, ColExtension), ".fed");
    EXPECT_TRUE(catalogue.HasBackPage(*slot));
    EXPECT_EQ(catalogue.Number(*slot, ColPrintWidth), 210);

    // Layouts, blank card, form bindings and picture, byte for byte; no card.
    for (const std::string& name : std::vector<std::string>{
             "data/fed1.dat", "data/fed2.dat", "data/fed3.dat", "data/fed4.dat", "data/fed.pdf",
             "data/fed.form", "bmps/" + catalogue.Column(*slot, ColPicture)})
        EXPECT_EQ(test::ReadFile(target_ / name), test::ReadFile(source_ / name)) << name;
    EXPECT_TRUE(fs::is_directory(target_ / "FED"));
    EXPECT_TRUE(fs::is_empty(target_ / "FED"));

    // A card is made from the templates the catalogue names.
    for (int column : {ColFrontTemplate, ColBackTemplate}) {
        CardPage page;
        CardFile::ParsePage(
            page, test::ReadFile(target_.Path().string() + catalogue.Column(*slot, column)), false);
        EXPECT_GT(page.Count(TextField) + page.Count(CheckBox), 0) << column;
    }
}

TEST_F(FormatArchiveTest, AFormatOfTheShippedKindKeepsEveryLineOfItsRecord) {
    ImportFormat(target_.Path(), Exported("TEST"));
    EXPECT_EQ(RecordOfFormat(target_.Path(), "TEST"), RecordOfFormat(source_.Path(), "TEST"));
    for (int page = 1; page <= 4; ++page) {
        const std::string name = "data/test" + std::to_string(page) + ".dat";
        EXPECT_EQ(test::ReadFile(target_ / name), test::ReadFile(source_ / name)) << name;
    }
    const FormatCatalogue catalogue = ReadCatalogue(target_.Path());
    ASSERT_TRUE(SlotOf(catalogue, "TEST"));
    EXPECT_EQ(catalogue.Number(*SlotOf(catalogue, "TEST"), ColViewScale), 1.6);
    // FED's files share no name with TEST's: none of them travelled along.
    EXPECT_FALSE(fs::exists(target_ / "data" / "fed1.dat"));
}

TEST_F(FormatArchiveTest, ExportRefusesAnUnknownFormatAndLeavesNoHalfFile) {
    EXPECT_THROW(ExportFormat(source_.Path(), "NONE", files_ / "none.cwformat"),
                 FormatArchiveError);
    EXPECT_THROW(ExportFormat(source_.Path(), "FED", files_ / "missing" / "fed.cwformat"),
                 FormatArchiveError);
    fs::remove(source_ / "data" / "fed.pdf");
    try {
        ExportFormat(source_.Path(), "FED", files_ / "fed.cwformat");
        ADD_FAILURE() << "exported without the blank card";
    } catch (const FormatArchiveError& error) {
        EXPECT_NE(std::string(error.what()).find("fed.pdf"), std::string::npos) << error.what();
    }
    EXPECT_TRUE(fs::is_empty(files_.Path()));
}

TEST_F(FormatArchiveTest, HostilePathsAndEntriesAreRefused) {
    auto with = [&](ZipEntry extra) {
        std::vector<ZipEntry> entries = FedEntries();
        entries.push_back(std::move(extra));
        return Zip(entries);
    };
    EXPECT_NE(Refusal(with({"../evil.dat", "x", ""})).find("leads out"), std::string::npos);
    EXPECT_NE(Refusal(with({"data/../../evil.dat", "x", ""})).find("leads out"), std::string::npos);
    EXPECT_NE(Refusal(with({"/tmp/evil.dat", "x", ""})).find("outside the data root"),
              std::string::npos);
    EXPECT_NE(Refusal(with({"FED/card.fed", "x", ""})).find("outside its data and bmps"),
              std::string::npos);
    EXPECT_NE(Refusal(with({"data/sub/fed9.dat", "x", ""})).find("outside its data and bmps"),
              std::string::npos);
    EXPECT_NE(Refusal(with({"data/fed9.dat", "", "/etc/passwd"})).find("not a plain file"),
              std::string::npos);
    EXPECT_NE(Refusal(with({"data/club1.dat", "x", ""})).find("not one of its layout files"),
              std::string::npos);
    EXPECT_NE(Refusal(with({"bmps/other.png", "x", ""})).find("not its picture"),
              std::string::npos);
    EXPECT_NE(Refusal(with({"data/FED1.DAT", "x", ""})).find("twice"), std::string::npos);
}

TEST_F(FormatArchiveTest, FilesOverTheLimitsAreRefused) {
    const std::string good = Zip(FedEntries());
    FormatArchiveLimits small;
    small.entryBytes = 4096; // below the blank card's PDF
    EXPECT_NE(Refusal(good, small).find("'data/fed.pdf', larger than"), std::string::npos);
    FormatArchiveLimits smallTotal;
    smallTotal.totalBytes = 12000; // each file fits, all of them do not
    EXPECT_NE(Refusal(good, smallTotal).find("more than"), std::string::npos);
    FormatArchiveLimits few;
    few.entries = 3;
    EXPECT_NE(Refusal(good, few).find("more than 3 files"), std::string::npos);
}

TEST_F(FormatArchiveTest, DamagedFilesAndBadRecordsAreRefused) {
    const std::string good = Zip(FedEntries());
    EXPECT_NE(Refusal("w02 FED\r\nnot a zip file\r\n").find("not a card format file"),
              std::string::npos);
    EXPECT_NE(Refusal(good.substr(0, good.size() / 2)).find("not a card format file"),
              std::string::npos);
    std::string flipped = good;
    // A byte inside the blank card's compressed data: its check sum no longer matches.
    flipped[flipped.find("data/fed.pdf") + 400] ^= 0x55;
    EXPECT_FALSE(Refusal(flipped).empty());

    std::vector<ZipEntry> entries = FedEntries();
    auto withManifest = [&](const std::string& manifest) {
        std::vector<ZipEntry> changed = entries;
        changed.front().bytes = manifest;
        return Zip(changed);
    };
    EXPECT_NE(Refusal(Zip({entries.begin() + 1, entries.end()})).find("lacks its settings"),
              std::string::npos);
    EXPECT_NE(Refusal(withManifest("w02 FED\r\nw03 fed\r\nw04 fed\r\nw05 Fed\r\n")).find("damaged"),
              std::string::npos);
    EXPECT_NE(Refusal(withManifest("w02 FED\r\nw03 fed\r\nw04 fed\r\nw05 Fed\r\nw99 end\r\n"
                                   "w02 ACBL\r\nw98 end\r\n"))
                  .find("damaged"),
              std::string::npos);
    EXPECT_NE(Refusal(withManifest("w02 F/D\r\nw03 fed\r\nw04 fed\r\nw05 Fed\r\nw98 end\r\n"))
                  .find("unusable code"),
              std::string::npos);
    EXPECT_NE(Refusal(withManifest("w02 FED\r\nw03 fed\r\nw04 fed\r\nw05 Fed\r\nw17 ../fed.png\r\n"
                                   "w98 end\r\n"))
                  .find("unusable picture"),
              std::string::npos);
    // A base layer that would draw a file from elsewhere on the disk.
    std::string layer = test::ReadFile(source_ / "data" / "fed2.dat");
    layer.replace(layer.find("\"fed.pdf\""), 9, "\"../../secret.pdf\"");
    std::vector<ZipEntry> drawing = entries;
    drawing.push_back({"data/fed9.dat", layer, ""});
    EXPECT_NE(Refusal(Zip(drawing)).find("draws '../../secret.pdf'"), std::string::npos);
    EXPECT_NE(Refusal(withManifest("w02 FED\r\nw03 other\r\nw04 fed\r\nw05 Fed\r\nw98 end\r\n"))
                  .find("lacks its layout data/other1.dat"),
              std::string::npos);
}

TEST_F(FormatArchiveTest, ACodeExtensionOrFileInUseIsRefused) {
    const std::string bytes = test::ReadFile(Exported("FED"));
    std::vector<ZipEntry> entries = FedEntries();
    entries.front().bytes.replace(entries.front().bytes.find("w04 fed"), 7, "w04 CLB");
    EXPECT_NE(Refusal(Zip(entries)).find("extension .CLB"), std::string::npos);

    test::WriteFile(target_ / "data" / "fed3.dat", "another format's layout");
    EXPECT_NE(Refusal(bytes).find("exists already"), std::string::npos);
    fs::remove(target_ / "data" / "fed3.dat");

    ImportFormat(target_.Path(), files_ / "FED.cwformat");
    EXPECT_NE(Refusal(bytes).find("code FED is in use"), std::string::npos);
}

TEST(FormatRecordLinesTest, ARecordReadBackWritesTheSameLines) {
    FormatRecordLines made;
    made.code = "FED";
    made.base = "fed";
    made.extension = "fd";
    made.name = "Federation";
    made.backPage = false;
    made.picture = "fed.png";
    made.printWidth = 148;
    made.printHeight = 210;
    const std::optional<FormatRecordLines> read = FormatRecordLines::Parse(made.Lines());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->code, "FED");
    EXPECT_EQ(read->extension, "fd");
    EXPECT_FALSE(read->backPage);
    EXPECT_EQ(read->picture, "fed.png");
    EXPECT_EQ(read->Lines(), made.Lines());
    EXPECT_FALSE(FormatRecordLines::Parse({"w02 FED", "w03 fed", "w04 fd", "w98 end"}))
        << "a record without a name";
    EXPECT_FALSE(FormatRecordLines::Parse({"w02 FED", "w03 fed", "x04 fd", "w05 F", "w98 end"}));
}

} // namespace
} // namespace cw
