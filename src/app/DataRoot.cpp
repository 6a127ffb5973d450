#include "DataRoot.h"

#include "FileOps.h"

#include <QCoreApplication>
#include <cstdlib>
#include <string>
#include <system_error>

namespace cw {

namespace fs = std::filesystem;

fs::path DefaultDataRoot() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        return fs::path(xdg) / "cardwright";
    if (const char* home = std::getenv("HOME"); home && *home)
        return fs::path(home) / ".local" / "share" / "cardwright";
    return fs::current_path() / "cardwright-data";
}

std::optional<fs::path> ShippedDataFolder() {
    std::error_code ec;
    std::vector<fs::path> candidates;
    if (QCoreApplication::instance()) {
        fs::path exeDir = QCoreApplication::applicationDirPath().toStdString();
        candidates.push_back(exeDir / ".." / "share" / "cardwright");
    }
    candidates.push_back(CW_INSTALLED_DATA);
    candidates.push_back(CW_SOURCE_DATA);
    for (const auto& candidate : candidates)
        if (fs::is_regular_file(candidate / "cwr.sys", ec))
            return fs::weakly_canonical(candidate, ec);
    return std::nullopt;
}

bool PrepareDataRoot(const fs::path& root, std::string& problem) {
    std::error_code ec;
    // A root copied from Windows may call it "CWR.SYS": it is the root's own all the same.
    if (ExistsAnyCase(root / "cwr.sys"))
        return true;
    auto shipped = ShippedDataFolder();
    if (!shipped) {
        problem =
            "The shipped card formats were not found, and " + root.string() + " holds no cwr.sys.";
        return false;
    }
    fs::create_directories(root, ec);
    // File by file, so that a folder or file the root already has in another letter case
    // is used and kept, never doubled.
    fs::recursive_directory_iterator it(*shipped, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        fs::path target = ResolveForWriting(root / fs::relative(it->path(), *shipped));
        if (it->is_directory(ec))
            fs::create_directories(target, ec);
        else if (!ExistsAnyCase(target)) {
            fs::copy_file(it->path(), target, ec);
            // Installed data is read-only; the root's copy is the user's to change.
            if (!ec)
                fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write,
                                fs::perm_options::add, ec);
        }
        if (ec)
            break;
    }
    if (ec) {
        problem = "Cannot copy the shipped data into " + root.string() + ": " + ec.message();
        return false;
    }
    return true;
}

} // namespace cw
