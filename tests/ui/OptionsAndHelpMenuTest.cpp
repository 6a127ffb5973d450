#include "AboutDialog.h"
#include "AppContext.h"
#include "CardOptionsDialog.h"
#include "CardPicture.h"
#include "FillInController.h"
#include "HelpWindow.h"
#include "MailSettingsDialog.h"
#include "MainWindow.h"
#include "MainWindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <gtest/gtest.h>

using namespace cw;
using namespace cw::test;

namespace {

constexpr int kBoxX = 1000, kBoxY = 1000, kBoxSide = 300;

class OptionsAndHelpMenuTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MakeDataRoot(dir.Path(), {FormatSpec{}});
        std::vector<std::string> card =
            HeaderBlock("Ann", {"1", "", "Bob", "2", "0", "0", "0", "0", "0", "0", "0", "0", "0",
                                "0", "6.3.19"});
        card.push_back("2,3000,3000,2000,240,1,\"text\",0");
        card.push_back("3," + std::to_string(kBoxX) + "," + std::to_string(kBoxY) + ",0,0,1,\"\"," +
                       std::to_string(kBoxSide)); // a ticked box
        card.push_back("3,5000,1000,0,0,0,\"\",300");
        WriteLines(dir / "TEST" / "card.tst", card);
        WriteLines(dir / "TEST" / "card_.tst", HeaderBlock("", {}));
        ShowWindow();
    }
    void TearDown() override {
        if (HelpWindow* help = OpenHelpWindow())
            help->close();
        window.reset();
        EXPECT_TRUE(errors.shown.empty()) << errors.shown.front().ErrDescription;
    }

    QAction* Action(const char* name) { return window->findChild<QAction*>(name); }
    // A point inside the ticked box that a solid box fills and a tick mark leaves white.
    QRgb BoxPixel() {
        QPointF at = window->cardPicture()->ToPixels({kBoxX + kBoxSide / 2, kBoxY + kBoxSide / 4});
        return window->cardPicture()->Image().pixel(at.toPoint());
    }
    // Runs steps inside the next modal window of type W.
    template <class W> void InModal(std::function<void(W&)> steps) {
        QTimer::singleShot(0, window.get(), [steps] {
            auto* modal = qobject_cast<W*>(QApplication::activeModalWidget());
            ASSERT_NE(modal, nullptr);
            steps(*modal);
        });
    }
};

} // namespace

TEST_F(OptionsAndHelpMenuTest, CardGlobalSettingsAsksToSaveAndRedrawsTheCardWithWhatWasSaved) {
    ASSERT_TRUE(window->Session().Library().OpenCard(0));
    window->ShowCardFace();
    ASSERT_TRUE(window->CardFaceShown());
    EXPECT_EQ(qRed(BoxPixel()), 255) << "a tick mark leaves this point white";
    window->FillIn().Click({5010, 1010}); // an unsaved change: the second box ticked
    ASSERT_TRUE(window->Session().Changed().CardChanged());

    prompter.QueueAnswer(Answer::No);
    InModal<CardOptionsDialog>([](CardOptionsDialog& dialog) {
        dialog.checkBoxStyleButton(0)->click(); // solid
        dialog.saveButton()->click();
        dialog.doneButton()->click();
    });
    Action("cardGlobalSettingsAction")->trigger();

    EXPECT_EQ(prompter.MessageTexts().front(), "Do you want to save changes to CARD");
    EXPECT_EQ(ReadLines(dir / "datasys" / "TEST.dat")[0], "0");
    EXPECT_EQ(ctx.Format.Defaults().CheckBoxStyle, 0);
    EXPECT_EQ(qRed(BoxPixel()), 0) << "the card is drawn again with solid boxes";
    // "No" dropped the unsaved tick.
    EXPECT_FALSE(window->Session().Changed().CardChanged());
    EXPECT_EQ(ctx.Card.Page().Field(CheckBox, 1).a[4], 0);
}

TEST_F(OptionsAndHelpMenuTest, CancelToTheSaveQuestionOpensNothing) {
    ASSERT_TRUE(window->Session().Library().OpenCard(0));
    window->ShowCardFace();
    window->FillIn().Click({5010, 1010});
    prompter.QueueAnswer(Answer::Cancel);
    Action("cardGlobalSettingsAction")->trigger();
    EXPECT_EQ(window->findChild<CardOptionsDialog*>(), nullptr);
    EXPECT_TRUE(window->Session().Changed().CardChanged());
    EXPECT_EQ(ctx.Card.Page().Field(CheckBox, 1).a[4], 1);
}

TEST_F(OptionsAndHelpMenuTest, HelpOpensTheIndexOnTheListAndTheCardPageOnTheCard) {
    QTest::keyClick(window.get(), Qt::Key_F1);
    HelpWindow* help = OpenHelpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->browser()->source().fileName(), "index.html");

    ASSERT_TRUE(window->Session().Library().OpenCard(0));
    window->ShowCardFace();
    Action("programHelpAction")->trigger();
    EXPECT_EQ(help->browser()->source().fileName(), "filling-in.html");
    Action("notesHelpAction")->trigger();
    EXPECT_EQ(help->browser()->source().fileName(), "notes.html");

    Action("aboutAction")->trigger();
    auto* about = window->findChild<AboutDialog*>();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_FALSE(about->isModal());
    EXPECT_EQ(about->versionLabel()->text(), "Version 6.3.19");
}

TEST_F(OptionsAndHelpMenuTest, MailSettingsRefuseAnAddressThatIsNotOneAndKeepNoPassword) {
    InModal<MailSettingsDialog>([](MailSettingsDialog& dialog) {
        dialog.serverBox()->setText("mail.example.org:587");
        dialog.senderBox()->setText("ann@example.org");
        dialog.maintainerBox()->setText("not an address");
        dialog.accept();
        EXPECT_TRUE(dialog.isVisible());
        dialog.maintainerBox()->setText("cards@example.org");
        dialog.userBox()->setText("ann");
        dialog.accept();
    });
    Action("mailSettingsAction")->trigger();
    EXPECT_EQ(prompter.MessageTexts().size(), 1u);
    EXPECT_EQ(ReadFile(dir / "mail.ini"),
              CrLf({"; How Cardwright sends error reports. No password is ever kept here:",
                    "; the program asks for it when the server wants one.", "[mail]",
                    "server=mail.example.org:587", "sender=ann@example.org",
                    "maintainer=cards@example.org", "user=ann"}));
}
