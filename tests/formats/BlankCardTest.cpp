#include "BlankCardPdf.h"
#include "BlankCardPicture.h"
#include "FormFields.h"
#include "FormatDefaults.h"
#include "FormatTestData.h"
#include "TestFiles.h"

#include <QImage>
#include <cstdlib>
#include <gtest/gtest.h>

namespace cw {
namespace {

using test::TempDir;
using test::WriteFile;

constexpr double kA4WidthTwips = 595.276 * 20, kA4HeightTwips = 841.89 * 20;

// The blank cards of make_blank_cards.py, made once for all tests.
class BlankCardTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(test::BlankCards()) << "make_blank_cards.py failed (python3-reportlab)";
    }

    static fs::path Card(const std::string& name) { return test::BlankCard(name); }

    // The reason a file is refused, or "" when it is taken.
    static std::string Refusal(const fs::path& file) {
        try {
            BlankCardPdf pdf(file);
            for (int page = 0; page < pdf.PageCount(); ++page)
                pdf.Widgets(page);
        } catch (const BlankCardError& error) {
            return error.what();
        }
        return {};
    }
};

TEST_F(BlankCardTest, AFormsWidgetsComeWithTheirPlaceKindAndTextStyle) {
    BlankCardPdf pdf(Card("form.pdf"));
    ASSERT_EQ(pdf.PageCount(), 1);
    EXPECT_TRUE(pdf.HasForm());
    EXPECT_NEAR(pdf.PageSizeTwips(0).width(), kA4WidthTwips, 1);
    EXPECT_NEAR(pdf.PageSizeTwips(0).height(), kA4HeightTwips, 1);

    std::vector<FormWidget> widgets = pdf.Widgets(0);
    // The push button-free form: two text fields, a check box, two radio buttons, a choice.
    ASSERT_EQ(widgets.size(), 6u);
    const FormWidget& names = widgets[0];
    EXPECT_EQ(names.kind, FormWidget::Kind::Text);
    EXPECT_EQ(names.name, "names");
    // x 72 pt, 760 pt up from the bottom, 300 x 20 pt: from the top left, in twips.
    EXPECT_NEAR(names.rect.left, 72 * 20, 2);
    EXPECT_NEAR(names.rect.top, kA4HeightTwips - (760 + 20) * 20, 2);
    EXPECT_NEAR(names.rect.width, 300 * 20, 2);
    EXPECT_NEAR(names.rect.height, 20 * 20, 2);
    EXPECT_FALSE(names.multiLine);
    EXPECT_DOUBLE_EQ(names.fontSize, 9);

    const FormWidget& notes = widgets[1];
    EXPECT_TRUE(notes.multiLine);
    EXPECT_EQ(notes.alignment, 1); // right

    EXPECT_EQ(widgets[2].kind, FormWidget::Kind::CheckBox);
    EXPECT_EQ(widgets[3].kind, FormWidget::Kind::RadioButton);
    EXPECT_EQ(widgets[4].kind, FormWidget::Kind::RadioButton);
    EXPECT_EQ(widgets[3].name, widgets[4].name);
    EXPECT_EQ(widgets[5].kind, FormWidget::Kind::Choice);
    EXPECT_EQ(widgets[5].choices, (QStringList{"4th", "3rd/5th"}));

    BlankCardPdf plain(Card("plain-a5.pdf"));
    EXPECT_EQ(plain.PageCount(), 2);
    EXPECT_FALSE(plain.HasForm());
    EXPECT_TRUE(plain.Widgets(1).empty());
    EXPECT_NEAR(plain.PageSizeTwips(1).height(), 210 / 25.4 * 1440, 2);
}

TEST_F(BlankCardTest, FilesThatCannotBeACardsPageAreRefusedWithTheReason) {
    TempDir dir;
    WriteFile(dir / "empty.pdf", "");
    WriteFile(dir / "garbage.pdf", std::string(20000, '\x93'));
    WriteFile(dir / "truncated.pdf", test::ReadFile(Card("form.pdf")).substr(0, 300));
    EXPECT_NE(Refusal(dir / "empty.pdf").find("is empty"), std::string::npos);
    EXPECT_NE(Refusal(dir / "garbage.pdf").find("cannot be read"), std::string::npos);
    EXPECT_NE(Refusal(dir / "truncated.pdf"), "");
    EXPECT_NE(Refusal(dir / "missing.pdf").find("cannot be found"), std::string::npos);
    EXPECT_NE(Refusal(Card("locked.pdf")).find("encrypted"), std::string::npos);
    EXPECT_NE(Refusal(Card("wide.pdf")).find("more than a metre"), std::string::npos);
    EXPECT_NE(Refusal(Card("crowded.pdf")).find("600 form fields"), std::string::npos);
    EXPECT_EQ(Refusal(Card("form.pdf")), "");
}

TEST_F(BlankCardTest, WidgetsBecomeFieldsInTheirBoxesAndAFullPageRefusesThemAll) {
    FormatDefaults basics;
    basics.BasicFont = "Arial";
    basics.BasicFontSize = 12;
    std::vector<FormFieldRecord> records =
        FieldsForWidgets(BlankCardPdf(Card("form.pdf")).Widgets(0), basics, 15);
    ASSERT_EQ(records.size(), 6u);

    // The one-line field: one line high, centred in its 20 pt widget, in the form's 9 pt.
    const CardField& names = records[0].field;
    EXPECT_EQ(records[0].kind, TextField);
    EXPECT_EQ(records[0].widgetName, "names");
    EXPECT_EQ(names.a[3], 240);
    EXPECT_NEAR(names.a[1] + names.a[3] / 2.0, kA4HeightTwips - 770 * 20, 2);
    EXPECT_EQ((names.a[5] & ~0xFF) / 256 & 0xFF, 9);
    EXPECT_EQ(names.a[4], 1); // the user-input colour

    // The multi-line field keeps the widget's height and the card's font size.
    const CardField& notes = records[1].field;
    EXPECT_NEAR(notes.a[3], 100 * 20, 2);
    EXPECT_EQ(notes.a[5] & 7, 1 + 3); // right, multi-line

    // Boxes: square, inside their widget.
    for (size_t i = 2; i <= 4; ++i) {
        EXPECT_EQ(records[i].kind, CheckBox);
        EXPECT_GT(records[i].field.a[5], 0);
        EXPECT_LE(records[i].field.a[5], 12 * 20);
    }
    EXPECT_EQ(records[5].kind, TextField); // the choice list

    CardPage page;
    AddFormFields(page, records);
    EXPECT_EQ(page.Count(TextField), 3);
    EXPECT_EQ(page.Count(CheckBox), 3);
    // A page already nearly full takes none of them.
    CardPage full;
    for (int i = 0; i < InfoOfKind(CheckBox).capacity - 1; ++i)
        full.Add(CheckBox, CardField{});
    EXPECT_THROW(AddFormFields(full, records), BlankCardError);
    EXPECT_EQ(full.Count(TextField), 0);
    EXPECT_EQ(full.Count(CheckBox), InfoOfKind(CheckBox).capacity - 1);
}

TEST_F(BlankCardTest, AScanMakesAPageOfItsSizeAtItsResolution) {
    TempDir dir;
    // An A5 page scanned at 200 dpi, and the same without a resolution.
    QImage scan(1165, 1654, QImage::Format_RGB32);
    scan.fill(Qt::white);
    scan.setDotsPerMeterX(qRound(200 / 0.0254));
    scan.setDotsPerMeterY(qRound(200 / 0.0254));
    ASSERT_TRUE(scan.save(QString::fromStdString((dir / "front.png").string())));
    ASSERT_TRUE(scan.save(QString::fromStdString((dir / "back.jpg").string()), "JPEG"));

    for (const char* name : {"front.png", "back.jpg"}) {
        BlankCardPicture picture(dir / name);
        EXPECT_NEAR(picture.DotsPerInch(), 200, 0.5) << name;
        EXPECT_NEAR(picture.PageSizeTwips().width(), 148 / 25.4 * 1440, 10) << name;
        EXPECT_NEAR(picture.PageSizeTwips().height(), 210 / 25.4 * 1440, 10) << name;
    }
    EXPECT_DOUBLE_EQ(BlankCardPicture(Card("bare.png")).DotsPerInch(),
                     BlankCardPicture::AssumedDotsPerInch);

    WriteFile(dir / "fake.png", "not a picture");
    EXPECT_THROW(BlankCardPicture(dir / "fake.png"), BlankCardError);
    EXPECT_THROW(BlankCardPicture(dir / "nowhere.png"), BlankCardError);
    // At 300 dpi, 12,000 pixels are a metre.
    QImage banner(12000, 10, QImage::Format_RGB32);
    banner.fill(Qt::white);
    ASSERT_TRUE(banner.save(QString::fromStdString((dir / "banner.png").string())));
    EXPECT_THROW(BlankCardPicture(dir / "banner.png"), BlankCardError);
}

} // namespace
} // namespace cw
