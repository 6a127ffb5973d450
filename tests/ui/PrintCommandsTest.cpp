#include "AppContext.h"
#include "CardFace.h"
#include "MainWindowFixture.h"
#include "PdfPages.h"
#include "ScriptedPrintQuestions.h"

#include <QAction>
#include <QDir>
#include <QListWidget>
#include <QMenu>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QStatusBar>
#include <gtest/gtest.h>

using namespace cw;
using namespace cw::test;

namespace {

// The main window on the shipped formats, printing into a PDF file.
class PrintCommandsTest : public MainWindowFixture {
protected:
    void SetUp() override {
        fs::copy(CW_SOURCE_DATA, dir.Path(), fs::copy_options::recursive);
        ShowWindow();
        questions.pdf = dir / "printed.pdf";
        window->UsePrintQuestions(&questions);
    }
    void TearDown() override {
        window.reset();
        EXPECT_TRUE(errors.shown.empty()) << errors.shown.front().ErrDescription;
    }

    QAction* Action(const char* name) const { return window->findChild<QAction*>(name); }

    void OpenSampleCard() {
        for (int i = 0; i < window->cardList()->count(); ++i)
            if (window->cardList()->item(i)->text().startsWith("TESTCRD", Qt::CaseInsensitive))
                window->Session().Library().OpenCard(i);
        ASSERT_TRUE(window->Session().Changed().CardOpen());
        window->ShowCardFace();
    }

    ScriptedPrintQuestions questions;
};

} // namespace

TEST_F(PrintCommandsTest, FileMenuOffersThePrintCommandsOnceACardIsOpen) {
    QStringList captions;
    for (QAction* action : window->menu(MainMenu::File)->actions())
        if (!action->isSeparator())
            captions << action->text();
    const int mine = captions.indexOf("Print My Card");
    ASSERT_GE(mine, 0);
    EXPECT_EQ(captions.mid(mine, 3),
              QStringList({"Print My Card", "Print Partner's Card", "Print Both Cards"}));
    EXPECT_EQ(captions.last(), "Exit");
    EXPECT_EQ(Action("printMyCardAction")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    EXPECT_FALSE(Action("printMyCardAction")->isEnabled());
    EXPECT_FALSE(Action("printBothCardsAction")->isEnabled());
    OpenSampleCard();
    EXPECT_TRUE(Action("printMyCardAction")->isEnabled());
    EXPECT_TRUE(Action("printPartnersCardAction")->isEnabled());
}

TEST_F(PrintCommandsTest, APdfIsProposedUnderTheCardsNameInTheLastFolderAndSaidWhenWritten) {
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "a printer is installed: the dialog proposes no file";
    OpenSampleCard();
    QString shown;
    for (int i = 0; i < window->cardList()->count(); ++i)
        if (window->cardList()->item(i)->text().startsWith("TESTCRD", Qt::CaseInsensitive))
            shown = window->cardList()->item(i)->text();
    ASSERT_FALSE(shown.isEmpty());
    Action("printMyCardAction")->trigger();
    EXPECT_EQ(questions.proposed, QDir::home().filePath(shown + ".pdf").toStdString());
    // Both sides on one sheet, as the card's print settings are shipped.
    EXPECT_EQ(window->statusBar()->currentMessage().toStdString(),
              "1 page printed to " + questions.pdf.string());
    // The next one is proposed where the last one went.
    Action("printMyCardAction")->trigger();
    EXPECT_EQ(questions.proposed, (dir / (shown.toStdString() + ".pdf")).string());
}

TEST_F(PrintCommandsTest, BothSidesFromTheCardFaceLeaveTheBackPageShown) {
    OpenSampleCard();
    questions.choose = [](PrintOptionsModel& model) {
        model.Choices().oneSheet = false;
    };
    Action("printMyCardAction")->trigger();
    EXPECT_EQ(questions.optionsAsked, 1);
    ASSERT_EQ(PdfPageCount(questions.pdf), 2);
    EXPECT_NE(PdfPageText(questions.pdf, 1).find("K123456"), std::string::npos);
    EXPECT_TRUE(window->sideButton(1)->isChecked());
    EXPECT_TRUE(ctx.Card.BackSide());
    EXPECT_EQ(ctx.Card.Location().CurrentCardName, "TESTCRD_");
    EXPECT_TRUE(window->CardFaceShown());

    // The partner's card from the back page: its front again, with the partner's names.
    questions.choose = [](PrintOptionsModel& model) {
        model.Choices().side = PrintSide::Front;
    };
    Action("printPartnersCardAction")->trigger();
    ASSERT_EQ(PdfPageCount(questions.pdf), 1);
    EXPECT_NE(PdfPageText(questions.pdf, 1).find("M654321"), std::string::npos);
    EXPECT_TRUE(window->sideButton(0)->isChecked());
    EXPECT_FALSE(ctx.Card.BackSide());
}
