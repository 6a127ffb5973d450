#pragma once

#include <string>
#include <string_view>

namespace cw {

// File names on this system are UTF-8; names of files copied from Windows may hold
// windows-1252 bytes instead. Valid UTF-8 sequences are kept as they are, and every byte
// that does not belong to one is read as windows-1252.
std::string FileNameToUtf8(std::string_view bytes);

// Upper case by Unicode's simple case mapping ("café" -> "CAFÉ"). Only ASCII letters change
// on a system without a UTF-8 locale.
std::string UpperCaseUtf8(std::string_view utf8);

// A file name as the card list shows it: decoded as above, in upper case.
inline std::string UpperCaseFileName(std::string_view bytes) {
    return UpperCaseUtf8(FileNameToUtf8(bytes));
}

} // namespace cw
