#pragma once

#include "ViewScaling.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QScrollBar;
class QTabBar;
class QToolButton;

namespace cw {

class CardPicture;

// The part of the card picture (its geometry in the viewport's pixels) that the viewport
// shows, in card twips of the picture, kept margin pixels inside its edges. A viewport wider
// or taller than the card shows the whole card that way and no more.
VisibleCardArea VisibleCardPart(QSize viewport, QRect picture, double cardTwipsPerPixel,
                                int margin);

// The card face: the card picture in a clipping viewport moved by its two scroll bars, and a
// strip with the zoom buttons, the zoom factor label and "Save Zoom Factor".
// Scroll values are the window's twips.
class CardFace : public QWidget {
    Q_OBJECT

public:
    explicit CardFace(QWidget* parent = nullptr);

    CardPicture* cardPicture() const { return cardPicture_; }
    QScrollBar* horizontalScrollBar() const { return horizontalBar_; }
    // The zoom in and zoom out buttons, side by side.
    QWidget* zoomButtons() const { return zoomButtons_; }
    QScrollBar* verticalScrollBar() const { return verticalBar_; }
    // "Front" and "Back" above the card: the page on show, and a click turns the card over.
    QTabBar* sideTabs() const { return sideTabs_; }
    void ShowSide(bool backSide);
    void SetSidesEnabled(bool enabled);

    // The zoomed page (PWIDTH x PHEIGHT window twips) at viewScale; offset and rightOffset are
    // the format's horizontal scroll offsets (catalogue columns 19 and 20).
    void SetPage(float pwidth, float pheight, float viewScale, int twipsPerPixel, int32_t offset,
                 int32_t rightOffset);
    void ShowZoomFactor(float zoomFactor);

    // Moves a bar by its large change (Page keys, F11/F12): -1 back, +1 forward, kept
    // inside its range.
    void ScrollPage(Qt::Orientation orientation, int direction);

    // Home, End (top, bottom) and Ctrl+Home, Ctrl+End (the top left and bottom right
    // corners): true when key is one of them.
    bool ScrollToEnd(int key, Qt::KeyboardModifiers modifiers);

    // Scrolls so that a part of the card (card twips) is in the middle of the view, unless
    // it is on show already.
    void ScrollToShow(const QRect& card);

    // The card's part on show, in card twips.
    VisibleCardArea Visible() const { return visible_; }
    // The inner size in twips that the scroll ranges are computed from.
    int32_t InnerWidthTwips() const { return width() * twipsPerPixel_; }
    int32_t InnerHeightTwips() const { return height() * twipsPerPixel_; }

signals:
    void zoomRequested(bool in);
    // The part of the card on show changed (scrolled, zoomed, resized).
    void shownAreaChanged();
    void saveZoomRequested();
    // A side tab was clicked: 0 front, 1 back.
    void sideRequested(int side);

protected:
    void resizeEvent(QResizeEvent* event) override;
    // The wheel over the card, or beside it, scrolls the card (Shift+wheel across);
    // Ctrl+wheel zooms a step per notch.
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdateScrollRanges();
    void PlacePicture();
    // Moves a bar by twips, kept inside its range.
    static void ScrollBy(QScrollBar* bar, int twips);
    void TurnWheel(QWheelEvent* event);

    CardPicture* cardPicture_ = nullptr;
    QTabBar* sideTabs_ = nullptr;
    QWidget* viewport_ = nullptr;
    QScrollBar* horizontalBar_ = nullptr;
    QScrollBar* verticalBar_ = nullptr;
    QLabel* zoomFactorLabel_ = nullptr;
    QWidget* zoomButtons_ = nullptr;
    QToolButton* zoomIn_ = nullptr;
    QToolButton* zoomOut_ = nullptr;
    QPushButton* saveZoomButton_ = nullptr;

    ViewState view_;
    int twipsPerPixel_ = 15;
    int32_t offset_ = 0, rightOffset_ = 0;
    VisibleCardArea visible_;
    // Ctrl+wheel turned short of a whole notch so far (fine wheels, touchpads).
    int zoomWheel_ = 0;
};

} // namespace cw
