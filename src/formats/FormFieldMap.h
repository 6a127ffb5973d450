#pragma once

#include "FileOps.h"

#include <QString>
#include <vector>

namespace cw {

// Which card field stands for which widget of a federation's fillable form, so that a card's
// values can be written back into the form.
struct FormFieldBinding {
    bool backPage = false;
    int kind = 0;  // the card field's kind
    int index = 0; // its record among the template's records of that kind
    QString widgetName;
    // Radio buttons of one group share the name; the value the form gives the button when it
    // is on tells them apart. Empty for other widgets.
    QString onValue;

    bool operator==(const FormFieldBinding&) const = default;
};

// The bindings file of a format: one line per field, page (1 front, 3 back), kind, record
// index, widget name and on value separated by tabs, in UTF-8.
class FormFieldMap {
public:
    static std::string Compose(const std::vector<FormFieldBinding>& bindings);
    // Throws RuntimeError when a line is not a binding.
    static std::vector<FormFieldBinding> Parse(const std::string& bytes);
    static std::vector<FormFieldBinding> Read(const fs::path& file);
};

} // namespace cw
