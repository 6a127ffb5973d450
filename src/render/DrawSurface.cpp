#include "DrawSurface.h"

namespace cw {

void DrawSurface::SettlePrintPosition() const {
    if (!pendingAdvance_)
        return;
    QString text = std::move(*pendingAdvance_);
    pendingAdvance_.reset();
    state_.currentX += TextWidthIn(pendingFont_, text);
}

double DrawSurface::CurrentX() const {
    SettlePrintPosition();
    return state_.currentX;
}

void DrawSurface::SetCurrentX(double x) {
    pendingAdvance_.reset();
    state_.currentX = x;
}

void DrawSurface::Print(const QString& text) {
    SettlePrintPosition();
    if (text.isEmpty())
        return;
    if (PaintingOut())
        CoverText(text, state_.currentX, state_.currentY);
    else
        DrawText(text, state_.currentX, state_.currentY);
    pendingAdvance_ = text;
    pendingFont_ = state_;
}

void DrawSurface::PaintOut(const QString& text) {
    PaintOutScope out(*this);
    Print(text);
}

void DrawSurface::CoverText(const QString& text, double x, double y) {
    const Rgb foreColor = state_.foreColor;
    state_.foreColor = colour::White;
    DrawText(text, x, y);
    state_.foreColor = foreColor;
}

void DrawSurface::SetFontName(const QString& name) {
    state_.fontName = name;
}

void DrawSurface::SetFontSize(double points) {
    state_.fontSize = points;
}

void DrawSurface::SetFontBold(bool bold) {
    state_.fontBold = bold;
}

void DrawSurface::SetFontItalic(bool italic) {
    state_.fontItalic = italic;
}

void DrawSurface::SetFontUnderline(bool underline) {
    state_.fontUnderline = underline;
}

SurfaceState DrawSurface::SaveState() const {
    SettlePrintPosition();
    return state_;
}

void DrawSurface::RestoreState(const SurfaceState& state) {
    pendingAdvance_.reset();
    state_ = state;
}

void DrawSurface::ResetDrawingState() {
    state_.foreColor = colour::Black;
    state_.fillColor = colour::Black;
    state_.fillStyle = FillTransparent;
    state_.drawWidth = 1;
}

} // namespace cw
