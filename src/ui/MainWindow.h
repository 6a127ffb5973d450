#pragma once

#include "CardFormatView.h"
#include "CardLibrary.h"
#include "ChangedState.h"
#include "MainSession.h"
#include "PrintSettings.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>

class QAction;
class QButtonGroup;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTimer;

namespace cw {

// The menus of the menu bar, in their order.
enum class MainMenu { File, Edit, View, Options, Help, Count };

class AppContext;
class CanvasCardView;
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
    // What a click on the special-notice label opens.
    void SetSpecialNoticeHandler(std::function<void()> handler) {
        specialNotice_ = std::move(handler);
    }

    // Commands of the buttons and menus.
    void CommandButton(int index);
    void ShowCardFace() override;
    // Leaves the card face as closing the window there does.
    void LeaveCardFace();
    void ReturnToStartFace();
    void OpenFormatChooser();
    void ZoomStep(bool in);
    void SaveZoomFactor();
    void Redraw();
    // "Print My Card", "Print Partner's Card", "Print Both Cards".
    void PrintCommand(PrintCardChoice choice);
    // Who answers the print job's questions; nullptr (the default) shows the print window.
    void UsePrintQuestions(PrintQuestions* questions) { printQuestions_ = questions; }
    // "Save Card as ...." and the start face's "Save Card as (JPG, GIF, BMP)".
    void SaveCardAs();
    // Who asks for the file; nullptr (the default) shows the save dialog.
    void UseExportFileChooser(ExportFileChooser* chooser) { exportChooser_ = chooser; }
    // F4: asks to save, reloads the card when the answer is No, and draws it again.
    void RefreshScreen();
    // Options menu: the card formats' defaults (after the save question; the card is drawn
    // again afterwards) and the mail settings of error reports.
    void OpenCardOptions();
    void OpenMailSettings();
    // Help menu and F1: the card face's help while a card is shown, otherwise the index.
    void ShowHelp();
    void ShowAbout();
    // F9: the supplemental notes, following the "[n]" of the selected field.
    void OpenNotes();
    // A reference text of the data folder in the reference texts window.
    void ShowReferenceText(const std::string& fileName);
    // The text of the card field being filled in, as typed so far; none when no text field
    // is selected.
    std::optional<std::string> SelectedFieldText();

    QPushButton* commandButton(int index) const { return commandButtons_[size_t(index)]; }
    QListWidget* cardList() const { return cardList_; }
    QRadioButton* sideButton(int index) const { return sideButtons_[size_t(index)]; }
    NameDialog* nameDialog() const { return nameDialog_; }
    QMenu* menu(MainMenu which) const { return menus_[size_t(which)]; }
    QLabel* cardStatusLabel() const { return cardStatusLabel_; }
    QLabel* specialNoticeLabel() const { return specialNoticeLabel_; }
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
    void BuildOptionsCommands();
    void BuildHelpCommands();
    void BuildPrintCommands();
    // The open card copied under a new name (the card filter of "Save Card as").
    bool CopyOpenCardAs(const std::string& newName);
    void BuildNotesAndTextsCommands();
    void BuildCardToolCommands();
    void HideEmptyMenus();
    void BuildUndoCommands();
    void BuildLayoutEditing();
    void UpdateUndoCommands();
    void SetStartTitle();
    void OpenNameDialog(const std::array<QString, 5>& entries, bool nameReadOnly);
    void PauseBlinking(bool pause);
    void NameDialogDone();
    void NameDialogCancelled();
    void SideClicked(int side);
    void ListClicked(int row, bool view);
    void SelectionCommand(NameDialogMode mode);

    AppContext& context_;
    std::unique_ptr<TransferFolderChooser> ownChooser_;
    MainSession session_;
    std::unique_ptr<CardCanvas> canvas_;
    std::unique_ptr<CanvasCardView> canvasView_;
    std::unique_ptr<CardRenderer> renderer_;
    std::unique_ptr<UndoHistory> history_;
    std::unique_ptr<FillInController> fillIn_;
    std::unique_ptr<LayoutController> layout_;
    CardTools* cardTools_ = nullptr;
    std::function<void()> specialNotice_;

    QStackedWidget* faces_ = nullptr;
    QWidget* startFace_ = nullptr;
    CardFace* cardFace_ = nullptr;
    QListWidget* cardList_ = nullptr;
    QLabel* listLabel_ = nullptr;
    QLabel* formatNameLabel_ = nullptr;
    QLabel* formatPicture_ = nullptr;
    QLabel* cardStatusLabel_ = nullptr;
    QLabel* selectionPromptLabel_ = nullptr;
    QLabel* specialNoticeLabel_ = nullptr;
    QLabel* firstCardHint_ = nullptr;
    QPushButton* cancelSelectionButton_ = nullptr;
    std::array<QPushButton*, 10> commandButtons_{};
    std::array<QRadioButton*, 2> sideButtons_{};
    QButtonGroup* sideGroup_ = nullptr;
    QTimer* blinkTimer_ = nullptr;
    NameDialog* nameDialog_ = nullptr;
    QPointer<FormatChooser> formatChooser_;
    QPointer<QWidget> aboutDialog_;
    QPointer<NotesWindow> notesWindow_;
    QPointer<ReferenceTextWindow> referenceTextWindow_;

    std::array<QMenu*, size_t(MainMenu::Count)> menus_{};
    QAction* viewCardAction_ = nullptr;
    QAction* cardListAction_ = nullptr;
    QAction* zoomInAction_ = nullptr;
    QAction* zoomOutAction_ = nullptr;
    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
    bool namesEditable_ = true;
    // The commands that need an open card.
    std::vector<QAction*> cardActions_;
    PrintQuestions* printQuestions_ = nullptr;
    ExportFileChooser* exportChooser_ = nullptr;
};

} // namespace cw
