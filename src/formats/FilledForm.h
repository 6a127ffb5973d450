#pragma once

#include "CardPage.h"
#include "FileOps.h"
#include "FormFieldMap.h"

#include <QString>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace cw {

class FormatCatalogue;
class TextCodec;

// A filled form cannot be written or read; the message says why in the user's words.
class FilledFormError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The fillable form of a format made from a federation's PDF form: the PDF kept beside the
// format's layouts and the bindings of its widgets to the card's fields.
struct FormatForm {
    fs::path pdf;
    std::vector<FormFieldBinding> bindings;

    // The form of the format in slot; nullopt when the format was not made from a fillable
    // form. Throws FilledFormError when its bindings file cannot be read.
    static std::optional<FormatForm> Of(const fs::path& programFolder,
                                        const FormatCatalogue& catalogue, int slot);
};

// What went into a form or came out of one.
struct FormTransfer {
    int fieldsSet = 0;
    // One line per card value the form could not take, or form value the card could not.
    std::vector<std::string> notTransferred;
};

// A card text as a form shows it: without its font prefix, suit tags as suit symbols, lines
// broken by "\n".
QString FormTextOfCardText(const std::string& cardText, const TextCodec& codec);
// A form's text as a card keeps it: suit symbols as tags, lines broken by CR LF, each double
// quote as two apostrophes (a card text cannot hold one).
std::string CardTextOfFormText(QString formText, const TextCodec& codec);

// The form with each bound widget set to the card's value (texts, ticks, choices), as the
// bytes of a PDF file that any reader shows and can go on filling in. back is null for a card
// of one page. Throws FilledFormError when the form cannot be read or written.
std::string FillForm(const FormatForm& form, const CardPage& front, const CardPage* back,
                     const TextCodec& codec, FormTransfer& transfer);

// The form with every field emptied (no text, no tick, no choice), as the bytes of a PDF
// file: the blank page a format keeps, on which the card draws its own values. Throws
// FilledFormError when the form cannot be read or written.
std::string EmptiedForm(const fs::path& formPdf);

// Reads the values of a filled copy of the form into the pages of a card (blank pages of the
// format, as a new card has them). Throws FilledFormError when the file cannot be read or has
// none of the form's fields.
FormTransfer ReadFilledForm(const fs::path& filledPdf, const FormatForm& form, CardPage& front,
                            CardPage* back, const TextCodec& codec);

} // namespace cw
