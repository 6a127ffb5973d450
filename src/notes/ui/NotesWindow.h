#pragma once

#include "NotesSession.h"
#include "TextPageCanvas.h"

#include <QMainWindow>
#include <array>
#include <functional>
#include <optional>
#include <string_view>

class QLabel;
class QListWidget;
class QMenu;
class QPagedPaintDevice;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QScrollBar;
class QStackedWidget;

namespace cw {

class AppContext;
class ChangedState;
class TextCodec;

// The "Supplemental Notes" window: the list of notes files, a file shown with its suit
// symbols a page at a time, the edit box in which it is written, and the commands on them.
// The logic lives in NotesSession; the window shows its results.
class NotesWindow : public QMainWindow, public NotesView {
    Q_OBJECT

public:
    // The buttons, by their place in the window's row.
    enum Button { SaveButton, PrintButton, HelpButton, CreateButton, EditButton, DoneButton };

    NotesWindow(AppContext& context, ChangedState& changed, QWidget* parent = nullptr);
    ~NotesWindow() override;

    NotesSession& Session() { return session_; }

    // Opens the window, or brings it forward when it is open. fieldText: the text of the
    // card field selected in the main window, whose "[n]" is followed when the window shows
    // the card's own notes file.
    void OpenFor(const std::optional<std::string>& fieldText);
    // What "Help" opens; the button shows only when there is help to open.
    void SetHelpHandler(std::function<void()> handler);

    // "Print Notes" on a device chosen already (a printer, a PDF file).
    bool PrintNotes(QPagedPaintDevice& device);
    // What "Print Notes" puts on paper: a heading, then the file's lines.
    void WritePrintout(TextLineWriter& writer);
    // F5..F8 and the "Card Symbols" menu: suit markup at the edit box's cursor.
    bool InsertSymbol(char letter);

    QListWidget* fileList() const { return fileList_; }
    QLabel* listNotice() const { return listNotice_; }
    QLabel* notesPage() const { return notesPage_; }
    QPlainTextEdit* editBox() const { return editBox_; }
    QScrollBar* scrollBar() const { return scrollBar_; }
    QPushButton* notesButton(Button which) const { return buttons_[size_t(which)]; }
    QPushButton* otherFilesButton() const { return otherFilesButton_; }
    QMenu* symbolsMenu() const { return symbolsMenu_; }
    // The picture of the page on show.
    const QImage& PagePicture() const { return canvas_.Picture(); }

    // NotesView
    void ShowFileList(const std::vector<std::string>& names, const std::string& notice) override;
    void ShowBlock(const std::string& fileName, const std::vector<std::string>& lines,
                   int firstLine, int lineCount) override;
    void ShowScrollPosition(int firstLine) override;
    void ShowEditing(bool editing) override;
    void EnableSave(bool enabled) override;
    std::string EditedText() const override;
    std::string UnwritableCharacters() const override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildWindow();
    void BuildSymbolsMenu();
    void DrawPage();
    void EditButtonClicked();
    void PrintClicked();
    void FileChosen(int row);
    const TextCodec& Codec() const;
    // A line of the file as text, and back: UTF-8 for a UTF-8 file, else the code page.
    QString DecodeLine(std::string_view bytes) const;
    std::string EncodeLine(const QString& text) const;
    // The edit box's lines; a line break typed inside a line (Shift+Enter) starts a new one.
    QStringList EditedLines() const;
    // Typed or pasted suit symbols become the suit markup the notes are written in.
    void ReplaceSuitSymbols();
    // The scroll bar moved: with unsaved text the save question is asked after the bar's
    // own event is over, never from inside it.
    void ScrollBarMoved(int value);
    void AskThenScroll();
    bool ScrollKey(QKeyEvent* event);
    TextLineStyle PageStyle() const;

    AppContext& context_;
    NotesSession session_;
    TextPageCanvas canvas_;
    std::function<void()> help_;
    // The code page of the notes, taken when the window opens.
    const TextCodec* codec_ = nullptr;
    // The lines of the block on show: as read, decoded, and as drawn (cut off when long).
    std::vector<std::string> blockBytes_;
    QStringList shownLines_;
    QStringList drawnLines_;
    // Whether the file on show is UTF-8.
    bool utf8_ = false;
    // The scroll bar's value waiting for the answer to the save question.
    std::optional<int> pendingScroll_;
    // Set while the window fills the edit box or moves the scroll bar itself.
    bool updating_ = false;

    QStackedWidget* faces_ = nullptr;
    QWidget* listFace_ = nullptr;
    QWidget* fileFace_ = nullptr;
    QListWidget* fileList_ = nullptr;
    QLabel* listNotice_ = nullptr;
    QLabel* fileLabel_ = nullptr;
    QStackedWidget* viewOrEdit_ = nullptr;
    QScrollArea* pageArea_ = nullptr;
    QLabel* notesPage_ = nullptr;
    QPlainTextEdit* editBox_ = nullptr;
    QScrollBar* scrollBar_ = nullptr;
    std::array<QPushButton*, 6> buttons_{};
    QPushButton* otherFilesButton_ = nullptr;
    QMenu* symbolsMenu_ = nullptr;
};

} // namespace cw
