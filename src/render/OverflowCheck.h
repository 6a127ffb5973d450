#pragma once

#include "CardPage.h"
#include "FontBook.h"
#include "FormatProfile.h"
#include "PrintedPage.h"
#include "RenderRequest.h"
#include "RenderState.h"

#include <QRectF>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace cw {

class ErrorTrap;

// Why a field's text does not fit.
enum OverflowReason : int {
    TooWide = 1,     // a one-line field's text is wider than the field, even shrunk
    BelowBottom = 2, // a wrapped field's lines run below its bottom, even shrunk
    OffPage = 4,     // the text lies partly off the printed page
    Shrunk = 8,      // the text fits only drawn smaller than the field's size
};
// The reasons that cut text off: shrunk text is drawn whole.
inline constexpr int CutOffReasons = TooWide | BelowBottom | OffPage;

// One text field whose text does not fit.
struct FieldOverflow {
    bool backPage = false;
    int field = 0;       // index of the text field on its page (tab order)
    int reasons = 0;     // OverflowReason bits
    double shrunkTo = 0; // points, when Shrunk
    std::string text;
    int32_t left = 0, top = 0, width = 0, height = 0; // the field, in card twips

    bool operator==(const FieldOverflow&) const = default;
};

// Words for the reasons: "too wide", "runs below the field", "off the printed page".
std::string DescribeOverflow(int reasons);
// What happens to the text: "shrunk to 7 pt", "cut off: too wide", "shrunk to 5 pt, cut off:
// runs below the field".
std::string DescribeOverflow(const FieldOverflow& overflow);
bool IsCutOff(const FieldOverflow& overflow);

// Finds the text fields whose text is drawn smaller or cut off: laid out by the card's own text
// drawer on a surface that measures with the screen picture's fonts, at the format's own view scale
// so that the answer is the same at every zoom and without a display.
class OverflowCheck {
public:
    // The printed page of a side, for text that lies off it; without one only the fields
    // themselves are checked.
    using PrintedPageOfSide = std::function<PrintedPage(bool backSide)>;

    explicit OverflowCheck(ErrorTrap& errors, PrintedPageOfSide paper = {});

    // The fields of the request's page that overflow, laid out with the fonts of its side
    // at its zoom.
    std::vector<FieldOverflow> CheckPage(const RenderRequest& request);

    // Where the text of field is drawn on the request's side (card twips), and the height of
    // its lines; nullopt when it draws nothing.
    struct Extent {
        QRectF cells; // every printed piece
        double lastLineBottom = 0;
    };
    std::optional<Extent> MeasureField(const RenderRequest& request, const CardField& field);

    const PrintedPageOfSide& Paper() const { return paper_; }

private:
    ErrorTrap& errors_;
    PrintedPageOfSide paper_;
    RenderState state_;
    FontBook fonts_;
};

} // namespace cw
