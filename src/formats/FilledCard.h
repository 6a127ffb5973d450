#pragma once

#include "FilledForm.h"

#include <optional>
#include <string>

namespace cw {

class AppContext;

// Whether the current format was made from a fillable form (also when its form's bindings
// cannot be read: using the form then says what is wrong with it).
bool CurrentFormatHasForm(const AppContext& ctx);

// The page files of a card of the current format (front, and back for a format of two pages)
// with the values of a filled copy of the format's form read in. Throws FilledFormError when
// the format has no form or the file is no filled copy of it, RuntimeError when a page
// cannot be read.
FormTransfer FillInFromForm(const AppContext& ctx, const fs::path& filled, std::string& frontBytes,
                            std::optional<std::string>& backBytes);

// The blank pages of a new card of the current format, as page files, filled in from a
// filled copy of its form.
struct FilledCardPages {
    std::string front;
    std::optional<std::string> back;
    FormTransfer transfer;
};
FilledCardPages NewCardPagesFromForm(const AppContext& ctx, const fs::path& filled);
// The same, blank: the format's templates.
FilledCardPages NewCardPages(const AppContext& ctx);

// Fills in the card of the current format named cardName from a filled copy of the format's
// form, rewriting its page files (each replaced whole, or left as it was).
FormTransfer FillInCardFromForm(AppContext& ctx, const std::string& cardName,
                                const fs::path& filled);

} // namespace cw
