#include "FormatMaker.h"

#include "BaseLayerFile.h"
#include "BlankCardPdf.h"
#include "BlankPageDrawer.h"
#include "BlankPageRecord.h"
#include "CardFile.h"
#include "FieldRecords.h"
#include "FilledForm.h"
#include "FontBook.h"
#include "FormFieldMap.h"
#include "FormatCatalogue.h"
#include "FormatTestData.h"
#include "FormatTraits.h"
#include "PainterSurface.h"
#include "SystemSettings.h"
#include "TestFiles.h"
#include "TextCodec.h"

#include <QImage>
#include <cstdlib>
#include <gtest/gtest.h>
#include <poppler-qt6.h>

namespace cw {
namespace {

using test::Contents;
using test::ReadCatalogue;
using test::SlotOf;
using test::TempDir;

// A data root with the one test format (code TEST, extension tst) and the blank cards of
// make_blank_cards.py beside it.
class FormatMakerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(test::BlankCards()) << "make_blank_cards.py failed (python3-reportlab)";
        test::MakeDataRoot(root_.Path(), {test::FormatSpec{}});
    }

    static fs::path Card(const std::string& name) { return test::BlankCard(name); }

    NewFormatRequest Request(std::vector<fs::path> sources, const std::string& code) const {
        NewFormatRequest request;
        request.root = root_.Path();
        request.sources = std::move(sources);
        request.code = code;
        request.name = "Federation card " + code;
        return request;
    }

    // The reason the format is refused, with the data root checked to be as it was.
    std::string Refusal(const NewFormatRequest& request,
                        FileSystem& files = FileSystem::Default()) {
        const auto before = Contents(root_.Path());
        std::string reason;
        try {
            FormatMaker(request).Write(files);
        } catch (const FormatMakerError& error) {
            reason = error.what();
        }
        EXPECT_EQ(Contents(root_.Path()), before) << "after: " << reason;
        return reason;
    }

    TempDir root_;
};

TEST_F(FormatMakerTest, AFillableFormBecomesAFormatWithItsFieldsAtTheWidgets) {
    const FormatMaker maker(Request({Card("form.pdf")}, "FORMA"));
    maker.Write();

    const FormatCatalogue catalogue = ReadCatalogue(root_.Path());
    const std::optional<int> slot = SlotOf(catalogue, "FORMA");
    ASSERT_TRUE(slot);
    EXPECT_EQ(catalogue.Column(*slot, ColDisplayName), "Federation card FORMA");
    EXPECT_EQ(catalogue.Column(*slot, ColExtension), ".for");
    EXPECT_FALSE(catalogue.HasBackPage(*slot));
    EXPECT_TRUE(SlotOf(catalogue, "TEST")) << "the format before it is kept";
    EXPECT_TRUE(fs::is_directory(root_ / "FORMA"));
    EXPECT_TRUE(fs::exists(root_ / "bmps" / catalogue.Column(*slot, ColPicture)));

    // The template's fields stand at the widgets' places: the one-line text field is centred
    // in its widget's height, the check box in its widget.
    const std::vector<FormWidget> widgets = BlankCardPdf(Card("form.pdf")).Widgets(0);
    CardPage layout;
    CardFile::ParsePage(layout, test::ReadFile(root_ / "data" / "forma1.dat"), false);
    ASSERT_EQ(layout.Count(TextField), 3); // names, notes, leads
    ASSERT_EQ(layout.Count(CheckBox), 3);  // stayman and the two radio buttons
    const CardField& names = layout.Field(TextField, 0);
    EXPECT_NEAR(names.a[0], widgets[0].rect.left, 1);
    EXPECT_NEAR(names.a[1], widgets[0].rect.top + (widgets[0].rect.height - 240) / 2, 1);
    // A check box's record holds its inside, a pixel within the marker's edge.
    const CardField& weak = layout.Field(CheckBox, 2);
    EXPECT_NEAR(weak.a[0], widgets[4].rect.left + 15, 1);
    EXPECT_NEAR(weak.a[1], widgets[4].rect.top + 15, 1);

    // The bindings name the widgets, the radio buttons told apart by their on values.
    const auto bindings = FormFieldMap::Read(root_ / "data" / "forma.form");
    ASSERT_EQ(bindings.size(), 6u);
    EXPECT_EQ(bindings[0], (FormFieldBinding{false, TextField, 0, "names", ""}));
    EXPECT_EQ(bindings[3].widgetName, "strength");
    EXPECT_EQ(bindings[4].widgetName, "strength");
    EXPECT_EQ(bindings[3].kind, CheckBox);
    EXPECT_EQ(bindings[4].index, 2);
    EXPECT_EQ(bindings[3].onValue, "strong");
    EXPECT_EQ(bindings[4].onValue, "weak");

    // The base layer holds the page of the copied PDF at the page's size.
    const BaseLayerFile base = BaseLayerFile::Read(root_ / "data" / "forma2.dat");
    ASSERT_EQ(base.records.size(), 1u);
    EXPECT_EQ(base.records[0].kind, BlankPageKind);
    EXPECT_EQ(base.records[0].text, "forma.pdf");
    EXPECT_NEAR(base.records[0].a[2], 595.276 * 20, 1);
    EXPECT_NEAR(base.records[0].a[3], 841.89 * 20, 1);
    EXPECT_EQ(base.records[0].a[4], 0);
    EXPECT_FALSE(base.problem);
    // The format keeps the federation's own file, with the values the form was saved with
    // emptied so that the blank page shows none: its choice "4th" is cleared, and its radio
    // button "strong", which its group keeps on, is hidden.
    const std::string kept = test::ReadFile(root_ / "data" / "forma.pdf");
    const std::string source = test::ReadFile(Card("form.pdf"));
    EXPECT_EQ(kept.substr(0, source.size()), source);
    CardPage values;
    CardFile::ParsePage(values, test::ReadFile(root_ / "data" / "forma1.dat"), false);
    values.Field(TextField, 2).text = "x";
    MutableCheckBoxRecord(values.Field(CheckBox, 1).a).tickState() = 1;
    const FormatForm form = *FormatForm::Of(root_.Path(), catalogue, *slot);
    ReadFilledForm(form.pdf, form, values, nullptr, TextCodec::Western());
    EXPECT_EQ(values.Field(TextField, 2).text, "");
    // The centre of "strong" (at 406, 706 points from the bottom left): its dot in the source,
    // nothing in the copy.
    auto centre = [](const fs::path& file) {
        auto document = Poppler::Document::load(QString::fromStdString(file.string()));
        const QImage page = document->page(0)->renderToImage(72, 72);
        return QColor(page.pixel(406, page.height() - 706)).value();
    };
    EXPECT_LT(centre(Card("form.pdf")), 128);
    EXPECT_EQ(centre(form.pdf), 255);
}

TEST_F(FormatMakerTest, ChosenPagesOfATwoSidedFormMakeFrontAndBack) {
    NewFormatRequest request = Request({Card("two-sided.pdf")}, "BACKS");
    request.pages = {1, 0};
    request.extension = "bk";
    const FormatMaker maker(request);
    maker.Write();
    const FormatCatalogue catalogue = ReadCatalogue(root_.Path());
    const std::optional<int> slot = SlotOf(catalogue, "BACKS");
    ASSERT_TRUE(slot);
    EXPECT_TRUE(catalogue.HasBackPage(*slot));
    EXPECT_EQ(BaseLayerFile::Read(root_ / "data" / "backs2.dat").records.at(0).a[4], 1);
    EXPECT_EQ(BaseLayerFile::Read(root_ / "data" / "backs4.dat").records.at(0).a[4], 0);
    // The front is the PDF's second page, with its tick box; the back page's fields are
    // bound to page 3.
    CardPage front;
    CardFile::ParsePage(front, test::ReadFile(root_ / "data" / "backs1.dat"), false);
    EXPECT_EQ(front.Count(CheckBox), 1);
    const auto bindings = FormFieldMap::Read(root_ / "data" / "backs.form");
    ASSERT_EQ(bindings.size(), 7u);
    EXPECT_FALSE(bindings.front().backPage);
    EXPECT_EQ(bindings.front().widgetName, "p2.f0");
    EXPECT_TRUE(bindings.back().backPage);
    EXPECT_EQ(bindings.back().widgetName, "p1.f2");
}

TEST_F(FormatMakerTest, PicturesMakeAFormatAtTheirResolution) {
    fs::copy_file(Card("bare.png"), root_ / "back.png");
    const FormatMaker maker(Request({Card("bare.png"), root_ / "back.png"}, "SCAN"));
    maker.Write();
    EXPECT_TRUE(fs::exists(root_ / "data" / "scanf.png"));
    EXPECT_TRUE(fs::exists(root_ / "data" / "scanb.png"));
    EXPECT_FALSE(fs::exists(root_ / "data" / "scan.form")) << "a picture has no form";
    const BaseLayerFile back = BaseLayerFile::Read(root_ / "data" / "scan4.dat");
    ASSERT_EQ(back.records.size(), 1u);
    EXPECT_EQ(back.records[0].text, "scanb.png");
    // 600 x 900 pixels without a resolution are a scan at 300 dpi: 2 x 3 inches.
    EXPECT_EQ(back.records[0].a[2], 2 * 1440);
    EXPECT_EQ(back.records[0].a[3], 3 * 1440);
    const FormatCatalogue catalogue = ReadCatalogue(root_.Path());
    ASSERT_TRUE(SlotOf(catalogue, "SCAN"));
    EXPECT_TRUE(catalogue.HasBackPage(*SlotOf(catalogue, "SCAN")));
}

TEST_F(FormatMakerTest, AnA5CardUnderAKnownCodeTakesThatCodesRules) {
    const FormatMaker maker(Request({Card("plain-a5.pdf")}, "NORWAY"));
    maker.Write();
    const FormatCatalogue catalogue = ReadCatalogue(root_.Path());
    const std::optional<int> slot = SlotOf(catalogue, "NORWAY");
    ASSERT_TRUE(slot);
    EXPECT_EQ(catalogue.Codes.FmtNORWAY, *slot);
    EXPECT_EQ(FormatTraits::Of(catalogue.Codes, int16_t(*slot)).paperTurn, PaperTurn::SidewaysOnA5);
    EXPECT_TRUE(catalogue.HasBackPage(*slot));
    EXPECT_EQ(catalogue.Number(*slot, ColPrintWidth), 148); // millimetres
    EXPECT_EQ(catalogue.Number(*slot, ColPrintHeight), 210);
    EXPECT_EQ(catalogue.Column(*slot, ColExtension), ".nor");
}

// A file system whose renames over the settings file fail, as on a disk that broke down
// while the format was written.
class SettingsRenameRefused : public FileSystem {
public:
    void RenameOver(const fs::path& from, const fs::path& to) override {
        if (to.filename() == "cwr.sys")
            throw FileError(75, "Path/File access error", "Input/output error");
        FileSystem::RenameOver(from, to);
    }
    int Rename(const fs::path& from, const fs::path& to) override {
        if (to.filename() == "cwr.sys") {
            errno = EIO;
            return -1;
        }
        return FileSystem::Rename(from, to);
    }
};

TEST_F(FormatMakerTest, BadInputIsRefusedWithOneMessageAndNothingMade) {
    auto withExtension = [&](NewFormatRequest request, const std::string& extension) {
        request.extension = extension;
        return request;
    };
    auto withPages = [&](NewFormatRequest request, std::vector<int> pages) {
        request.pages = std::move(pages);
        return request;
    };
    EXPECT_NE(Refusal(Request({Card("form.pdf")}, "NO-WAY")).find("not usable"), std::string::npos);
    EXPECT_NE(Refusal(Request({Card("form.pdf")}, "test")).find("in use"), std::string::npos);
    EXPECT_NE(
        Refusal(withExtension(Request({Card("form.pdf")}, "OTHER"), "TST")).find("another format"),
        std::string::npos);
    EXPECT_NE(
        Refusal(withExtension(Request({Card("form.pdf")}, "OTHER"), "a/b")).find("not usable"),
        std::string::npos);
    EXPECT_NE(Refusal(Request({Card("locked.pdf")}, "LOCKED")).find("locked.pdf"),
              std::string::npos);
    EXPECT_FALSE(Refusal(Request({Card("wide.pdf")}, "WIDE")).empty());
    EXPECT_FALSE(Refusal(Request({Card("crowded.pdf")}, "CROWD")).empty());
    EXPECT_NE(Refusal(Request({Card("missing.pdf")}, "GONE")).find("no file"), std::string::npos);
    EXPECT_NE(Refusal(withPages(Request({Card("form.pdf")}, "PAGES"), {0, 3})).find("no page 4"),
              std::string::npos);
    EXPECT_FALSE(Refusal(Request({Card("form.pdf"), Card("bare.png")}, "MIXED")).empty());
    test::WriteFile(root_ / "not-a-picture.png", "text");
    EXPECT_FALSE(Refusal(Request({root_ / "not-a-picture.png"}, "NOPIC")).empty());
    fs::remove(root_ / "not-a-picture.png");
    NewFormatRequest unnamed = Request({Card("form.pdf")}, "NONAME");
    unnamed.name.clear();
    EXPECT_FALSE(Refusal(unnamed).empty());

    // A failure while the settings file is replaced takes back every file already in place.
    SettingsRenameRefused brokenDisk;
    EXPECT_NE(Refusal(Request({Card("two-sided.pdf")}, "BROKEN"), brokenDisk).find("not made"),
              std::string::npos);
    EXPECT_FALSE(SlotOf(ReadCatalogue(root_.Path()), "BROKEN"));
}

TEST(FormFieldMapTest, BindingsSurviveTheirFileAndBrokenLinesAreRefused) {
    const std::vector<FormFieldBinding> bindings = {
        {false, 2, 0, QString::fromUtf8("Partnership \xc3\xa6"), ""},
        {true, 3, 4, "strength", "weak"}};
    EXPECT_EQ(FormFieldMap::Parse(FormFieldMap::Compose(bindings)), bindings);
    EXPECT_THROW(FormFieldMap::Parse("2\t2\t0\tname\t\n"), RuntimeError); // page 2 is a layer
    EXPECT_THROW(FormFieldMap::Parse("1\t2\tname\n"), RuntimeError);
}

TEST(BaseLayerFileTest, ABlankPageRecordIsKeptBesideTheKindsEveryReaderKnows) {
    std::string bytes = "layout\r\n";
    for (int line = 1; line <= 30; ++line)
        bytes += "0\r\n";
    bytes += "30,0,0,11906,16838,1,\"card.pdf\",0\r\n2,100,100,2000,240,1,\"\",9\r\n";
    const BaseLayerFile layer = BaseLayerFile::Parse(bytes);
    ASSERT_EQ(layer.records.size(), 2u);
    EXPECT_EQ(layer.records[0].kind, BlankPageKind);
    EXPECT_EQ(layer.records[0].text, "card.pdf");
    EXPECT_EQ(layer.records[0].a[4], 1);
    EXPECT_EQ(layer.records[1].kind, 2);
    EXPECT_FALSE(layer.problem);
}

TEST_F(FormatMakerTest, TheScreenShowsThePdfsInkAndAWarmRedrawRendersNothingAgain) {
    FormatMaker(Request({Card("two-sided.pdf")}, "INK")).Write();
    const BaseLayerFile layer = BaseLayerFile::Read(root_ / "data" / "ink2.dat");
    ASSERT_EQ(layer.records.size(), 1u);

    const double zoom = 2;
    const DeviceMapping mapping = DeviceMapping::Screen(zoom, 15);
    QImage picture(int(layer.records[0].a[2] * mapping.pixelsPerTwipX) + 1,
                   int(layer.records[0].a[3] * mapping.pixelsPerTwipY) + 1, QImage::Format_RGB32);
    picture.fill(Qt::white);
    FontBook fonts;
    BlankPageDrawer drawer;
    {
        PainterSurface surface(picture, mapping, fonts);
        drawer.Draw(surface, layer.records[0], 0, root_ / "data");
        drawer.Draw(surface, layer.records[0], 0, root_ / "data");
        surface.Finish();
    }
    EXPECT_EQ(drawer.PagesRendered(), 1);
    // The black band across the top of the page, the white below it.
    const int band = int(picture.height() * 30.0 / 842);
    EXPECT_EQ(QColor(picture.pixel(picture.width() / 2, band)).value(), 0);
    EXPECT_EQ(QColor(picture.pixel(picture.width() / 2, picture.height() / 2)).value(), 255);
}

TEST_F(FormatMakerTest, ACardFilledIntoTheFederationsFormIsReadBackIntoANewCard) {
    FormatMaker(Request({Card("form.pdf")}, "FORMA")).Write();
    const FormatCatalogue catalogue = ReadCatalogue(root_.Path());
    const std::optional<FormatForm> form =
        FormatForm::Of(root_.Path(), catalogue, *SlotOf(catalogue, "FORMA"));
    ASSERT_TRUE(form);
    EXPECT_FALSE(FormatForm::Of(root_.Path(), catalogue, *SlotOf(catalogue, "TEST")))
        << "a format of layouts alone has no form";

    const std::string blank = test::ReadFile(root_ / "data" / "forma1.dat");
    CardPage card;
    CardFile::ParsePage(card, blank, false);
    // names, notes, leads; stayman, strength "strong", strength "weak".
    card.Field(TextField, 0).text = "#<Arial>#Ann & Bj\xf8rn 1<s>";
    card.Field(TextField, 1).text = "one\r\ntwo";
    card.Field(TextField, 2).text = "3rd/5th";
    MutableCheckBoxRecord(card.Field(CheckBox, 0).a).tickState() = 1;
    MutableCheckBoxRecord(card.Field(CheckBox, 2).a).tickState() = 1;
    const TextCodec& codec = TextCodec::Western();
    FormTransfer written;
    const std::string filled = FillForm(*form, card, nullptr, codec, written);
    EXPECT_EQ(written.fieldsSet, 6);
    EXPECT_TRUE(written.notTransferred.empty());
    const fs::path filledFile = root_ / "filled.pdf";
    test::WriteFile(filledFile, filled);

    CardPage fresh;
    CardFile::ParsePage(fresh, blank, false);
    const FormTransfer read = ReadFilledForm(filledFile, *form, fresh, nullptr, codec);
    EXPECT_EQ(read.fieldsSet, 6);
    // The font prefix belongs to the card, not to the form: the new card keeps its own.
    EXPECT_EQ(fresh.Field(TextField, 0).text, "Ann & Bj\xf8rn 1<s>");
    EXPECT_EQ(fresh.Field(TextField, 1).text, "one\r\ntwo");
    EXPECT_EQ(fresh.Field(TextField, 2).text, "3rd/5th");
    EXPECT_EQ(CheckBoxRecord(fresh.Field(CheckBox, 0).a).tickState(), 1);
    // The radio group: the form's own choice ("strong") gave way to the card's.
    EXPECT_EQ(CheckBoxRecord(fresh.Field(CheckBox, 1).a).tickState(), 0);
    EXPECT_EQ(CheckBoxRecord(fresh.Field(CheckBox, 2).a).tickState(), 1);

    // A value the choice list does not offer is named, not written.
    card.Field(TextField, 2).text = "2nd";
    FormTransfer refused;
    FillForm(*form, card, nullptr, codec, refused);
    ASSERT_EQ(refused.notTransferred.size(), 1u);
    EXPECT_NE(refused.notTransferred[0].find("leads"), std::string::npos);

    // Files that are no filled copy of the form are refused.
    for (const char* other : {"plain-a5.pdf", "locked.pdf", "bare.png"})
        EXPECT_THROW(ReadFilledForm(Card(other), *form, fresh, nullptr, codec), FilledFormError)
            << other;
}

TEST_F(FormatMakerTest, AFormTooDamagedToBeEmptiedIsRefusedWithoutHarm) {
    // Found by fuzzing: Poppler reads this form whole again and crashes when it writes the
    // form's fields, which must cost a message, not the program.
    const fs::path damaged = CW_FORMATS_TEST_DIR "/../fuzz/corpus/blankpdf/damaged-form.pdf";
    EXPECT_NE(Refusal(Request({damaged}, "DAMAGED")).find("damaged"), std::string::npos);
}

TEST(FormTexts, SuitsLinesAndQuotesCrossBetweenCardAndForm) {
    const TextCodec& codec = TextCodec::Western();
    EXPECT_EQ(FormTextOfCardText("#<Arial>#1<h> or 2<c>\r\nnext", codec),
              QString::fromUtf8("1♥ or 2♣\nnext"));
    EXPECT_EQ(CardTextOfFormText(QString::fromUtf8("1♠ \"x\"\rb\r\nc"), codec),
              "1<s> ''x''\r\nb\r\nc");
}

} // namespace
} // namespace cw
