#pragma once

#include "FillInSession.h"

#include <QObject>
#include <QPoint>
#include <QString>
#include <array>

class QKeyEvent;
class QListWidget;
class QWidget;

namespace cw {

class AppContext;
class CardCanvas;
class CardPicture;
class CardRenderer;
class CardFace;
class ChangedState;

// Filling in a card on the card face: the six in-place field editors over the card picture,
// the option list, and the keys of the editors. The session decides; this class shows its
// decisions with widgets and redraws single records through the renderer.
class FillInController : public QObject, public FillInView {
    Q_OBJECT

public:
    FillInController(AppContext& context, ChangedState& changed, CardFace& cardView,
                     CardRenderer& renderer, CardCanvas& canvas);
    ~FillInController() override;

    FillInSession& Session() { return session_; }

    // Editors 0..2 are one-line (left, right, centre), 3..5 wrap.
    QWidget* fieldEditor(int index) const { return editors_[size_t(index)]; }
    QListWidget* optionList() const { return optionList_; }
    // The editor open on CurrentField, or nullptr.
    QWidget* OpenEditor() const;
    QString EditorText() const;
    // Any of the six editors, also while layout editing places a field with one: its text
    // (line breaks as the card file holds them) and a text put into it by the program.
    QString EditorTextOf(QWidget* editor) const;
    void SetEditorText(QWidget* editor, const QString& text);
    // F5..F8 in a given editor: suit markup at its caret.
    bool InsertSuitInto(QWidget* editor, char letter);

    // A left click on the card picture at a point in card twips.
    void Click(QPoint twips);
    // The card face opened: filling in starts on the first text field (field 31 on the back
    // page of ACBL cards).
    void StartFilling();
    // Stores what the open editor holds and closes it (before saving, redrawing, leaving).
    void CommitOpenEditor();
    // Closes the editor without storing (the card was reloaded).
    void Reset();
    // F5..F8: suit markup at the caret of the open editor.
    bool InsertSuit(char letter);
    // Puts the open editor back over its field after the page moved or was zoomed.
    void PlaceOpenEditor();

    // FillInView
    void OpenEditor(int textFieldIndex) override;
    void HideEditor() override;
    void RedrawRecord(int kind, int index, std::optional<int32_t> fill) override;
    void RedrawCircledItem(int index) override;
    void ShowOptionList(int optionFieldIndex, int choice) override;
    void HideOptionList() override;
    void MarkChanged() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildEditors(QWidget* parent);
    bool EditorKey(QKeyEvent* event);
    void CommitFrom(QWidget* editor);
    void SetCaret(QWidget* editor, int position);
    void StyleEditor(QWidget* editor, int fieldIndex);
    void RefreshPicture();
    // Whether an option field lies under a point of the card (card twips).
    bool OptionFieldAt(QPoint twips) const;
    // "!c", "!d", "!h", "!s" just typed become the suit's symbol.
    void TypedSuit(QWidget* editor);

    AppContext& context_;
    ChangedState& changed_;
    CardFace& cardFace_;
    CardRenderer& renderer_;
    CardCanvas& canvas_;
    FillInSession session_;

    std::array<QWidget*, 6> editors_{};
    QListWidget* optionList_ = nullptr;
    // The editor bound to CurrentField; -1 when none is open.
    int boundEditor_ = -1;
    bool replacingSuit_ = false;
};

} // namespace cw
