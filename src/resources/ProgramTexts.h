#pragma once

#include <string>

namespace cw {

// The program's table of captions and messages, looked up by number. Texts may begin or end
// with blanks that matter when they are joined with other text. Throws RuntimeError 5
// ("Invalid procedure call or argument") for a number that is not in the table.
const std::string& GetProgramText(int number);

} // namespace cw
