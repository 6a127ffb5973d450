#include "CardPicture.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace cw {

CardPicture::CardPicture(QWidget* parent) : QWidget(parent) {
    setObjectName("cardPicture");
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CardPicture::SetSource(const QImage* picture, std::function<void()> draw) {
    picture_ = picture;
    draw_ = std::move(draw);
}

void CardPicture::SetPageSize(QSize pixels, double cardTwipsPerPixel) {
    cardTwipsPerPixel_ = cardTwipsPerPixel > 0 ? cardTwipsPerPixel : 15;
    resize(pixels.expandedTo(QSize(1, 1)));
}

void CardPicture::Redraw() {
    if (draw_)
        draw_();
    emit redrawn();
    update();
}

void CardPicture::SetOverlay(const QImage* overlay) {
    overlay_ = overlay;
    update();
}

QPoint CardPicture::ToCardTwips(QPointF pixel) const {
    return QPoint(int(std::lround(pixel.x() * cardTwipsPerPixel_)),
                  int(std::lround(pixel.y() * cardTwipsPerPixel_)));
}

QPointF CardPicture::ToPixels(QPoint twips) const {
    return QPointF(twips.x() / cardTwipsPerPixel_, twips.y() / cardTwipsPerPixel_);
}

void CardPicture::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);
    painter.drawImage(event->rect(), Image(), event->rect());
    if (overlay_ && overlay_->size() == Image().size())
        painter.drawImage(event->rect(), *overlay_, event->rect());
}

void CardPicture::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    emit cardMousePressed(ToCardTwips(event->position()), event->button());
}

void CardPicture::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton)
        emit cardMouseMoved(ToCardTwips(event->position()));
}

void CardPicture::mouseReleaseEvent(QMouseEvent* event) {
    emit cardMouseReleased(ToCardTwips(event->position()), event->button());
    if (pressed_ && event->button() == Qt::LeftButton && rect().contains(event->pos()))
        emit cardClicked(ToCardTwips(event->position()));
    pressed_ = false;
}

void CardPicture::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit cardDoubleClicked(ToCardTwips(event->position()));
}

void CardPicture::contextMenuEvent(QContextMenuEvent* event) {
    emit cardContextMenu(ToCardTwips(event->pos()), event->globalPos());
}

void CardPicture::keyPressEvent(QKeyEvent* event) {
    // A handler that acts on the key accepts it.
    event->ignore();
    emit cardKeyPressed(event);
    if (!event->isAccepted())
        QWidget::keyPressEvent(event);
}

} // namespace cw
