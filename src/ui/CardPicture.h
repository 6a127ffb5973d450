#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

namespace cw {

// The card picture: the zoomed card page. It shows a picture of the whole page that a draw function
// fills (the card renderer drawing on its canvas); paintEvent only copies the picture to the
// screen. Mouse positions are reported in card twips.
class CardPicture : public QWidget {
    Q_OBJECT

public:
    explicit CardPicture(QWidget* parent = nullptr);

    // picture: the page as drawn (kept by its owner); draw: draws the whole page on it.
    void SetSource(const QImage* picture, std::function<void()> draw);
    // The page's size in pixels and how many card twips one pixel covers.
    void SetPageSize(QSize pixels, double cardTwipsPerPixel);
    // Draws the whole page again.
    void Redraw();
    // The editor's marks, shown over the page (transparent where there is none); nullptr
    // for none.
    void SetOverlay(const QImage* overlay);

    const QImage& Image() const { return picture_ ? *picture_ : blank_; }
    QPoint ToCardTwips(QPointF pixel) const;
    QPointF ToPixels(QPoint twips) const;
    double CardTwipsPerPixel() const { return cardTwipsPerPixel_; }

signals:
    // The whole page was drawn again.
    void redrawn();
    void cardMousePressed(QPoint twips, Qt::MouseButton button);
    // The pointer moved with the left button held, and a button was let go (also outside).
    void cardMouseMoved(QPoint twips);
    void cardMouseReleased(QPoint twips, Qt::MouseButton button);
    void cardClicked(QPoint twips);
    void cardDoubleClicked(QPoint twips);
    void cardContextMenu(QPoint twips, QPoint globalPosition);
    void cardKeyPressed(QKeyEvent* event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    const QImage* picture_ = nullptr;
    const QImage* overlay_ = nullptr;
    std::function<void()> draw_;
    QImage blank_;
    double cardTwipsPerPixel_ = 15;
    bool pressed_ = false;
};

} // namespace cw
