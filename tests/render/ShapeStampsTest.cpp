#include "ShapeStamps.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace cw;

namespace {

// The shape as the painter draws it on a picture: no smoothing, square caps.
QImage Painted(const ShapeStamps::Shape& shape, QSize size, QRgb colour) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen{QColor(colour)};
    pen.setWidth(shape.penWidth);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    ShapeStamps::Draw(painter, shape, shape.anchor);
    return picture;
}

} // namespace

TEST(ShapeStampsTest, AStampedShapeIsPixelForPixelThePaintedOneWhereverItLands) {
    const QSize size(90, 70);
    const QRgb colour = qRgb(200, 30, 60);
    ShapeStamps stamps;
    int stamped = 0, compared = 0;
    const double fractions[] = {0, 0.25, 1.0 / 3, 0.5, 2.0 / 3, 0.8};
    // The same shapes again at other whole pixels reuse the masks; some reach off the edge.
    const QPointF places[] = {{40, 30}, {12, 51}, {3, 2}, {86, 66}};
    for (const QPointF place : places)
        for (double fx : fractions)
            for (double fy : fractions) {
                const QPointF anchor = place + QPointF(fx, fy);
                const ShapeStamps::Shape shapes[] = {
                    {ShapeStamps::Kind::Ellipse, anchor, {8, 8}, 0},
                    {ShapeStamps::Kind::Ellipse, anchor, {13, 9}, 2},
                    {ShapeStamps::Kind::Ellipse, anchor, {4, 4}, 3},
                    {ShapeStamps::Kind::Line, anchor, {5.4, 6.7}, 2},
                    {ShapeStamps::Kind::Line, anchor, {10.7, -14.2}, 2},
                    {ShapeStamps::Kind::Line, anchor, {-7.5, 3.1}, 0},
                };
                for (const ShapeStamps::Shape& shape : shapes) {
                    const QImage painted = Painted(shape, size, colour);
                    QImage picture(size, QImage::Format_RGB32);
                    picture.fill(Qt::white);
                    const QRect set = stamps.Stamp(shape, picture, colour);
                    ++compared;
                    if (set.isEmpty())
                        continue; // drawn by the painter instead: nothing to compare
                    ++stamped;
                    ASSERT_EQ(picture, painted)
                        << "kind " << int(shape.kind) << " at " << anchor.x() << "," << anchor.y()
                        << " pen " << shape.penWidth;
                    // What was set lies inside what the stamp says it set.
                    for (int y = 0; y < size.height(); ++y)
                        for (int x = 0; x < size.width(); ++x)
                            if (picture.pixel(x, y) != qRgb(255, 255, 255)) {
                                ASSERT_TRUE(set.contains(x, y)) << x << "," << y;
                            }
                }
            }
    // Unsmoothed shapes are all stamped: the fast way is the one taken.
    EXPECT_EQ(stamped, compared);
}
