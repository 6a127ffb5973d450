#include "NotesWindow.h"

#include "AppContext.h"
#include "ChangedState.h"
#include "DrawingContext.h"
#include "RecordingSurface.h"
#include "ScriptedPrompter.h"
#include "SessionFakes.h"
#include "TestFiles.h"
#include "TextDrawer.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace cw;
using namespace cw::test;

namespace {

class NotesWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        MakeDataRoot(dir.Path(), {FormatSpec{}});
        ctx.ReadSystemSettings();
    }
    void TearDown() override {
        window.reset();
        EXPECT_TRUE(errors.shown.empty()) << errors.shown.front().ErrDescription;
    }
    fs::path Notes(const std::string& name) const { return dir / "suppnote" / name; }
    void Open() {
        window = std::make_unique<NotesWindow>(ctx, changed);
        window->OpenFor(std::nullopt);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void Choose(int row) {
        QListWidget* list = window->fileList();
        QRect box = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, box.center());
    }

    TempDir dir;
    ScriptedPrompter prompter;
    TrapRecorder errors;
    ErrorTrap trap{prompter, errors};
    AppContext ctx{dir.Path(), prompter, trap};
    ChangedState changed{ctx};
    std::unique_ptr<NotesWindow> window;
};

TEST_F(NotesWindowTest, SymbolsGoInAtTheCursorAndCancelKeepsTheEditBox) {
    WriteLines(Notes("a.not"), {"1NT"});
    Open();
    Choose(0);
    ASSERT_TRUE(window->notesPage()->isVisible());
    QPlainTextEdit* edit = window->editBox();
    // F5 does nothing while the page is only viewed.
    QTest::keyClick(window.get(), Qt::Key_F5);
    EXPECT_EQ(edit->toPlainText(), "1NT");

    QTest::mouseClick(window->notesButton(NotesWindow::EditButton), Qt::LeftButton);
    ASSERT_TRUE(edit->isVisible());
    EXPECT_EQ(window->notesButton(NotesWindow::EditButton)->text(), "View Output");
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(2);
    edit->setTextCursor(cursor);
    QTest::keyClick(edit, Qt::Key_F5);
    EXPECT_EQ(edit->toPlainText(), "1N<c>T");
    EXPECT_EQ(edit->textCursor().position(), 5);
    EXPECT_TRUE(window->notesButton(NotesWindow::SaveButton)->isEnabled());

    prompter.QueueAnswer(Answer::Cancel);
    QTest::mouseClick(window->notesButton(NotesWindow::EditButton), Qt::LeftButton);
    EXPECT_TRUE(edit->isVisible());
    EXPECT_EQ(edit->toPlainText(), "1N<c>T");
    EXPECT_EQ(window->notesButton(NotesWindow::EditButton)->text(), "View Output");

    prompter.QueueAnswer(Answer::Yes);
    QTest::mouseClick(window->notesButton(NotesWindow::EditButton), Qt::LeftButton);
    EXPECT_FALSE(edit->isVisible());
    EXPECT_EQ(ReadLines(Notes("a.not")), std::vector<std::string>{"1N<c>T"});
}

TEST_F(NotesWindowTest, CodePageLettersShowAndGoBackByteForByte) {
    WriteFile(Notes("a.not"), "Caf\xe9 \x80 5\r\n[2] na\xefve\r\n");
    Open();
    Choose(0);
    EXPECT_EQ(window->editBox()->toPlainText(), QString::fromUtf8("Café € 5\n[2] naïve"));
    QTest::mouseClick(window->notesButton(NotesWindow::EditButton), Qt::LeftButton);
    window->editBox()->moveCursor(QTextCursor::End);
    window->editBox()->insertPlainText(QString::fromUtf8(" été"));
    QTest::mouseClick(window->notesButton(NotesWindow::SaveButton), Qt::LeftButton);
    EXPECT_EQ(ReadFile(Notes("a.not")), "Caf\xe9 \x80 5\r\n[2] na\xefve \xe9t\xe9\r\n");
}

TEST_F(NotesWindowTest, PagesTurnWithTheScrollBarAndPrintWithAHeading) {
    std::vector<std::string> lines;
    for (int i = 0; i < 100; ++i)
        lines.push_back("note line " + std::to_string(i) + " 2<h>");
    WriteLines(Notes("long.not"), lines);
    Open();
    Choose(0);
    QScrollBar* bar = window->scrollBar();
    EXPECT_EQ(bar->maximum(), 99);
    EXPECT_EQ(bar->pageStep(), 17);
    QTest::keyClick(window.get(), Qt::Key_PageDown);
    EXPECT_EQ(window->Session().FirstLine(), 17);
    EXPECT_EQ(window->editBox()->toPlainText().split('\n').first(), "note line 17 2<h>");

    RenderState state;
    state.PrintMode = 1;
    DrawingContext drawing;
    TextDrawer drawer(ctx.errorTrap, drawing, state);
    RecordingSurface paper(100, 200);
    paper.ActAsPrinter(1, 4000);
    int pages = 1;
    TextLineWriter writer(drawer, paper, {});
    writer.SetPaper(100000, [&] { ++pages; });
    window->WritePrintout(writer);
    auto texts = paper.CallsOf(RecordingSurface::Op::Text);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts[0].text, "SUPPLEMENTAL NOTES: " + Notes("long.not").string());
    EXPECT_TRUE(texts[0].state.fontBold);
    EXPECT_EQ(texts[0].state.fontName, QString("Arial"));
    EXPECT_DOUBLE_EQ(texts[0].state.fontSize, 10.04);
    EXPECT_EQ(texts[1].text, "note line 0 2");
    EXPECT_FALSE(texts[1].state.fontBold);
    // 20 lines a page: 4 heading lines and 100 notes take 6 pages.
    EXPECT_EQ(pages, 6);

    // And a real document: Print to PDF.
    QPdfWriter pdf(QString::fromStdString((dir / "notes.pdf").string()));
    ASSERT_TRUE(window->PrintNotes(pdf));
    std::string bytes = ReadFile(dir / "notes.pdf");
    size_t pageObjects = 0;
    for (size_t at = bytes.find("/Type /Page\n"); at != std::string::npos;
         at = bytes.find("/Type /Page\n", at + 1))
        ++pageObjects;
    EXPECT_GE(pageObjects, 2u);
}

TEST_F(NotesWindowTest, AnEditedBlockKeepsTheBytesOfItsUntouchedLines) {
    const std::string untouched = "[1] Ouverture 1SA\xa0: 15-17 points\r\n"
                                  "[2] Texas\xa0\xab\xa0transfert\xa0\xbb\r"
                                  "suite\r\n";
    WriteFile(Notes("a.not"), untouched + "edit me\r\n");
    Open();
    Choose(0);
    // A bare CR ends a line on the screen too.
    EXPECT_EQ(window->editBox()->document()->blockCount(), 4);
    QTest::mouseClick(window->notesButton(NotesWindow::EditButton), Qt::LeftButton);
    QTextCursor cursor(window->editBox()->document()->findBlockByNumber(3));
    cursor.movePosition(QTextCursor::EndOfBlock);
    window->editBox()->setTextCursor(cursor);
    QTest::keyClicks(window->editBox(), " please");
    QTest::mouseClick(window->notesButton(NotesWindow::SaveButton), Qt::LeftButton);
    EXPECT_EQ(ReadFile(Notes("a.not")), untouched + "edit me please\r\n");
}

TEST_F(NotesWindowTest, PastedSuitSymbolsBecomeMarkupAndOtherLettersAreNamedBeforeSaving) {
    WriteFile(Notes("a.not"), "1NT\r\n");
    Open();
    Choose(0);
    QTest::mouseClick(window->notesButton(NotesWindow::EditButton), Qt::LeftButton);
    QPlainTextEdit* edit = window->editBox();
    edit->moveCursor(QTextCursor::End);
    edit->insertPlainText(QString::fromUtf8(" 2\u2663 \u2660AK"));
    EXPECT_EQ(edit->toPlainText(), "1NT 2<c> <s>AK");
    EXPECT_EQ(edit->textCursor().position(), edit->toPlainText().size());
    QTest::mouseClick(window->notesButton(NotesWindow::SaveButton), Qt::LeftButton);
    EXPECT_EQ(ReadFile(Notes("a.not")), "1NT 2<c> <s>AK\r\n");

    // Letters windows-1252 has no room for: a warning that names them, nothing written, the
    // edit box still open with the text.
    edit->moveCursor(QTextCursor::End);
    edit->insertPlainText(QString::fromUtf8(" \u0141\u00f3d\u017a \u20ac"));
    QTest::mouseClick(window->notesButton(NotesWindow::SaveButton), Qt::LeftButton);
    EXPECT_EQ(ReadFile(Notes("a.not")), "1NT 2<c> <s>AK\r\n");
    ASSERT_FALSE(prompter.MessageTexts().empty());
    EXPECT_NE(
        prompter.MessageTexts().back().find("cannot hold these characters: \xc5\x81 \xc5\xba"),
        std::string::npos)
        << prompter.MessageTexts().back();
    EXPECT_TRUE(edit->isVisible());
    EXPECT_TRUE(window->Session().Dirty());
    EXPECT_EQ(edit->toPlainText(), QString::fromUtf8("1NT 2<c> <s>AK \u0141\u00f3d\u017a \u20ac"));
}

TEST_F(NotesWindowTest, AUtf8FileShowsItsLettersAndStaysUtf8) {
    WriteFile(Notes("u.not"), "Caf\xc3\xa9 \xe2\x80\x93 5\r\nsecond\r\n");
    Open();
    Choose(0);
    EXPECT_EQ(window->editBox()->toPlainText(), QString::fromUtf8("Café \u2013 5\nsecond"));
    QTest::mouseClick(window->notesButton(NotesWindow::EditButton), Qt::LeftButton);
    window->editBox()->moveCursor(QTextCursor::End);
    window->editBox()->insertPlainText(QString::fromUtf8(" \u0141\u00f3d\u017a"));
    QTest::mouseClick(window->notesButton(NotesWindow::SaveButton), Qt::LeftButton);
    EXPECT_EQ(ReadFile(Notes("u.not")), "Caf\xc3\xa9 \xe2\x80\x93 5\r\nsecond \xc5\x81\xc3\xb3"
                                        "d\xc5\xba\r\n");
}

TEST_F(NotesWindowTest, APressOnTheScrollBarWithUnsavedTextAsksOnceAndMovesOnlyWhenAllowed) {
    std::vector<std::string> lines;
    for (int i = 0; i < 400; ++i)
        lines.push_back("line " + std::to_string(i));
    WriteLines(Notes("big.not"), lines);
    Open();
    Choose(0);
    QTest::mouseClick(window->notesButton(NotesWindow::EditButton), Qt::LeftButton);
    window->editBox()->moveCursor(QTextCursor::End);
    QTest::keyClicks(window->editBox(), " word");
    ASSERT_TRUE(window->Session().Dirty());
    const size_t asked = prompter.MessageTexts().size();

    // The down arrow held down as a press that the question interrupts: the bar's own
    // repeat must not bring the question back, nor move the page.
    QScrollBar* bar = window->scrollBar();
    const QPoint downArrow(bar->width() / 2, bar->height() - 4);
    prompter.QueueAnswer(Answer::Cancel);
    QTest::mousePress(bar, Qt::LeftButton, {}, downArrow);
    QTest::qWait(1500);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, downArrow);
    QTest::qWait(100);
    EXPECT_EQ(prompter.MessageTexts().size(), asked + 1);
    EXPECT_EQ(window->Session().FirstLine(), 0);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_TRUE(window->Session().Dirty());

    // No: the changes go and the page moves one step, no further.
    prompter.QueueAnswer(Answer::No);
    QTest::mousePress(bar, Qt::LeftButton, {}, downArrow);
    QTest::qWait(1500);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, downArrow);
    QTest::qWait(100);
    EXPECT_EQ(prompter.MessageTexts().size(), asked + 2);
    EXPECT_EQ(window->Session().FirstLine(), 1);
    EXPECT_EQ(bar->value(), 1);
    EXPECT_FALSE(window->Session().Dirty());
    EXPECT_EQ(ReadLines(Notes("big.not")), lines);
}

TEST_F(NotesWindowTest, TheKeysTurnThePageAfterAClickOnIt) {
    std::vector<std::string> lines;
    for (int i = 0; i < 100; ++i)
        lines.push_back("line " + std::to_string(i));
    WriteLines(Notes("long.not"), lines);
    Open();
    Choose(0);
    QTest::mouseClick(window->notesPage(), Qt::LeftButton, {}, QPoint(20, 20));
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    QTest::keyClick(focused, Qt::Key_PageDown);
    EXPECT_EQ(window->Session().FirstLine(), 17);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(window->Session().FirstLine(), 18);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp);
    EXPECT_EQ(window->Session().FirstLine(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_EQ(window->Session().FirstLine(), 0);
}

TEST_F(NotesWindowTest, AOneMegabyteLineGivesAPagePictureOfBoundedWidth) {
    std::string line;
    while (line.size() < 1'000'000)
        line += "1NT - 2<c>; ";
    WriteFile(Notes("wide.not"), "[1] first\r\n" + line + "\r\n[2] last\r\n");
    Open();
    Choose(0);
    EXPECT_EQ(window->Session().Text().LineCount(), 3);
    EXPECT_LE(window->PagePicture().width(), 10000);
    EXPECT_GT(window->PagePicture().width(), 500);
    // The long line cannot be edited here; the window says so and stays on the page.
    QTest::mouseClick(window->notesButton(NotesWindow::EditButton), Qt::LeftButton);
    EXPECT_FALSE(window->editBox()->isVisible());
    EXPECT_NE(prompter.MessageTexts().back().find("too long to be edited here"), std::string::npos);
}

} // namespace
