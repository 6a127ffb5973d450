#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cw {

// One run-time library of the running program, as the error log's header lists it.
struct ComponentFile {
    std::string Name;         // file name as loaded, e.g. "libQt6Core.so.6"
    std::string LastModified; // "mm-dd-yyyy hh:mm:ss" of the file, local time
    std::uintmax_t Size = 0;  // bytes
    std::string Version;      // version digits of the real file's name, e.g. "6.4.2"
};

struct ProbedSystem {
    // The operating system as "<sysname>, <release>, Build <version>, <machine>".
    std::string Platform;
    // The loaded libraries whose names start with one of ComponentPrefixes(), in that order.
    std::vector<ComponentFile> Components;
};

// Name prefixes of the libraries worth listing when an error is reported.
const std::vector<std::string>& ComponentPrefixes();

// Asks the kernel (uname) and the dynamic loader (the objects mapped into this process).
ProbedSystem ProbeSystem();

// The version digits of a shared object's file name: what follows ".so." when it is made of
// digits and dots ("libQt6Core.so.6.4.2" -> "6.4.2"); empty otherwise.
std::string VersionFromSharedObjectName(std::string_view fileName);

} // namespace cw
