#include "PlacedControl.h"

#include "FieldRecords.h"
#include "FontPrefix.h"
#include "LayoutActions.h"

#include <algorithm>

namespace cw {

namespace {

// Moves the far end of a line by a step, never back past its start.
void MoveEnd(int32_t start, int32_t& end, bool increase, int32_t step) {
    if (increase)
        end += step;
    else if (end - start >= 10)
        end = std::max(start, end - step);
}

void NudgeLine(LineEnds& line, Arrow arrow, bool increase, int32_t step) {
    const int32_t sign = increase ? 1 : -1;
    switch (arrow) {
    case Arrow::UpDown:
        line.y1 += sign * step;
        line.y2 += sign * step;
        break;
    case Arrow::LeftRight:
        line.x1 += sign * step;
        line.x2 += sign * step;
        break;
    case Arrow::Taller:
        MoveEnd(line.y1, line.y2, increase, step);
        break;
    case Arrow::Wider:
        MoveEnd(line.x1, line.x2, increase, step);
        break;
    }
}

void NudgeRect(TwipRect& rect, Arrow arrow, bool increase, int32_t step, bool square) {
    auto resize = [&](double& size) {
        if (increase)
            size += step;
        else if (size >= 10)
            size = std::max(0.0, size - step);
    };
    switch (arrow) {
    case Arrow::UpDown:
        rect.top += (increase ? 1 : -1) * step;
        break;
    case Arrow::LeftRight:
        rect.left += (increase ? 1 : -1) * step;
        break;
    case Arrow::Taller:
        resize(rect.height);
        break;
    case Arrow::Wider:
        resize(rect.width);
        if (square)
            rect.height = rect.width;
        break;
    }
}

} // namespace

void NudgePlacement(Placement& mobile, Arrow arrow, bool increase, int32_t step, bool square) {
    if (mobile.kind == MobileKind::LinePreview)
        NudgeLine(mobile.line, arrow, increase, step);
    else
        NudgeRect(mobile.rect, arrow, increase, step, square);
}

PickedFieldLook LookOfPickedField(const CardField& field, int kind, bool editing,
                                  const FormatDefaults& basics, int32_t twipsPerPixel,
                                  const std::function<int32_t(int32_t)>& textColourOfCode) {
    PickedFieldLook look;
    look.mobile.visible = true;
    switch (kind) {
    case TextField: {
        EditorStyle style = EditorStyleFor(field, basics.BasicFontBold, basics.BasicFontItalic);
        look.editor.index = style.editorIndex;
        look.editor.bold = style.bold;
        look.editor.italic = style.italic;
        std::string prefix = GetFontPrefix(field.text);
        look.editor.fontName =
            prefix.size() > 4 ? prefix.substr(2, prefix.size() - 4) : basics.BasicFont;
        const TextRecord text(field.a);
        int32_t points = text.fontPoints();
        look.editor.fontSize = points > 0 ? double(points) : double(basics.BasicFontSize);
        look.editor.foreColour = textColourOfCode(text.colourCode());
        look.editor.newField = false;
        look.editor.readOnly = !editing;
        look.mobile.kind = MobileKind::Editor;
        look.mobile.rect = {double(text.x()), double(text.y()), double(text.width()),
                            double(text.height())};
        look.alignment = style.editorIndex % 3;
        look.editorText = StripFontPrefix(field.text);
        look.panelLayout = menu::AddTextField;
        break;
    }
    case Rectangle:
        look.mobile.kind = MobileKind::RubberBand;
        look.mobile.rect = BandOfRectangle(field);
        look.mobile.borderWidth = BorderWidthOfRectangle(field);
        look.mobile.colour = ShapeColourOfCode(RectangleRecord(field.a).colourCode());
        look.workColour = PickerCodeOfShapeColour(RectangleRecord(field.a).colourCode());
        look.lineWidthOption = look.mobile.borderWidth;
        look.panelLayout = menu::AddRectangle;
        break;
    case Line: {
        look.mobile.kind = MobileKind::LinePreview;
        look.mobile.line = EndsOfLine(field);
        const LineRecord line(field.a);
        look.mobile.borderWidth = std::max(1, line.widthPixels());
        look.mobile.colour = ShapeColourOfCode(line.colourCode());
        look.workColour = PickerCodeOfShapeColour(line.colourCode());
        look.lineWidthOption = std::clamp(line.widthPixels(), 1, 4);
        look.lineHorizontal = look.mobile.line.y1 == look.mobile.line.y2;
        // A line grows along itself only.
        if (look.lineHorizontal)
            look.tallerEnabled = false;
        else
            look.widerEnabled = false;
        look.panelLayout = menu::PickedLine;
        break;
    }
    case CheckBox:
        look.mobile.kind = MobileKind::Marker;
        look.mobile.rect = MarkerOfCheckBox(field, twipsPerPixel);
        look.mobile.colour = ShapeColourOfCode(CheckBoxRecord(field.a).colourCode());
        look.workColour = PickerCodeOfShapeColour(CheckBoxRecord(field.a).colourCode());
        look.panelLayout = menu::PickedCheckBox;
        break;
    default:
        break;
    }
    return look;
}

} // namespace cw
