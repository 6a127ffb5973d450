#include "PrintJob.h"

#include "AppContext.h"
#include "CardPages.h"
#include "ErrorTrap.h"
#include "OverflowCheck.h"
#include "PdfPages.h"
#include "PrintOptionsModel.h"
#include "RenderTestData.h"
#include "ScriptedPrintQuestions.h"
#include "ScriptedPrompter.h"
#include "SessionFakes.h"
#include "TestFiles.h"

#include <QFontDatabase>
#include <QImage>
#include <QPrinter>
#include <gtest/gtest.h>

using namespace cw;
using namespace cw::test;

namespace {

// The ink of a page picture: the smallest rectangle that holds every pixel that is not
// near white.
QRect Ink(const QImage& page) {
    QRect ink;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 200)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

// The shipped formats and sample cards on a temporary data root.
class PrintJobTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::copy(CW_SOURCE_DATA, dir.Path(), fs::copy_options::recursive);
        QFontDatabase::addApplicationFont(QStringLiteral(CW_SOURCE_DATA "/fontsdir/Pip4.ttf"));
        ASSERT_TRUE(ctx.ReadSystemSettings());
        questions.pdf = dir / "job.pdf";
    }

    int16_t SlotOf(const std::string& code) const {
        for (int16_t slot = 0; slot < ctx.Format.Catalogue().FormatCount; ++slot)
            if (EqualsIgnoreCase(ctx.Format.Catalogue().Code(slot), code))
                return slot;
        ADD_FAILURE() << "no format " << code;
        return 0;
    }

    void OpenSample(int16_t slot) {
        ASSERT_TRUE(ctx.SetupCardFormat(slot, view));
        pages = std::make_unique<NamedCardPages>(ctx, "testcrd");
        ASSERT_TRUE(pages->Open());
    }

    int Print(PrintCardChoice choice) {
        PrintJob job(ctx, *pages, questions);
        return job.PrintCard(choice);
    }

    QImage Page(int page, int dpi = 72) {
        return QImage(
            QString::fromStdString(PdfPagePicture(questions.pdf, page, dpi, dir.Path()).string()));
    }

    TempDir dir;
    ScriptedPrompter prompter;
    TrapRecorder errors;
    ErrorTrap trap{prompter, errors};
    AppContext ctx{dir.Path(), prompter, trap};
    NoCardFormatView view;
    std::unique_ptr<NamedCardPages> pages;
    ScriptedPrintQuestions questions;
};

} // namespace

TEST_F(PrintJobTest, BothSidesPrintFrontThenBackAndLeaveTheBackOpen) {
    OpenSample(ctx.Format.Catalogue().Codes.FmtACBL);
    questions.choose = [](PrintOptionsModel& model) {
        EXPECT_TRUE(model.Choices().oneSheet); // as the card is printed
        model.Choices().oneSheet = false;
    };
    EXPECT_EQ(Print(PrintCardChoice::Mine), 2);
    ASSERT_EQ(PdfPageCount(questions.pdf), 2);
    const std::string front = PdfPageText(questions.pdf, 1);
    EXPECT_NE(front.find("John Smith - Mary Lee"), std::string::npos);
    // The suits are text a reader can search, copy and hear: "1♣", not a letter or digit.
    EXPECT_NE(front.find("1\u2663"), std::string::npos) << front;
    EXPECT_NE(front.find("\u2665"), std::string::npos);
    EXPECT_NE(PdfPageText(questions.pdf, 2).find("CONVENTION CARD"), std::string::npos);
    EXPECT_TRUE(ctx.Card.BackSide());
    EXPECT_EQ(ctx.Card.Location().CurrentCardName, "testcrd_");
    EXPECT_TRUE(errors.shown.empty());
    EXPECT_TRUE(prompter.MessageTexts().empty());

    // As the folded card: one Letter sheet turned sideways, the competition half (the back
    // page) on the left, the bidding half on the right.
    questions.choose = nullptr;
    EXPECT_EQ(Print(PrintCardChoice::Mine), 1);
    ASSERT_EQ(PdfPageCount(questions.pdf), 1);
    EXPECT_EQ(PdfPageSize(questions.pdf, 1), "792 x 612");
    const std::string left = PdfTextIn(questions.pdf, 1, 0, 0, 396, 612);
    const std::string right = PdfTextIn(questions.pdf, 1, 396, 0, 396, 612);
    EXPECT_NE(left.find("competition, leads and carding"), std::string::npos) << left;
    EXPECT_EQ(left.find("John Smith - Mary Lee"), std::string::npos);
    EXPECT_NE(right.find("John Smith - Mary Lee"), std::string::npos) << right;
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(PrintJobTest, OnePageFormatPrintsOnlyItsFront) {
    OpenSample(SlotOf("club"));
    questions.choose = [](PrintOptionsModel& model) {
        EXPECT_FALSE(model.HasBackPage());
        // Whatever the saved settings say, a one-page card has only its front.
        model.Choices().side = PrintSide::Both;
    };
    EXPECT_EQ(Print(PrintCardChoice::Mine), 1);
    EXPECT_EQ(PdfPageCount(questions.pdf), 1);
    EXPECT_FALSE(ctx.Card.BackSide());
}

TEST_F(PrintJobTest, BothCardsPrintTheUsersCardThenThePartnersWithTheNamesTurned) {
    OpenSample(ctx.Format.Catalogue().Codes.FmtACBL);
    questions.choose = [](PrintOptionsModel& model) {
        model.Choices().side = PrintSide::Front;
    };
    EXPECT_EQ(Print(PrintCardChoice::Both), 2);
    ASSERT_EQ(PdfPageCount(questions.pdf), 2);
    std::string mine = PdfPageText(questions.pdf, 1), partner = PdfPageText(questions.pdf, 2);
    EXPECT_NE(mine.find("K123456"), std::string::npos);
    EXPECT_EQ(mine.find("M654321"), std::string::npos);
    EXPECT_NE(partner.find("M654321"), std::string::npos);
    EXPECT_NE(partner.find("Mary Lee - John Smith"), std::string::npos);

    // Both sides of both cards: the partner gets his front page too, one sheet each.
    questions.choose = nullptr;
    EXPECT_EQ(Print(PrintCardChoice::Both), 2);
    ASSERT_EQ(PdfPageCount(questions.pdf), 2);
    EXPECT_NE(PdfPageText(questions.pdf, 1).find("K123456"), std::string::npos);
    EXPECT_NE(PdfPageText(questions.pdf, 2).find("M654321"), std::string::npos);
    EXPECT_NE(PdfPageText(questions.pdf, 2).find("competition, leads and carding"),
              std::string::npos);

    // The partner's card alone, from the back page that was left open.
    questions.choose = [](PrintOptionsModel& model) {
        model.Choices().side = PrintSide::Front;
    };
    EXPECT_EQ(Print(PrintCardChoice::Partner), 1);
    EXPECT_NE(PdfPageText(questions.pdf, 1).find("M654321"), std::string::npos);
}

TEST_F(PrintJobTest, DefaultSizePrintsTheCardAtItsSizeAndAnotherEntryScalesIt) {
    OpenSample(ctx.Format.Catalogue().Codes.FmtACBL);
    auto printWith = [&](int more) {
        questions.choose = [more](PrintOptionsModel& model) {
            PrintChoices& c = model.Choices();
            c.side = PrintSide::Front;
            c.boxes[BoxFrontMargin] = 0;
            c.boxes[BoxPrintWidth] = model.DefaultValue(BoxPrintWidth) + more;
            c.boxes[BoxPrintHeight] = model.DefaultValue(BoxPrintHeight) + more;
        };
        EXPECT_EQ(Print(PrintCardChoice::Mine), 1);
        return Ink(Page(1));
    };
    // At 72 dpi the card's 7920 x 12240 twips (half a Letter sheet) are 396 x 612 pixels,
    // centred on the Letter sheet it is printed on; its frames lie inside, the last one
    // ending above the foot the program leaves unprinted.
    QRect natural = printWith(0);
    EXPECT_EQ(PdfPageSize(questions.pdf, 1), "612 x 792");
    EXPECT_NEAR(natural.right(), 108 + 391, 3);
    EXPECT_NEAR(natural.bottom(), 90 + 595, 3);
    // A smaller entry shows the scaling.
    QRect smaller = printWith(-10);
    EXPECT_NEAR(double(smaller.width()) / natural.width(), 130.0 / 140.0, 0.01);
    EXPECT_NEAR(double(smaller.height()) / natural.height(), 206.0 / 216.0, 0.01);
}

TEST_F(PrintJobTest, CancelAndRefusalsPrintNothing) {
    OpenSample(ctx.Format.Catalogue().Codes.FmtACBL);
    questions.ok = false;
    EXPECT_EQ(Print(PrintCardChoice::Mine), 0);
    EXPECT_FALSE(fs::exists(questions.pdf));

    questions.ok = true;
    questions.printerAnswer = PrintQuestions::PrinterAnswer::Cancelled;
    EXPECT_EQ(Print(PrintCardChoice::Mine), 0);
    EXPECT_EQ(questions.optionsAsked, 1);
    EXPECT_TRUE(prompter.MessageTexts().empty());

    questions.printerAnswer = PrintQuestions::PrinterAnswer::Failed;
    questions.printerProblem = "no printer is installed";
    EXPECT_EQ(Print(PrintCardChoice::Mine), 0);
    EXPECT_EQ(prompter.MessageTexts(),
              std::vector<std::string>{"Printer selection error: no printer is installed"});
    EXPECT_FALSE(fs::exists(questions.pdf));
    EXPECT_FALSE(ctx.Card.BackSide());
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(PrintJobTest, TextCutOffIsSaidFirstAndPrintsOnlyWhenTheUserSaysSo) {
    OpenSample(ctx.Format.Catalogue().Codes.FmtACBL);
    // Text the sample's general approach could not hold even in the smallest letters.
    constexpr int kApproach = 2;
    ctx.Card.Edit().Field(TextField, kApproach).text = std::string(400, 'W');
    ASSERT_TRUE(ctx.SaveCard());
    auto questionsAsked = [this] {
        std::vector<std::string> texts;
        for (const auto& asked : prompter.Log())
            if (asked.kind == ScriptedPrompter::Asked::Kind::Choice)
                texts.push_back(asked.text);
        return texts;
    };

    prompter.QueueChoice(1); // Show Them
    PrintJob shown(ctx, *pages, questions);
    EXPECT_EQ(shown.PrintCard(PrintCardChoice::Mine), 0);
    EXPECT_TRUE(shown.CutOffTextAsked());
    EXPECT_EQ(questions.printerAsked, 0);
    ASSERT_EQ(questionsAsked().size(), 1u);
    EXPECT_EQ(questionsAsked()[0].rfind("One field has text too long", 0), 0u);

    prompter.QueueChoice(0); // Print Anyway
    PrintJob printed(ctx, *pages, questions);
    EXPECT_GT(printed.PrintCard(PrintCardChoice::Mine), 0);
    EXPECT_FALSE(printed.CutOffTextAsked());
    EXPECT_TRUE(fs::exists(questions.pdf));

    // Text that only needs smaller letters prints without a question.
    OpenSample(ctx.Format.Catalogue().Codes.FmtACBL);
    CardField& field = ctx.Card.Edit().Field(TextField, kApproach);
    OverflowCheck check(ctx.errorTrap);
    for (field.text = "Two over one"; field.text.size() < 200; field.text += " and more") {
        auto found = check.CheckPage(ctx.RequestForOpenPage(RenderTarget::Screen));
        if (!found.empty() && found[0].field == kApproach)
            break;
    }
    auto found = check.CheckPage(ctx.RequestForOpenPage(RenderTarget::Screen));
    ASSERT_FALSE(found.empty());
    ASSERT_EQ(found[0].reasons, Shrunk);
    ASSERT_TRUE(ctx.SaveCard());
    EXPECT_GT(Print(PrintCardChoice::Mine), 0);
    EXPECT_EQ(questionsAsked().size(), 2u);
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(PrintJobTest, BlackOnlyPrintsEveryInkBlackOrGrey) {
    // Pixels of a page picture whose colour is not a shade of grey.
    auto coloured = [](const QImage& page) {
        int count = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                const QColor c = page.pixelColor(x, y);
                if (std::max({c.red(), c.green(), c.blue()}) -
                        std::min({c.red(), c.green(), c.blue()}) >
                    24)
                    ++count;
            }
        return count;
    };
    for (const char* code : {"acbl", "wbfb", "club"}) {
        OpenSample(SlotOf(code));
        questions.choose = [](PrintOptionsModel& model) {
            model.Choices().blackOnly = false;
        };
        ASSERT_GT(Print(PrintCardChoice::Mine), 0) << code;
        EXPECT_GT(coloured(Page(1)), 100) << code << ": the card has colours";
        questions.choose = [](PrintOptionsModel& model) {
            model.Choices().blackOnly = true;
        };
        const int pages = Print(PrintCardChoice::Mine);
        ASSERT_GT(pages, 0) << code;
        for (int page = 1; page <= pages; ++page)
            EXPECT_EQ(coloured(Page(page)), 0) << code << " page " << page;
    }
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(PrintJobTest, NoOpenCardIsSaidAndNothingAsked) {
    OpenSample(ctx.Format.Catalogue().Codes.FmtACBL);
    NamedCardPages missing(ctx, "nosuchcard");
    PrintJob job(ctx, missing, questions);
    EXPECT_EQ(job.PrintCard(PrintCardChoice::Mine), 0);
    EXPECT_EQ(prompter.MessageTexts(), std::vector<std::string>{"No card is opened."});
    EXPECT_EQ(prompter.BeepCount(), 1);
    EXPECT_EQ(questions.printerAsked, 0);
}

// A page whose last check box lies at its very bottom, on both sides.
TEST(PrintJobOverflow, FieldAtTheBottomIsLeftOutAndSaidOnce) {
    TempDir dir;
    RenderFormat format;
    format.printWidth = 127;
    format.printHeight = 127; // 7200 twips: the card's own height
    MakeRenderRoot(dir.Path(), {format});
    std::vector<std::string> bottom = {RecordLine(3, {200, 200, 0, 0, 1, 150}),
                                       RecordLine(3, {200, 7050, 0, 0, 1, 150})};
    WriteCardPage(dir.Path(), format, "deep", false, bottom);
    WriteCardPage(dir.Path(), format, "deep", true, bottom);
    QFontDatabase::addApplicationFont(QStringLiteral(CW_SOURCE_DATA "/fontsdir/Pip4.ttf"));
    ScriptedPrompter prompter;
    TrapRecorder errors;
    ErrorTrap trap{prompter, errors};
    AppContext ctx{dir.Path(), prompter, trap};
    ASSERT_TRUE(ctx.ReadSystemSettings());
    NoCardFormatView view;
    int16_t slot = 0;
    ASSERT_TRUE(ctx.SetupCardFormat(slot, view));
    NamedCardPages pages(ctx, "deep");
    ASSERT_TRUE(pages.Open());
    ScriptedPrintQuestions questions;
    questions.pdf = dir / "deep.pdf";
    questions.choose = [](PrintOptionsModel& model) {
        model.Choices().side = PrintSide::Both;
        model.Choices().boxes[BoxFrontMargin] = 0;
        model.Choices().boxes[BoxBackMargin] = 0;
    };
    PrintJob job(ctx, pages, questions);
    // The card's ink reaches further down than the paper allows: asked first, printed anyway.
    prompter.QueueChoice(0);
    EXPECT_EQ(job.PrintCard(PrintCardChoice::Mine), 2);
    EXPECT_EQ(prompter.UnusedAnswers(), 0u);
    EXPECT_EQ(prompter.MessageTexts(),
              std::vector<std::string>{
                  "At least one field at the bottom of the page is too far down to print."});
    // The box at the top is printed (its outline is dark), the one at the bottom is not. The
    // card is moved up to 5 mm (284 twips) in from the sheet's edges.
    QImage page(QString::fromStdString(PdfPagePicture(questions.pdf, 1, 144, dir.Path()).string()));
    ASSERT_FALSE(page.isNull());
    auto dark = [&](int left, int top, int right, int bottom) {
        for (int y = top * 144 / 1440; y < std::min(page.height(), bottom * 144 / 1440); ++y)
            for (int x = left * 144 / 1440; x < right * 144 / 1440; ++x)
                if (qGray(page.pixel(x, y)) < 128)
                    return true;
        return false;
    };
    EXPECT_TRUE(dark(200, 200, 350 + 284, 350 + 284));
    EXPECT_FALSE(dark(0, 6500, 7200, 7200));
}
