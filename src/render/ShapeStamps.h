#pragma once

#include <QImage>
#include <QPointF>
#include <QRect>
#include <map>
#include <tuple>
#include <vector>

namespace cw {

// Rings, circles and ticks drawn on a picture are not smoothed and have one colour, so a shape
// comes out as the same pixels wherever it lands at the same fraction of a pixel. A card draws
// the same few shapes hundreds of times: each is drawn once into a mask, kept as runs of
// pixels, and set straight into the picture after that.
class ShapeStamps {
public:
    enum class Kind { Ellipse, Line };
    struct Shape {
        Kind kind = Kind::Ellipse;
        // Ellipse: the centre; line: its first end. In device pixels.
        QPointF anchor;
        // Ellipse: the two radii; line: from the first end to the second.
        QPointF extent;
        // As the pen is given it: 0 for a one-pixel (cosmetic) pen.
        int penWidth = 0;
    };

    // Sets the shape's pixels of an RGB32 picture to colour and returns the pixels it may
    // have set; an empty rectangle when the shape cannot be stamped (its mask has smoothed
    // pixels, or the picture is of another format), and the caller draws it itself.
    QRect Stamp(const Shape& shape, QImage& picture, QRgb colour);

    // Draws the shape with a painter set up as the picture's is: the one way both the masks
    // and the shapes that cannot be stamped are drawn.
    static void Draw(QPainter& painter, const Shape& shape, const QPointF& anchor);

private:
    struct Run {
        int y, left, right; // right included
    };
    struct Runs {
        QRect bounds; // relative to the anchor's pixel
        std::vector<Run> runs;
        bool usable = false;
    };
    using Key = std::tuple<int, double, double, double, double, int>;

    const Runs& RunsOf(const Shape& shape, double fractionX, double fractionY);

    static constexpr size_t kMaxKept = 512;
    std::map<Key, Runs> kept_;
};

} // namespace cw
