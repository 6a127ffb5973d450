#pragma once

#include "LayoutRules.h"

#include <QSizeF>
#include <QStringList>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <vector>

namespace Poppler {
class Document;
}

namespace cw {

// A blank card that cannot serve as a format's page, with the reason in words that name the
// file.
class BlankCardError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One widget of a fillable form, placed on its page in twips from the page's top left corner.
struct FormWidget {
    enum class Kind { Text, CheckBox, RadioButton, Choice };
    Kind kind = Kind::Text;
    // The form's own name for the field ("partnership.names"); radio buttons of one group
    // share it.
    QString name;
    TwipRect rect;
    bool multiLine = false;
    int alignment = 0; // 0 left, 1 right, 2 centre, as a text field's alignment
    // The size the form gives its text in points; 0 when it leaves it to the reader.
    double fontSize = 0;
    QStringList choices;
    // The value a check box or radio button takes when it is on ("Yes", or the choice a
    // radio button of a group stands for).
    QString onValue;
};

// A federation's blank card as a PDF file: its pages and, when it is a fillable form, the
// widgets of the form. Files that would overwhelm the program or cannot be read are refused
// when opened.
class BlankCardPdf {
public:
    static constexpr std::uintmax_t MaxFileBytes = 50ull * 1024 * 1024;
    static constexpr double MaxPageMillimetres = 1000;
    // A form with more widgets on a page cannot be a card's page.
    static constexpr int MaxWidgetsPerPage = 500;

    // Throws BlankCardError when the file is missing, too large, encrypted, damaged, empty or
    // has a page larger than MaxPageMillimetres.
    explicit BlankCardPdf(const std::filesystem::path& file);
    ~BlankCardPdf();
    BlankCardPdf(BlankCardPdf&&) noexcept;
    BlankCardPdf& operator=(BlankCardPdf&&) noexcept;

    int PageCount() const;
    // The size of a page (counted from 0) in twips.
    QSizeF PageSizeTwips(int page) const;
    // The widgets of a page's form in the order the form lists them; push buttons and
    // signature fields are no card fields and are left out. Throws BlankCardError when the
    // page holds more than MaxWidgetsPerPage.
    std::vector<FormWidget> Widgets(int page) const;
    bool HasForm() const;

private:
    std::filesystem::path file_;
    std::unique_ptr<Poppler::Document> document_;
};

} // namespace cw
