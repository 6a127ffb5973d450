#include "RecordingSurface.h"

namespace cw {

void RecordingSurface::DrawText(const QString& text, double x, double y) {
    Call call;
    call.op = Op::Text;
    call.text = text.toStdString();
    call.x1 = x;
    call.y1 = y;
    call.colour = ForeColor();
    call.state = SaveState();
    calls_.push_back(std::move(call));
}

void RecordingSurface::Line(double x1, double y1, double x2, double y2, Rgb colour, LineMode mode) {
    Call call;
    call.op = mode == LineMode::Line ? Op::Line : mode == LineMode::Box ? Op::Box : Op::BoxFill;
    call.x1 = x1;
    call.y1 = y1;
    call.x2 = x2;
    call.y2 = y2;
    call.colour = colour;
    call.state = SaveState();
    calls_.push_back(std::move(call));
}

void RecordingSurface::Circle(double x, double y, double radius, Rgb colour) {
    Call call;
    call.op = Op::Circle;
    call.x1 = x;
    call.y1 = y;
    call.x2 = radius;
    call.colour = colour;
    call.state = SaveState();
    calls_.push_back(std::move(call));
}

void RecordingSurface::PaintPicture(const QImage&, double x, double y, double width,
                                    double height) {
    Call call;
    call.op = Op::Picture;
    call.x1 = x;
    call.y1 = y;
    call.x2 = x + width;
    call.y2 = y + height;
    call.state = SaveState();
    calls_.push_back(std::move(call));
}

void RecordingSurface::PrintRotated(const QString& text, const RotatedFont& font) {
    Call call;
    call.op = Op::Rotated;
    call.text = text.toStdString();
    call.x1 = CurrentX();
    call.y1 = CurrentY();
    call.colour = ForeColor();
    call.rotated = font;
    call.state = SaveState();
    calls_.push_back(std::move(call));
}

void RecordingSurface::Clear() {
    Call call;
    call.op = Op::Clear;
    calls_.push_back(std::move(call));
}

std::vector<RecordingSurface::Call> RecordingSurface::CallsOf(Op op) const {
    std::vector<Call> result;
    for (const Call& call : calls_)
        if (call.op == op)
            result.push_back(call);
    return result;
}

std::vector<std::string> RecordingSurface::Texts() const {
    std::vector<std::string> result;
    for (const Call& call : calls_)
        if (call.op == Op::Text)
            result.push_back(call.text);
    return result;
}

} // namespace cw
