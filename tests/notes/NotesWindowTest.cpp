#include "NotesWindow.h"

#include "AppContext.h"
#include "ChangedState.h"
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
    TextDrawer drawer(ctx, state);
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

} // namespace
