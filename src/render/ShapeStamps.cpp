#include "ShapeStamps.h"

#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

namespace cw {

void ShapeStamps::Draw(QPainter& painter, const Shape& shape, const QPointF& anchor) {
    if (shape.kind == Kind::Ellipse)
        painter.drawEllipse(anchor, shape.extent.x(), shape.extent.y());
    else
        painter.drawLine(anchor, anchor + shape.extent);
}

const ShapeStamps::Runs& ShapeStamps::RunsOf(const Shape& shape, double fractionX,
                                             double fractionY) {
    const Key key{int(shape.kind),  fractionX,        fractionY,
                  shape.extent.x(), shape.extent.y(), shape.penWidth};
    if (auto it = kept_.find(key); it != kept_.end())
        return it->second;
    if (kept_.size() >= kMaxKept)
        kept_.clear();

    // Room for the pen and its square caps on every side.
    const double reach = shape.penWidth + 3;
    const QPointF far = shape.kind == Kind::Ellipse ? shape.extent : QPointF();
    const QPointF near = shape.kind == Kind::Ellipse ? -shape.extent : QPointF();
    const QPointF end = shape.kind == Kind::Line ? shape.extent : QPointF();
    const int left = int(std::floor(std::min({near.x(), end.x(), 0.0}) - reach));
    const int top = int(std::floor(std::min({near.y(), end.y(), 0.0}) - reach));
    const int right = int(std::ceil(std::max({far.x(), end.x(), 0.0}) + reach)) + 1;
    const int bottom = int(std::ceil(std::max({far.y(), end.y(), 0.0}) + reach)) + 1;

    Runs runs;
    QImage mask(right - left + 1, bottom - top + 1, QImage::Format_ARGB32_Premultiplied);
    if (!mask.isNull()) {
        mask.fill(Qt::transparent);
        {
            QPainter painter(&mask);
            painter.setRenderHint(QPainter::Antialiasing, false);
            QPen pen(Qt::black);
            pen.setWidth(shape.penWidth);
            pen.setCapStyle(Qt::SquareCap);
            pen.setJoinStyle(Qt::MiterJoin);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            Draw(painter, shape, QPointF(fractionX - left, fractionY - top));
        }
        runs.usable = true;
        for (int y = 0; y < mask.height() && runs.usable; ++y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
            for (int x = 0; x < mask.width();) {
                const int alpha = qAlpha(line[x]);
                if (alpha == 0) {
                    ++x;
                    continue;
                }
                if (alpha != 255) {
                    runs.usable = false;
                    break;
                }
                int last = x;
                while (last + 1 < mask.width() && qAlpha(line[last + 1]) == 255)
                    ++last;
                runs.runs.push_back({y + top, x + left, last + left});
                runs.bounds |= QRect(QPoint(x + left, y + top), QPoint(last + left, y + top));
                x = last + 1;
            }
        }
    }
    return kept_.emplace(key, std::move(runs)).first->second;
}

QRect ShapeStamps::Stamp(const Shape& shape, QImage& picture, QRgb colour) {
    if (picture.format() != QImage::Format_RGB32)
        return {};
    const double pixelX = std::floor(shape.anchor.x()), pixelY = std::floor(shape.anchor.y());
    const Runs& runs = RunsOf(shape, shape.anchor.x() - pixelX, shape.anchor.y() - pixelY);
    if (!runs.usable)
        return {};
    const int dx = int(pixelX), dy = int(pixelY);
    const QRect inside = picture.rect();
    uchar* bits = picture.bits();
    const qsizetype stride = picture.bytesPerLine();
    for (const Run& run : runs.runs) {
        const int y = run.y + dy;
        if (y < inside.top() || y > inside.bottom())
            continue;
        const int from = std::max(run.left + dx, inside.left());
        const int to = std::min(run.right + dx, inside.right());
        if (from > to)
            continue;
        QRgb* line = reinterpret_cast<QRgb*>(bits + y * stride);
        std::fill(line + from, line + to + 1, colour | 0xFF000000u);
    }
    // Nothing set is still a stamp done: a shape wholly off the picture.
    QRect set = runs.bounds.translated(dx, dy);
    return set.isEmpty() ? QRect(dx, dy, 1, 1) : set;
}

} // namespace cw
