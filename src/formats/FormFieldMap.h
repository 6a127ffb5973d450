#pragma once

#include <QString>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace cw {

// Which card field stands for which widget of the federation's form, kept beside a format made
// from a fillable form so that a card's values can be written back into the form and read out
// of a filled one.
//
// The file is plain UTF-8 text, one line per card field:
//   <page><TAB><kind><TAB><record index><TAB><widget>
// page is 1 for the front template and 3 for the back; kind is the field's kind and record
// index its place (from 0) in that kind's table of the page. widget is the form's field name.
// Radio buttons of one group share the form's name, so each gets its own identity by the export
// value that turns it on: "name#value". In the widget column a backslash, '#', tab or line
// break that belongs to the name or the value is written as "\\", "\#", "\t" or "\n", so the
// only bare '#' is the one before an export value. Blank lines and lines starting with ';' are
// ignored.
struct FormFieldBinding {
    bool backPage = false;
    int kind = 0;
    int index = 0;
    QString widgetName;
    // The export value that turns a radio button (or a check box that names one) on; empty for
    // other widgets.
    QString onValue;

    bool operator==(const FormFieldBinding&) const = default;
};

// A map file that cannot be read, with the file's line in words.
class FormFieldMapError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

QString FormFieldMapText(const std::vector<FormFieldBinding>& bindings);

// Throws FormFieldMapError naming the first line that is not a binding.
std::vector<FormFieldBinding> ParseFormFieldMap(const QString& text);

// Reads a map file; throws FormFieldMapError when it cannot be read or parsed.
std::vector<FormFieldBinding> ReadFormFieldMap(const std::filesystem::path& file);

} // namespace cw
