#include "OverflowCheck.h"

#include "DrawingContext.h"
#include "FieldRecords.h"
#include "PrintedPage.h"
#include "TextDrawer.h"
#include "TextExtentSurface.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace cw {

namespace {

// The text drawer on a measuring surface, with the fonts of the request's side for the
// card's fields.
struct Measurer {
    Measurer(ErrorTrap& errors, const RenderRequest& request, RenderState& state, FontBook& fonts)
        : surface(fonts, request.profile.referenceScale, request.mapping.viewScale),
          text(errors, drawing, state) {
        drawing.page = request.page;
        drawing.profile = request.profile;
        drawing.backSide = request.backSide;
        drawing.viewScale = request.mapping.viewScale;
        drawing.twipsPerPixel = request.mapping.twipsPerPixel;
        drawing.fonts = request.profile.defaults;
        drawing.UseFontBlock(false);
        text.SetSurface(&surface);
    }
    DrawingContext drawing;
    TextExtentSurface surface;
    TextDrawer text;
};

std::optional<OverflowCheck::Extent> Measure(Measurer& m, const CardField& field) {
    TextExtentSurface& surface = m.surface;
    surface.Forget();
    const TextRecord box(field.a);
    int32_t y = box.y();
    m.text.DrawFieldText(box.x(), y, field.text, box.width(), box.height(), box.colourCode(),
                         box.style());
    if (!surface.HasText())
        return std::nullopt;
    OverflowCheck::Extent extent;
    extent.cells = surface.Extent();
    extent.lastLineBottom = extent.cells.bottom();
    if (box.height() != TextDrawer::SingleLineHeight) {
        // Lines follow each other at the height of the field's font; a suit symbol's cell
        // may reach lower than the line it sits on.
        const SurfaceState saved = surface.SaveState();
        m.text.ApplyFieldFont(surface, m.text.Codec().Decode(field.text), box.style());
        m.text.ApplyFontStyle(box.style());
        extent.lastLineBottom = surface.LastTop() + surface.TextHeight(QStringLiteral("H"));
        surface.RestoreState(saved);
    }
    return extent;
}

// Paragraphs past the last one drawn are never shown.
bool HasUndrawnParagraphs(const std::string& text) {
    int breaks = 0;
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
        if (++breaks >= TextDrawer::MaxParagraphs)
            return true;
    return false;
}

} // namespace

std::string DescribeOverflow(int reasons) {
    std::string words;
    auto add = [&](const char* word) {
        words += (words.empty() ? "" : ", ") + std::string(word);
    };
    if (reasons & TooWide)
        add("too wide");
    if (reasons & BelowBottom)
        add("runs below the field");
    if (reasons & OffPage)
        add("off the printed page");
    return words;
}

std::string DescribeOverflow(const FieldOverflow& overflow) {
    std::string words;
    if (overflow.reasons & Shrunk) {
        std::ostringstream size;
        size << "shrunk to " << std::round(overflow.shrunkTo * 10) / 10 << " pt";
        words = size.str();
    }
    const int cut = overflow.reasons & (TooWide | BelowBottom);
    if (cut)
        words += (words.empty() ? "" : ", ") + std::string("cut off: ") + DescribeOverflow(cut);
    if (overflow.reasons & OffPage)
        words += (words.empty() ? "" : ", ") + DescribeOverflow(OffPage);
    return words;
}

bool IsCutOff(const FieldOverflow& overflow) {
    return (overflow.reasons & CutOffReasons) != 0;
}

OverflowCheck::OverflowCheck(ErrorTrap& errors, PrintedPageOfSide paper)
    : errors_(errors), paper_(std::move(paper)) {}

std::optional<OverflowCheck::Extent> OverflowCheck::MeasureField(const RenderRequest& request,
                                                                 const CardField& field) {
    Measurer measurer(errors_, request, state_, fonts_);
    return Measure(measurer, field);
}

std::vector<FieldOverflow> OverflowCheck::CheckPage(const RenderRequest& request) {
    std::vector<FieldOverflow> found;
    if (!request.page || !request.profile.Valid())
        return found;
    const CardPage& page = *request.page;
    const bool backSide = request.backSide;
    state_ = RenderState();
    Measurer measurer(errors_, request, state_, fonts_);
    const PrintedPage paper = paper_ ? paper_(backSide) : PrintedPage();
    for (int i = 0; i < page.Count(TextField); ++i) {
        const CardField& field = page.Field(TextField, i);
        auto extent = Measure(measurer, field);
        if (!extent)
            continue;
        const FieldFit fit = measurer.text.LastFit();
        const TextRecord box(field.a);
        const bool oneLine = box.height() == TextDrawer::SingleLineHeight;
        int reasons = 0;
        if (fit.Shrunk())
            reasons |= Shrunk;
        if (oneLine && fit.cut)
            reasons |= TooWide;
        if (!oneLine && (fit.cut || HasUndrawnParagraphs(field.text)))
            reasons |= BelowBottom;
        const double top = extent->cells.top() + paper.textOffsetY;
        const double bottom = extent->lastLineBottom + paper.textOffsetY;
        if (paper.HasSize() && (extent->cells.left() + paper.marginX < 0 ||
                                extent->cells.right() + paper.marginX > paper.width || top < 0 ||
                                bottom + PrintedPage::BottomReserve > paper.height))
            reasons |= OffPage;
        if (reasons == 0)
            continue;
        FieldOverflow overflow;
        overflow.backPage = backSide;
        overflow.field = i;
        overflow.reasons = reasons;
        overflow.shrunkTo = fit.Shrunk() ? fit.points : 0;
        overflow.text = field.text;
        overflow.left = box.x();
        overflow.top = box.y();
        overflow.width = box.width();
        overflow.height = box.height();
        found.push_back(std::move(overflow));
    }
    return found;
}

} // namespace cw
