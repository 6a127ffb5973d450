#pragma once

#include "FileOps.h"
#include "FormatRegistration.h"

#include <map>
#include <stdexcept>
#include <string>

namespace cw {

// A format could not be installed; the data root is as it was. The message says why.
class FormatInstallError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Installs a card format all or nothing: files (by their path inside root) are written through
// a staging folder inside root and renamed into place, the data, bmps and card folders are
// made when missing, and the settings record is added last. Refuses a file that exists
// already. On any failure removes what it wrote and throws FormatInstallError.
void InstallFormat(const fs::path& root, const FormatRecordLines& record,
                   const std::map<fs::path, std::string>& files,
                   FileSystem& fileSystem = FileSystem::Default());

} // namespace cw
