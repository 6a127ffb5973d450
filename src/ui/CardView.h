#pragma once

#include "ViewScaling.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QScrollBar;
class QToolButton;

namespace cw {

class CardPicture;

// The card face: pic1 in a clipping viewport moved by the scroll bars HScroll and VScroll,
// and a strip with the zoom control SpinZoom, the Zoom Factor Label4 and "Save Zoom Factor".
// Scroll values are the window's twips.
class CardView : public QWidget {
    Q_OBJECT

public:
    explicit CardView(QWidget* parent = nullptr);

    CardPicture* Picture() const { return pic1_; }
    QScrollBar* HScroll() const { return hScroll_; }
    QScrollBar* VScroll() const { return vScroll_; }

    // The zoomed page (PWIDTH x PHEIGHT window twips) at viewScale; offset and rightOffset are
    // the format's horizontal scroll offsets (catalogue columns 19 and 20).
    void SetPage(float pwidth, float pheight, float viewScale, int twipsPerPixel, int32_t offset,
                 int32_t rightOffset);
    void ShowZoomFactor(float zoomFactor);

    // Moves a bar by its large change (Page keys, F11/F12): -1 back, +1 forward, kept
    // inside its range.
    void ScrollPage(Qt::Orientation orientation, int direction);

    // The card's part on show, in card twips.
    VisibleCardArea Visible() const { return visible_; }
    // The inner size in twips that the scroll ranges are computed from.
    int32_t InnerWidthTwips() const { return width() * twipsPerPixel_; }
    int32_t InnerHeightTwips() const { return height() * twipsPerPixel_; }

signals:
    void zoomRequested(bool in);
    void saveZoomRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void UpdateScrollRanges();
    void PlacePicture();

    CardPicture* pic1_ = nullptr;
    QWidget* viewport_ = nullptr;
    QScrollBar* hScroll_ = nullptr;
    QScrollBar* vScroll_ = nullptr;
    QLabel* label4_ = nullptr;
    QToolButton* zoomIn_ = nullptr;
    QToolButton* zoomOut_ = nullptr;
    QPushButton* saveZoom_ = nullptr;

    ViewState view_;
    int twipsPerPixel_ = 15;
    int32_t offset_ = 0, rightOffset_ = 0;
    VisibleCardArea visible_;
};

} // namespace cw
