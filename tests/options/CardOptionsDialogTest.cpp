#include "CardOptionsDialog.h"

#include "AppContext.h"
#include "FontBook.h"
#include "ScriptedPrompter.h"
#include "SessionFakes.h"
#include "TestFiles.h"

#include <QApplication>
#include <QFontDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace cw {
namespace {

using namespace test;

constexpr int32_t kRed = 255;
constexpr int32_t kBlue = 16711680;

class CardOptionsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        MakeDataRoot(dir.Path(), {FormatSpec{}, OnePageFormat()});
        ctx.ReadSystemSettings();
        ctx.Format.MakeCurrent(0);
        dialog = std::make_unique<CardOptionsDialog>(ctx);
        dialog->show();
    }
    void TearDown() override {
        dialog.reset();
        EXPECT_TRUE(errors.shown.empty()) << errors.shown.front().ErrDescription;
    }

    void ClickSwatch(int index) { QTest::mouseClick(dialog->colourSwatch(index), Qt::LeftButton); }
    void ChooseFont(std::optional<QFont> answer) {
        dialog->SetFontChooser([answer](const QFont&) { return answer; });
        dialog->setFontButton()->click();
    }
    // The 48 values of a format's defaults file.
    std::vector<std::string> DefaultsFile(const std::string& folder) {
        return ReadLines(dir / "datasys" / (folder + ".dat"));
    }

    TempDir dir;
    ScriptedPrompter prompter;
    TrapRecorder errors;
    ErrorTrap trap{prompter, errors};
    AppContext ctx{dir.Path(), prompter, trap};
    std::unique_ptr<CardOptionsDialog> dialog;
};

TEST_F(CardOptionsDialogTest, AOnePageFormatHidesTheSideChoiceAndColoursItsFrontPage) {
    EXPECT_TRUE(dialog->sideButton(1)->isVisible());
    dialog->sideButton(1)->click();
    dialog->formatList()->setCurrentRow(1); // the one-page club card
    EXPECT_EQ(dialog->Options().EditedFormat(), 1);
    EXPECT_FALSE(dialog->sideButton(0)->isVisible());
    EXPECT_FALSE(dialog->sideButton(1)->isVisible());

    // The back page chosen before must not be what a one-page format's colour goes to.
    int32_t back = dialog->Options().PrintColour(CardOptions::Side::Back);
    ClickSwatch(7);
    EXPECT_EQ(dialog->Options().PrintColour(CardOptions::Side::Front), kRed);
    EXPECT_EQ(dialog->Options().PrintColour(CardOptions::Side::Back), back);
    EXPECT_EQ(dialog->ShownColour(1), kRed);
}

TEST_F(CardOptionsDialogTest, CancellingTheFontDialogOrKeepingTheFontChangesNothing) {
    QString before = dialog->fontLabel()->text();
    ASSERT_EQ(before.toStdString(), "Arial, 9\nBold = False, Italic = False");
    ChooseFont(std::nullopt);
    EXPECT_FALSE(dialog->Options().Changed());
    EXPECT_FALSE(dialog->saveButton()->isEnabled());

    // "Arial" comes back from the font dialog as the face that stands in for it.
    QFont standIn(FontBook().Family("Arial"));
    standIn.setPointSizeF(9);
    ChooseFont(standIn);
    EXPECT_FALSE(dialog->Options().Changed());
    EXPECT_EQ(dialog->fontLabel()->text(), before);

    standIn.setItalic(true);
    ChooseFont(standIn);
    EXPECT_TRUE(dialog->Options().Changed());
    EXPECT_TRUE(dialog->saveButton()->isEnabled());
    EXPECT_EQ(dialog->fontLabel()->text().toStdString(), "Arial, 9\nBold = False, Italic = True");
}

TEST_F(CardOptionsDialogTest, TheRealFontDialogAcceptedUnchangedKeepsTheCardsFont) {
    const QString before = dialog->fontLabel()->text();
    bool sawDialog = false;
    // The program's own chooser: the font dialog is accepted as it opens.
    QTimer::singleShot(0, [&] {
        auto* fontDialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
        sawDialog = fontDialog != nullptr;
        if (fontDialog)
            fontDialog->accept();
    });
    dialog->setFontButton()->click();
    ASSERT_TRUE(sawDialog);
    EXPECT_FALSE(dialog->Options().Changed());
    EXPECT_FALSE(dialog->saveButton()->isEnabled());
    EXPECT_EQ(dialog->fontLabel()->text().toStdString(), before.toStdString());
}

TEST_F(CardOptionsDialogTest, CancelOnAnotherFormatKeepsTheFirstWithItsChanges) {
    ClickSwatch(1);
    ASSERT_TRUE(dialog->Options().Changed());
    prompter.QueueAnswer(Answer::Cancel);
    dialog->formatList()->setCurrentRow(1);
    EXPECT_EQ(prompter.MessageTexts().back(), "Do you want to save the changes to Test Card?");
    EXPECT_EQ(dialog->formatList()->currentRow(), 0);
    EXPECT_EQ(dialog->Options().EditedFormat(), 0);
    EXPECT_TRUE(dialog->Options().Changed());
    EXPECT_EQ(dialog->ShownColour(0), kRed);

    prompter.QueueAnswer(Answer::No);
    dialog->formatList()->setCurrentRow(1);
    EXPECT_EQ(dialog->Options().EditedFormat(), 1);
    EXPECT_FALSE(dialog->Options().Changed());
    EXPECT_EQ(DefaultsFile("TEST")[16], "1"); // dropped, never written
}

TEST_F(CardOptionsDialogTest, SavedValuesReachTheDefaultsFileOfBothPages) {
    std::vector<std::string> before = DefaultsFile("TEST");
    ClickSwatch(1);                          // USER INPUT text red
    dialog->sideButton(1)->click();          // back page
    ClickSwatch(9);                          // printed base text blue
    dialog->checkBoxStyleButton(2)->click(); // X mark
    QFont courier("Courier New");
    courier.setPointSizeF(12);
    courier.setBold(true);
    ChooseFont(courier);
    dialog->saveButton()->click();
    EXPECT_FALSE(dialog->Options().Changed());

    std::vector<std::string> after = DefaultsFile("TEST");
    ASSERT_EQ(after.size(), 48u);
    EXPECT_EQ(after[0], "2");
    EXPECT_EQ(after[8], before[8]);
    EXPECT_EQ(after[9], std::to_string(kBlue));
    for (size_t block : {16u, 32u}) {
        EXPECT_EQ(after[block], std::to_string(kRed)) << block;
        EXPECT_EQ(after[block + 1], "12") << block;
        EXPECT_EQ(after[block + 2], "\"Courier New\"") << block;
        EXPECT_EQ(after[block + 3], "-1") << block;
        EXPECT_EQ(after[block + 4], "0") << block;
    }
    // The printed base text keeps its font.
    for (size_t i = 24; i <= 28; ++i)
        EXPECT_EQ(after[i], before[i]) << i;
    for (size_t i = 40; i <= 44; ++i)
        EXPECT_EQ(after[i], before[i]) << i;

    // Nothing left to save: "Done" closes without asking.
    size_t asked = prompter.MessageTexts().size();
    dialog->doneButton()->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(prompter.MessageTexts().size(), asked);
}

TEST_F(CardOptionsDialogTest, ClosingWithChangesAsksAndCancelKeepsTheWindowOpen) {
    dialog->checkBoxStyleButton(1)->click();
    prompter.QueueAnswer(Answer::Cancel);
    dialog->close();
    EXPECT_TRUE(dialog->isVisible());
    prompter.QueueAnswer(Answer::Yes);
    dialog->doneButton()->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(DefaultsFile("TEST")[0], "1");
}

} // namespace
} // namespace cw
