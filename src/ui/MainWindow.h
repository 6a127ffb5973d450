#pragma once

#include "CardFormatView.h"
#include "CardLibrary.h"
#include "ChangedState.h"
#include "MainSession.h"
#include "PrintSettings.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace cw {

// The card face's window title: the card's name, its format, the program.
QString CardWindowTitle(const QString& cardName, const QString& formatName);

// The menus of the menu bar, in their order.
enum class MainMenu { File, Edit, View, Options, Help, Count };

class AppContext;
class CardCanvas;
class CardPicture;
class CardRenderer;
class CardFace;
class CardTools;
class UndoHistory;
class FillInController;
class LayoutController;
class NameDialog;
class FormatChooser;
class PrintQuestions;
class ExportFileChooser;
class NotesWindow;
class ReferenceTextWindow;
class StartFace;
class CardOutputCommands;
class ReadingCommands;
class OptionsAndHelpCommands;
class UndoCommands;

// The main window. Its start face lists the cards of the current format with the command
// buttons; its card face shows the open page in the card picture. The logic lives in MainSession;
// the window shows its results and passes the user's actions on.
class MainWindow : public QMainWindow,
                   public CardFormatView,
                   public CardLibraryView,
                   public ChangedStateView {
    Q_OBJECT

public:
    // chooser: where cards go to and come from; nullptr picks a folder with a dialog.
    explicit MainWindow(AppContext& context, TransferFolderChooser* chooser = nullptr,
                        QWidget* parent = nullptr);
    ~MainWindow() override;

    MainSession& Session() { return session_; }
    bool CardFaceShown() const;

    // The renderer that draws the open page on the card picture's canvas.
    CardRenderer& Renderer() { return *renderer_; }
    CardCanvas& Canvas() { return *canvas_; }
    // Filling in the open card: the in-place editors and the option list.
    FillInController& FillIn() { return *fillIn_; }
    // Changing the card's layout: the editing menu and the floating panel.
    LayoutController& Layout() { return *layout_; }
    // The open page's undo history.
    UndoHistory& EditHistory() { return *history_; }
    // Undo (redo false) or redo one change of the card; a layout action in progress is
    // dropped first.
    void UndoStep(bool redo);
    // Checking for cut-off text, comparing with a partner's card, the card history.
    CardTools& Tools() { return *cardTools_; }
    // Printing and "Save Card as".
    CardOutputCommands& Output() { return *output_; }
    // The supplemental notes and the reference texts.
    ReadingCommands& Reading() { return *reading_; }
    // The Options and Help menus.
    OptionsAndHelpCommands& OptionsAndHelp() { return *optionsAndHelp_; }
    // What a click on the special-notice label opens.
    void SetSpecialNoticeHandler(std::function<void()> handler) {
        specialNotice_ = std::move(handler);
    }

    // Commands of the buttons and menus.
    void CommandButton(int index);
    void ShowCardFace() override;
    // Leaves the card face as closing the window there does; false when the user chose to
    // stay (a field being placed).
    bool LeaveCardFace();
    // Ctrl+Page Down, Ctrl+Page Up and the card face's tabs: the other page of the open card
    // at once, after the save question when the page being left has unsaved changes.
    void TurnCard(bool backSide);
    // Ctrl+Q, "Exit": ends the program, from the card face too, after the save questions.
    void Quit();
    void ReturnToStartFace();
    // The chooser with the current format highlighted, or the slot given.
    void OpenFormatChooser(int16_t highlighted = -1);
    // Makes a format from a blank card, makes it current and asks for its first card's name.
    void MakeFormatFromBlankCard();
    // The format chooser's "Export Format..." and "Import Format...": a format as one file.
    void ExportFormatFile(int16_t slot);
    void ImportFormatFile();
    // After a format was added: the settings read again and the chooser opened on it.
    int16_t SlotOfNewFormat(const std::string& code);
    // "New Card from a Filled PDF...": a new card of the current format filled in from a
    // filled copy of its federation form; the card's name is asked as for any new card.
    // The file is asked for when none is given.
    void NewCardFromFilledForm(std::optional<fs::path> filled = std::nullopt);
    void ZoomStep(bool in);
    void SaveZoomFactor();
    void Redraw();
    // F4: asks to save, reloads the card when the answer is No, and draws it again.
    void RefreshScreen();
    // No blinking behind a dialog.
    void PauseBlinking(bool pause);

    // Shortcuts to the command groups, for the commands the window's own controls start.
    void PrintCommand(PrintCardChoice choice);
    void UsePrintQuestions(PrintQuestions* questions);
    void SaveCardAs();
    // Opens a card file given by its path (the command line, a double click in the file
    // manager) on the card face.
    bool OpenCardFile(const std::filesystem::path& file);
    void UseExportFileChooser(ExportFileChooser* chooser);
    void OpenNotes();
    void ShowReferenceText(const std::string& fileName);

    QPushButton* commandButton(int index) const;
    QListWidget* cardList() const;
    QRadioButton* sideButton(int index) const;
    NameDialog* nameDialog() const { return nameDialog_; }
    QMenu* menu(MainMenu which) const { return menus_[size_t(which)]; }
    QLabel* cardStatusLabel() const;
    QLabel* specialNoticeLabel() const;
    FormatChooser* formatChooser() const;
    NotesWindow* notesWindow() const;
    ReferenceTextWindow* referenceTextWindow() const;
    CardFace* cardFace() const { return cardFace_; }
    CardPicture* cardPicture() const;

    // CardFormatView
    void SetSideButtonsEnabled(bool enabled) override;
    void SelectFrontSide() override;
    void SizeCardPicture() override;
    void ShowFormatName(const std::string& displayName) override;
    void SetCardListPattern(const std::string&) override {}
    void ShowFormatPicture(const std::optional<fs::path>& picture) override;
    void ShowSpecialNoticeLabel(bool visible) override;
    void RefillCardList() override;

    // CardLibraryView
    void ShowCardList(const std::vector<std::string>& entries) override;
    void SelectCardInList(int index) override;
    void ShowFirstCardHint(bool visible) override;
    void ShowSelectionPrompt(const std::string& text, bool cancelVisible) override;
    void ShowCardStatus(const std::string& text) override;
    void ShowSide(bool backSide) override;

    // ChangedStateView
    void EnableSaveCommands(bool enabled) override;
    void EnableCardCommands(bool enabled, bool namesEditable) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildStartFace();
    void BuildMenus();
    void BuildCommandGroups();
    void HideEmptyMenus();
    void BuildLayoutEditing();
    void SetStartTitle();
    void SetCardTitle();
    void OpenNameDialog(const std::array<QString, 5>& entries, bool nameReadOnly);
    void NameDialogDone();
    void NameDialogCancelled();
    void FillNewCardFromForm(const fs::path& filled);
    void SideClicked(int side);
    void ListClicked(int row, bool view);
    void SelectionCommand(NameDialogMode mode);
    void EnableCardFaceCommands(bool enabled);

    AppContext& context_;
    std::unique_ptr<TransferFolderChooser> ownChooser_;
    MainSession session_;
    std::unique_ptr<CardCanvas> canvas_;
    std::unique_ptr<CardRenderer> renderer_;
    std::unique_ptr<UndoHistory> history_;
    std::unique_ptr<FillInController> fillIn_;
    std::unique_ptr<LayoutController> layout_;
    CardTools* cardTools_ = nullptr;
    CardOutputCommands* output_ = nullptr;
    ReadingCommands* reading_ = nullptr;
    OptionsAndHelpCommands* optionsAndHelp_ = nullptr;
    UndoCommands* undo_ = nullptr;
    std::function<void()> specialNotice_;

    QStackedWidget* faces_ = nullptr;
    StartFace* startFace_ = nullptr;
    CardFace* cardFace_ = nullptr;
    NameDialog* nameDialog_ = nullptr;
    QPointer<FormatChooser> formatChooser_;
    // The filled form the card being named is to be filled in from.
    std::optional<fs::path> pendingFilledForm_;

    std::array<QMenu*, size_t(MainMenu::Count)> menus_{};
    QLabel* cardHint_ = nullptr;
    QString formatName_;
    QAction* viewCardAction_ = nullptr;
    // The commands of the card face: the card list, zooming.
    std::vector<QAction*> cardFaceActions_;
};

} // namespace cw
