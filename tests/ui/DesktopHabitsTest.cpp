// What a player expects of a desktop program on the card face: the usual keys, turning the
// card over on the card itself, names and a title as typed, tooltips, and a card history that
// one session of layout editing does not flood.
#include "AppContext.h"
#include "CardExport.h"
#include "CardFace.h"
#include "CardPicture.h"
#include "CheckBoxMarker.h"
#include "EditingMenu.h"
#include "EditorGrip.h"
#include "FillInController.h"
#include "LayoutController.h"
#include "LayoutPanel.h"
#include "MainWindow.h"
#include "MainWindowFixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

using namespace cw;
using namespace cw::test;

namespace {

std::vector<std::string> CardFile(const std::string& first) {
    std::vector<std::string> lines =
        HeaderBlock("Ann & Bob", {"123", "", "Bob & Ann", "456", "0", "0", "0", "0", "0", "0", "0",
                                  "0", "0", "0", "6.3.19"});
    lines.push_back("2,1000,1000,2000,240,1,\"" + first + "\",0");
    lines.push_back("2,1000,2000,2000,240,1,\"\",0");
    lines.push_back("3,100,100,0,0,0,\"\",8");
    return lines;
}

struct AnsweringExportChooser : ExportFileChooser {
    int asked = 0;
    std::optional<ExportRequest> ChooseExportFile(const fs::path&, const std::string&,
                                                  const std::string&) override {
        ++asked;
        return std::nullopt;
    }
};

class DesktopHabitsTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MakeDataRoot(dir.Path(), {FormatSpec{}});
        WriteLines(dir / "TEST" / "Smith-Jones Pairs.tst", CardFile("front page"));
        WriteLines(dir / "TEST" / "Smith-Jones Pairs_.tst", CardFile("back page"));
        ShowWindow();
        ASSERT_TRUE(window->Session().Library().OpenCard(0));
        window->ShowCardFace();
        ASSERT_TRUE(window->CardFaceShown());
    }
    FillInController& FillIn() { return window->FillIn(); }
    // A key where the keyboard is.
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, key, modifiers);
    }
    std::string FirstText() { return ctx.Card.Page().Field(TextField, 0).text; }
    bool Changed() { return window->Session().Changed().CardChanged(); }
    QTabBar* Tabs() { return window->cardFace()->sideTabs(); }
    // Files kept in the card history.
    int HistoryVersions() {
        int count = 0;
        fs::path history = dir / "datasys" / "history";
        std::error_code ec;
        for (auto it = fs::recursive_directory_iterator(history, ec);
             !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
            if (it->is_regular_file())
                ++count;
        return count;
    }
    void SaveChange() {
        QTest::mouseClick(window->Layout().panel()->actionButton(PanelButton::SaveChange),
                          Qt::LeftButton);
    }
    void Drag(int x1, int y1, int x2, int y2) {
        CardPicture* picture = window->cardPicture();
        auto at = [&](int x, int y) {
            return picture->ToPixels(QPoint(x, y)).toPoint();
        };
        QTest::mousePress(picture, Qt::LeftButton, {}, at(x1, y1));
        QTest::mouseMove(picture, at(x2, y2));
        QTest::mouseRelease(picture, Qt::LeftButton, {}, at(x2, y2));
    }
};

} // namespace

TEST_F(DesktopHabitsTest, CtrlPageDownTurnsTheCardOverAtOnceAndAsksOnlyAboutUnsavedChanges) {
    ASSERT_TRUE(Tabs()->isVisible());
    EXPECT_EQ(Tabs()->currentIndex(), 0);
    Key(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_TRUE(window->CardFaceShown());
    EXPECT_TRUE(ctx.Card.BackSide());
    EXPECT_EQ(FirstText(), "back page");
    EXPECT_EQ(Tabs()->currentIndex(), 1);
    EXPECT_TRUE(prompter.MessageTexts().empty());

    // Unsaved changes: Cancel stays on the page with them, No drops them, Yes saves them.
    QTest::keyClicks(FillIn().OpenEditor(), " typed");
    FillIn().CommitOpenEditor();
    ASSERT_TRUE(Changed());
    prompter.QueueAnswer(Answer::Cancel);
    Key(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_TRUE(ctx.Card.BackSide());
    EXPECT_EQ(FirstText(), "back page typed");
    EXPECT_EQ(Tabs()->currentIndex(), 1);
    prompter.QueueAnswer(Answer::No);
    Tabs()->setCurrentIndex(0); // as a click on "Front" does
    EXPECT_FALSE(ctx.Card.BackSide());
    EXPECT_EQ(FirstText(), "front page");
    Key(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(FirstText(), "back page");
    QTest::keyClicks(FillIn().OpenEditor(), "!");
    prompter.QueueAnswer(Answer::Yes);
    Key(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_FALSE(ctx.Card.BackSide());
    const auto back = ReadLines(dir / "TEST" / "Smith-Jones Pairs_.tst");
    EXPECT_NE(std::find(back.begin(), back.end(), "2,1000,1000,2000,240,1,\"back page!\",0"),
              back.end());
    EXPECT_EQ(prompter.UnusedAnswers(), 0u);
    EXPECT_EQ(prompter.MessageTexts().size(), 3u);
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(DesktopHabitsTest, TheCardIsListedAndTitledAsTheUserNamedIt) {
    EXPECT_EQ(window->windowTitle(), u"Smith-Jones Pairs[*] – Test Card – Cardwright"_qs);
    EXPECT_FALSE(window->isWindowModified());
    auto* hint = window->findChild<QLabel*>("cardHintLabel");
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->isVisible());
    QTest::keyClicks(FillIn().OpenEditor(), "x");
    FillIn().CommitOpenEditor();
    EXPECT_TRUE(window->isWindowModified());
    EXPECT_EQ(window->windowHandle()->title(), u"Smith-Jones Pairs* – Test Card – Cardwright"_qs);
    // Ctrl+S saves; Ctrl+W goes back to the list, which names the card as typed.
    FillIn().Click({1100, 1100});
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(Changed());
    EXPECT_FALSE(window->isWindowModified());
    Key(Qt::Key_W, Qt::ControlModifier);
    EXPECT_FALSE(window->CardFaceShown());
    EXPECT_FALSE(hint->isVisible());
    ASSERT_EQ(window->cardList()->count(), 1);
    EXPECT_EQ(window->cardList()->item(0)->text(), "Smith-Jones Pairs");
    EXPECT_TRUE(fs::exists(dir / "TEST" / "Smith-Jones Pairs.tst"));
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(DesktopHabitsTest, HomeEndAndTheSaveAsKeyDoWhatTheySay) {
    window->resize(700, 560);
    window->ZoomStep(true);
    window->ZoomStep(true);
    QScrollBar* down = window->cardFace()->verticalScrollBar();
    QScrollBar* across = window->cardFace()->horizontalScrollBar();
    ASSERT_GT(down->maximum(), 0);
    window->cardPicture()->setFocus();
    Key(Qt::Key_End);
    EXPECT_EQ(down->value(), down->maximum());
    Key(Qt::Key_Home);
    EXPECT_EQ(down->value(), 0);
    FillIn().Click({1100, 1100});
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(down->value(), down->maximum());
    EXPECT_EQ(across->value(), across->maximum());
    Key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(down->value(), 0);
    EXPECT_EQ(across->value(), 0);

    AnsweringExportChooser chooser;
    window->UseExportFileChooser(&chooser);
    Key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(chooser.asked, 1);
    window->UseExportFileChooser(nullptr);
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(DesktopHabitsTest, EveryButtonPickerAndMarkerSaysWhatItDoes) {
    window->Layout().MenuItem(menu::AddCheckBox);
    QStringList silent;
    auto check = [&](QWidget* root) {
        for (QAbstractButton* button : root->findChildren<QAbstractButton*>()) {
            if (qobject_cast<QTabBar*>(button->parentWidget()))
                continue; // the tab bar's scroll buttons
            if (button->toolTip().isEmpty())
                silent << button->objectName() + " \"" + button->text() + "\"";
        }
    };
    check(window->cardFace());
    check(window->findChild<QWidget*>("StartFace"));
    for (QWidget* marker : {static_cast<QWidget*>(window->Layout().checkBoxMarker()),
                            static_cast<QWidget*>(window->Layout().editorGrip())})
        if (marker->toolTip().isEmpty())
            silent << marker->objectName();
    for (int i = 0; i < Tabs()->count(); ++i)
        if (Tabs()->tabToolTip(i).isEmpty())
            silent << Tabs()->tabText(i);
    EXPECT_TRUE(silent.isEmpty()) << silent.join(", ").toStdString();
}

TEST_F(DesktopHabitsTest, OneSessionOfLayoutEditingKeepsOneVersionInTheHistory) {
    window->Layout().MenuItem(menu::AddTextField);
    for (int i = 0; i < 3; ++i) {
        Drag(4000, 3000 + 600 * i, 6000, 3240 + 600 * i);
        QTest::keyClicks(window->Layout().layoutEditor(), QStringLiteral("field %1").arg(i));
        SaveChange();
    }
    ASSERT_EQ(ctx.Card.Page().Count(TextField), 5);
    EXPECT_EQ(HistoryVersions(), 1);
    QTest::mouseClick(window->Layout().panel()->actionButton(PanelButton::Done), Qt::LeftButton);
    EXPECT_EQ(HistoryVersions(), 1);
    // The first version is the card before the session.
    // After the session every save keeps a version again.
    FillIn().Click({1100, 1100});
    QTest::keyClicks(FillIn().OpenEditor(), "y");
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(HistoryVersions(), 2);
    window->Layout().MenuItem(menu::AddTextField);
    Drag(4000, 6000, 6000, 6240);
    QTest::keyClicks(window->Layout().layoutEditor(), "late");
    SaveChange();
    EXPECT_EQ(HistoryVersions(), 3);
    EXPECT_TRUE(errors.shown.empty());
}
