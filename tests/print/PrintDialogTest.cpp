#include "PrintDialog.h"

#include "AppContext.h"
#include "ErrorTrap.h"
#include "PrintOptionsModel.h"
#include "ProgramTexts.h"
#include "ScriptedPrompter.h"
#include "SessionFakes.h"
#include "TestFiles.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace cw;
using namespace cw::test;

namespace {

// The shipped formats; the options panel of the print window over them.
class PrintDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::copy(CW_SOURCE_DATA, dir.Path(), fs::copy_options::recursive);
        ASSERT_TRUE(ctx.ReadSystemSettings());
    }

    void Select(const std::string& code) {
        for (int16_t slot = 0; slot < ctx.Format.Catalogue().FormatCount; ++slot) {
            if (EqualsIgnoreCase(ctx.Format.Catalogue().Code(slot), code)) {
                ASSERT_TRUE(ctx.SetupCardFormat(slot, view));
            }
        }
    }

    // Shows the panel for model and does what the user does, once it is up.
    bool Ask(PrintOptionsModel& model, std::function<void()> user) {
        QTimer::singleShot(0, &dialog, [&, user] {
            user();
            if (dialog.isVisible())
                dialog.cancelButton()->click();
        });
        return dialog.AskPrintOptions(model);
    }

    TempDir dir;
    ScriptedPrompter prompter;
    TrapRecorder errors;
    ErrorTrap trap{prompter, errors};
    AppContext ctx{dir.Path(), prompter, trap};
    NoCardFormatView view;
    PrintDialog dialog{prompter};
};

} // namespace

TEST_F(PrintDialogTest, OnePageCardOffersOnlyItsFrontAndNoOrientation) {
    Select("club");
    PrintOptionsModel model(ctx);
    bool ok = Ask(model, [&] {
        EXPECT_TRUE(dialog.sideButton(PrintSide::Front)->isChecked());
        for (PrintSide side : {PrintSide::Front, PrintSide::Back, PrintSide::Both})
            EXPECT_FALSE(dialog.sideButton(side)->isEnabled());
        EXPECT_FALSE(dialog.numberBox(BoxBackMargin)->isEnabled());
        EXPECT_FALSE(dialog.defaultLabel(BoxBackMargin)->isEnabled());
        EXPECT_TRUE(dialog.numberBox(BoxFrontMargin)->isEnabled());
        EXPECT_TRUE(dialog.orientationGroup()->isHidden());
        EXPECT_EQ(dialog.defaultLabel(BoxPrintWidth)->text(), "Default = 210");
        EXPECT_EQ(dialog.instructionsLabel()->text().toStdString(),
                  GetProgramText(TextId::PrintHintSize));
        EXPECT_EQ(dialog.windowTitle(), "Printer Setup");
        EXPECT_EQ(dialog.optionsPanel()->title(), "Printing Options");
        dialog.cancelButton()->click();
    });
    EXPECT_FALSE(ok);
}

TEST_F(PrintDialogTest, TheInstructionsOfATwoPageCardAreShownWhole) {
    Select("acbl");
    PrintOptionsModel model(ctx);
    Ask(model, [&] {
        QLabel* instructions = dialog.instructionsLabel();
        ASSERT_FALSE(instructions->text().isEmpty());
        // Every line the text wraps into has room, inside the dialog.
        EXPECT_GE(instructions->height(), instructions->heightForWidth(instructions->width()));
        const QRect inDialog(instructions->mapTo(&dialog, QPoint(0, 0)), instructions->size());
        EXPECT_TRUE(dialog.rect().contains(inDialog));
    });
}

TEST_F(PrintDialogTest, OkTakesTheBoxesAndRefusesWhatIsNoNumber) {
    Select("acbl");
    PrintOptionsModel model(ctx);
    bool ok = Ask(model, [&] {
        EXPECT_TRUE(dialog.sideButton(PrintSide::Both)->isChecked());
        EXPECT_FALSE(dialog.orientationGroup()->isHidden());
        EXPECT_TRUE(dialog.orientationButton(0)->isChecked());
        EXPECT_EQ(dialog.numberBox(BoxPrintHeight)->text(), "216");
        dialog.numberBox(BoxPrintWidth)->setText("wide");
        dialog.okButton()->click();
        // Still open, and the user is told which box is wrong.
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(prompter.MessageTexts(),
                  std::vector<std::string>{"Print Width must be a number."});
        dialog.numberBox(BoxPrintWidth)->setText("500");
        dialog.okButton()->click();
        EXPECT_TRUE(dialog.isVisible());
        dialog.numberBox(BoxPrintWidth)->setText(" 220 ");
        dialog.numberBox(BoxFrontMargin)->setText("4.5");
        dialog.sideButton(PrintSide::Back)->click();
        dialog.blackOnlyBox()->click();
        dialog.okButton()->click();
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(prompter.MessageTexts().size(), 2u);
    EXPECT_EQ(model.Choices().side, PrintSide::Back);
    EXPECT_TRUE(model.Choices().blackOnly);
    EXPECT_EQ(model.Choices().boxes[BoxPrintWidth], 220);
    EXPECT_EQ(model.Choices().boxes[BoxFrontMargin], 4.5);
}

TEST_F(PrintDialogTest, OrientationButtonsShowTheirSizesAndSaveSettingsKeepsThem) {
    Select("acbl");
    ctx.Format.EditDefaults().PrintFlags = printflag::SettingsPresent | printflag::Landscape;
    ctx.Format.EditDefaults().PrintWidthSetting = 230;
    ASSERT_TRUE(ctx.ApplyFormatDefaults(true));
    PrintOptionsModel model(ctx);
    Ask(model, [&] {
        EXPECT_TRUE(dialog.orientationButton(1)->isChecked());
        EXPECT_EQ(dialog.numberBox(BoxPrintWidth)->text(), "230");
        dialog.orientationButton(0)->click();
        EXPECT_EQ(dialog.numberBox(BoxPrintWidth)->text(), "0");
        EXPECT_EQ(dialog.defaultLabel(BoxPrintWidth)->text(), "Default = 0");
        EXPECT_EQ(dialog.numberBox(BoxPrintHeight)->text(), "216");
        dialog.numberBox(BoxTextAlign)->setText("3");
        dialog.saveSettingsButton()->click();
        EXPECT_TRUE(dialog.isVisible());
    });
    auto lines = ReadLines(dir / "datasys" / "acbl.dat");
    ASSERT_GE(lines.size(), 12u);
    EXPECT_EQ(lines[1], "0");
    EXPECT_EQ(lines[3], std::to_string(16384 + 16)); // upright, both sides
    EXPECT_EQ(lines[11], "3");
}

TEST_F(PrintDialogTest, BothSidesOnOneSheetIsOfferedWithBothSidesAndSaved) {
    Select("acbl");
    PrintOptionsModel model(ctx);
    bool ok = Ask(model, [&] {
        // As the folded card is printed: chosen by the shipped settings, sideways always.
        EXPECT_TRUE(dialog.oneSheetBox()->isChecked());
        EXPECT_TRUE(dialog.oneSheetBox()->isEnabled());
        EXPECT_FALSE(dialog.orientationGroup()->isEnabled());
        dialog.sideButton(PrintSide::Front)->click();
        EXPECT_FALSE(dialog.oneSheetBox()->isEnabled());
        EXPECT_TRUE(dialog.orientationGroup()->isEnabled());
        dialog.okButton()->click();
    });
    ASSERT_TRUE(ok);
    EXPECT_FALSE(model.Choices().oneSheet); // one side cannot share a sheet

    model.Choices().side = PrintSide::Both;
    ok = Ask(model, [&] {
        EXPECT_FALSE(dialog.oneSheetBox()->isChecked());
        dialog.oneSheetBox()->click();
        EXPECT_FALSE(dialog.orientationGroup()->isEnabled());
        dialog.okButton()->click();
    });
    ASSERT_TRUE(ok);
    EXPECT_TRUE(model.Choices().oneSheet);
    EXPECT_TRUE(model.SavePrintSettings());
    EXPECT_TRUE(PrintOptionsModel(ctx).Choices().oneSheet);
    EXPECT_NE(ctx.Format.Defaults().PrintFlags & printflag::OneSheet, 0);
}
