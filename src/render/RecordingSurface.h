#pragma once

#include "DrawSurface.h"

#include <string>
#include <vector>

namespace cw {

// A surface that draws nothing and writes down every drawing call with the state it was
// made in. Every character is the same width and every line the same height, so that the
// layout of text can be checked to the twip whatever fonts the machine has.
class RecordingSurface : public DrawSurface {
public:
    enum class Op { Text, Line, Box, BoxFill, Circle, Picture, Rotated, Clear };

    struct Call {
        Op op = Op::Text;
        std::string text;                      // UTF-8
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0; // text: the cell's corner in x1, y1
        Rgb colour = 0;                        // ForeColor for text, the given colour for shapes
        SurfaceState state;
        RotatedFont rotated;
    };

    explicit RecordingSurface(double charWidth = 100, double lineHeight = 200)
        : charWidth_(charWidth), lineHeight_(lineHeight) {}

    // Makes the recorder stand for a printer of the given resolution and page height.
    void ActAsPrinter(double deviceTwipsPerPixel, double pageHeight) {
        printer_ = true;
        deviceTwipsPerPixel_ = deviceTwipsPerPixel;
        pageHeight_ = pageHeight;
    }

    // Widths grow with the font size (charWidth at 10 points) instead of staying fixed.
    void SetWidthFollowsFontSize(bool follows) { widthFollowsSize_ = follows; }

    void Line(double x1, double y1, double x2, double y2, Rgb colour,
              LineMode mode = LineMode::Line) override;
    void Circle(double x, double y, double radius, Rgb colour) override;
    void PaintPicture(const QImage& picture, double x, double y, double width,
                      double height) override;
    void PrintRotated(const QString& text, const RotatedFont& font) override;
    void Clear() override;
    bool IsPrinter() const override { return printer_; }
    double DeviceTwipsPerPixel() const override { return deviceTwipsPerPixel_; }
    double PageHeight() const override { return pageHeight_; }

    const std::vector<Call>& Calls() const { return calls_; }
    std::vector<Call> CallsOf(Op op) const;
    // The texts printed, in order.
    std::vector<std::string> Texts() const;
    void Forget() { calls_.clear(); }

protected:
    double TextWidthIn(const SurfaceState& font, const QString& text) const override {
        double width = charWidth_ * double(text.size());
        return widthFollowsSize_ ? width * font.fontSize / 10.0 : width;
    }
    double TextHeightIn(const SurfaceState&, const QString&) const override { return lineHeight_; }
    void DrawText(const QString& text, double x, double y) override;

private:
    double charWidth_;
    double lineHeight_;
    bool widthFollowsSize_ = false;
    bool printer_ = false;
    double deviceTwipsPerPixel_ = 15;
    double pageHeight_ = 0;
    std::vector<Call> calls_;
};

} // namespace cw
