#pragma once

#include <stdexcept>
#include <string>

namespace cw {

// A format that cannot be added to the settings file, with the reason in the user's words.
class FormatRegistrationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What the settings file records of a format made from a blank card.
struct NewFormatRecord {
    std::string code;        // letters and digits; also the name of the cards' folder
    std::string layoutBase;  // the layout files' name without the page digit, 7 characters at most
    std::string extension;   // the cards' file extension without the dot
    std::string displayName; // as the format chooser lists it
    std::string picture;     // the format's picture in the pictures folder
    bool backPage = false;
    // The size a card prints at in twips; 0 leaves the format's usual size.
    int printWidth = 0;
    int printHeight = 0;
};

// The settings file's text with the format's record added as the last one of the list (before
// the line that ends it), in the file's own line endings. Throws FormatRegistrationError,
// returning nothing, when the record is not well formed or its code or extension is already
// used by a listed format.
std::string WithFormatAdded(const std::string& settingsText, const NewFormatRecord& format);

} // namespace cw
