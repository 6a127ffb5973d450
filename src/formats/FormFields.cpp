#include "FormFields.h"

#include "FormatDefaults.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace cw {

namespace {

// The height of a one-line text field, whatever its font.
constexpr double kOneLineTwips = 240;
// Text stays within this part of a widget's height.
constexpr double kTextShareOfHeight = 0.7;
constexpr double kTwipsPerPoint = 20;
// The user-input colour of the format.
constexpr int32_t kUserInputColour = 1;

FormFieldRecord TextRecord(const FormWidget& widget, const FormatDefaults& basics) {
    TextFieldEntry entry;
    entry.rect = widget.rect;
    entry.multiLine = widget.multiLine;
    if (!entry.multiLine)
        entry.rect.top += std::round((widget.rect.height - kOneLineTwips) / 2);
    entry.alignment = widget.alignment;
    entry.fontName = basics.BasicFont;
    const double fits = widget.rect.height * kTextShareOfHeight / kTwipsPerPoint;
    const double wanted = widget.fontSize > 0 ? widget.fontSize : basics.BasicFontSize;
    entry.fontSize = std::max(1.0, std::round(widget.multiLine ? wanted : std::min(wanted, fits)));
    entry.bold = basics.BasicFontBold;
    entry.italic = basics.BasicFontItalic;
    entry.colourCode = kUserInputColour;
    return {TextField, MakeTextField(entry, basics), widget.name, QString()};
}

FormFieldRecord BoxRecord(const FormWidget& widget, int32_t twipsPerPixel) {
    const double side = std::min(widget.rect.width, widget.rect.height);
    TwipRect marker{widget.rect.left + std::round((widget.rect.width - side) / 2),
                    widget.rect.top + std::round((widget.rect.height - side) / 2), side, side};
    return {CheckBox, MakeCheckBox(marker, kUserInputColour, twipsPerPixel, false, nullptr),
            widget.name, widget.onValue};
}

} // namespace

std::vector<FormFieldRecord> FieldsForWidgets(const std::vector<FormWidget>& widgets,
                                              const FormatDefaults& basics, int32_t twipsPerPixel) {
    std::vector<FormFieldRecord> records;
    for (const FormWidget& widget : widgets) {
        switch (widget.kind) {
        case FormWidget::Kind::Text:
        case FormWidget::Kind::Choice:
            records.push_back(TextRecord(widget, basics));
            break;
        case FormWidget::Kind::CheckBox:
        case FormWidget::Kind::RadioButton:
            records.push_back(BoxRecord(widget, twipsPerPixel));
            break;
        }
    }
    return records;
}

void AddFormFields(CardPage& page, const std::vector<FormFieldRecord>& records) {
    std::map<FieldKind, int> wanted;
    for (const FormFieldRecord& record : records)
        ++wanted[record.kind];
    for (const auto& [kind, count] : wanted) {
        const int room = InfoOfKind(kind).capacity - page.Count(kind);
        if (count > room)
            throw BlankCardError(
                "The form has " + std::to_string(count) + (kind == TextField ? " text" : " tick") +
                " fields, more than the " + std::to_string(room) + " a card's page can hold.");
    }
    for (const FormFieldRecord& record : records)
        page.Add(record.kind, record.field);
}

} // namespace cw
