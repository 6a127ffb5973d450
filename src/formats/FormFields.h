#pragma once

#include "BlankCardPdf.h"
#include "CardPage.h"

#include <vector>

namespace cw {

class FormatDefaults;

// A card field made for a widget of a federation's form, with the widget's name so that the
// card's values can later be written back into the form.
struct FormFieldRecord {
    FieldKind kind = TextField;
    CardField field;
    QString widgetName;
    QString onValue; // a check box's or radio button's, from its widget
};

// The card fields that stand for a form's widgets: text widgets and choice lists become text
// fields at the widget's place (one line centred in the widget unless it is multi-line), in
// the form's font size where it sets one and never taller than the widget, in the user-input
// colour; check boxes and radio buttons become check boxes centred in their widget.
std::vector<FormFieldRecord> FieldsForWidgets(const std::vector<FormWidget>& widgets,
                                              const FormatDefaults& basics, int32_t twipsPerPixel);

// Adds the records to page after its own fields. Throws BlankCardError, changing nothing,
// when a kind's table cannot hold them all.
void AddFormFields(CardPage& page, const std::vector<FormFieldRecord>& records);

} // namespace cw
