#pragma once

#include "LayoutEditSession.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <functional>
#include <memory>

class QWidget;

namespace cw {

class AppContext;
class CardCanvas;
class CardFace;
class UndoHistory;
class CardPicture;
class CardRenderer;
class ChangedState;
class CheckBoxMarker;
class EditingMenu;
class EditorGrip;
class FillInController;
class LayoutPanel;
class LinePreview;
class RubberBand;

// Layout editing on the card face: the editing menu, the floating panel, and the controls
// that stand for the field being placed (rubber band, line preview, check-box marker, an
// in-place editor with its grip) over the card picture. The session decides; this class
// shows its state and passes the user's actions on, in card twips.
class LayoutController : public QObject, public LayoutEditView {
    Q_OBJECT

public:
    LayoutController(AppContext& context, ChangedState& changed, UndoHistory& history,
                     CardFace& cardFace, CardRenderer& renderer, CardCanvas& canvas,
                     FillInController& fillIn);
    ~LayoutController() override;

    LayoutEditSession& Session() { return *session_; }
    // A layout action is in force (clicks on the card belong to it).
    bool Editing() const { return session_->State().EditMode != EditingStep::FillingIn; }

    EditingMenu* editingMenu() const { return menu_; }
    LayoutPanel* panel() const { return panel_; }
    RubberBand* rubberBand() const { return rubberBand_; }
    LinePreview* linePreview() const { return linePreview_; }
    CheckBoxMarker* checkBoxMarker() const { return marker_; }
    EditorGrip* editorGrip() const { return grip_; }
    // The in-place editor that stands for the text field being placed, or nullptr.
    QWidget* layoutEditor() const;

    // The card picture's mouse, in card twips as the picture reports them.
    void MousePressed(QPoint twips, Qt::MouseButton button);
    void MouseMoved(QPoint twips);
    void MouseReleased(QPoint twips);
    void Clicked(QPoint twips);
    void ContextMenu(QPoint twips, QPoint globalPosition);
    // An item of the editing menu (also reached from the panel's "Edit Options").
    void MenuItem(int index);
    // Keys on the card picture while an action is in force: the arrows move the field one
    // pixel (with Shift they size it), Escape drops what is pending. True when used.
    bool KeyPressed(int key, Qt::KeyboardModifiers modifiers);
    // F5..F8 while the layout editor is open.
    bool InsertSuit(char letter);
    // F4 during layout editing.
    void RefreshScreen();
    // The card face is left: layout editing ends without a question.
    void Abandon();
    // Puts the panel and the controls back over the card after the picture moved or was
    // zoomed.
    void PlaceOverlays();

    // What the "Help" and "Save Card As ..." commands open; without them the commands are
    // not offered.
    void SetHelpHandler(std::function<void(int topic)> handler);
    void SetSaveAsHandler(std::function<void()> handler);
    // The font dialog (tests answer it themselves).
    void SetFontChooser(std::function<std::optional<FontChoice>(const FontChoice&)> chooser) {
        fontChooser_ = std::move(chooser);
    }

    // LayoutEditView
    void LayoutChanged(unsigned changes) override;
    void RedrawCard() override;
    std::string EditorText() const override;
    void SetEditorText(const std::string& text) override;
    std::optional<FontChoice> ChooseFont(const FontChoice& preset) override;
    void ReloadCard() override;
    void ShowHelp(int topic) override;
    void SaveCardAs() override;
    void LayoutEditingDone() override;
    CardArea VisibleCard() const override;
    std::pair<double, double> PanelSize(int menuIndex) const override;
    std::pair<double, double> MarkerOffsetOnPanel() const override;
    HitMetrics Metrics() const override;
    int32_t TextColourOfCode(int32_t code) const override;

signals:
    // Something the window follows changed (pending action, mode).
    void stateChanged();
    void zoomRequested(bool in);
    void saveZoomRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ConnectPanel();
    void UpdatePanel();
    void UpdatePickers();
    void UpdatePlacement();
    void UpdateEditor();
    void ShowOnly(QWidget* overlay);
    QRect PixelRect(const TwipRect& rect) const;
    QPointF ToPagePixels(double x, double y) const;
    QPointF ToPageTwips(QPoint pixels) const;
    double PageX(QPoint twips) const;
    void UpdateMenuItems();

    AppContext& context_;
    UndoHistory& history_;
    CardFace& cardFace_;
    CardRenderer& renderer_;
    CardCanvas& canvas_;
    FillInController& fillIn_;
    std::unique_ptr<LayoutEditSession> session_;

    EditingMenu* menu_ = nullptr;
    LayoutPanel* panel_ = nullptr;
    RubberBand* rubberBand_ = nullptr;
    LinePreview* linePreview_ = nullptr;
    CheckBoxMarker* marker_ = nullptr;
    EditorGrip* grip_ = nullptr;
    QPointer<QWidget> editor_;

    std::function<void(int)> help_;
    std::function<void()> saveAs_;
    std::function<std::optional<FontChoice>(const FontChoice&)> fontChooser_;
};

} // namespace cw
