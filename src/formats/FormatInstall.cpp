#include "FormatInstall.h"

#include <unistd.h>
#include <vector>

namespace cw {

namespace {

void MakeFolder(const fs::path& folder) {
    std::error_code error;
    fs::create_directory(folder, error);
    if (error)
        throw RuntimeError(RuntimeError::PathFileAccess,
                           "Cannot create " + folder.string() + ": " + error.message());
}

} // namespace

void InstallFormat(const fs::path& root, const FormatRecordLines& record,
                   const std::map<fs::path, std::string>& files, FileSystem& fileSystem) {
    const fs::path staging = root / (".newformat-" + std::to_string(::getpid()));
    std::vector<fs::path> placed;
    std::vector<fs::path> madeFolders;
    auto undo = [&] {
        std::error_code ignored;
        for (auto it = placed.rbegin(); it != placed.rend(); ++it)
            fs::remove(*it, ignored);
        for (auto it = madeFolders.rbegin(); it != madeFolders.rend(); ++it)
            fs::remove(*it, ignored); // only when empty
        fs::remove_all(staging, ignored);
    };
    try {
        MakeFolder(staging);
        std::vector<std::pair<fs::path, fs::path>> moves;
        int number = 0;
        for (const auto& [relative, bytes] : files) {
            const fs::path target = ResolveForWriting(root / relative);
            if (ExistsAnyCase(target))
                throw RuntimeError(RuntimeError::PathFileAccess,
                                   target.string() + " exists already");
            const fs::path staged = staging / std::to_string(number++);
            fileSystem.WriteFlushed(staged, bytes);
            moves.emplace_back(staged, target);
        }
        for (const fs::path& folder : {root / "data", root / "bmps", root / record.code}) {
            const fs::path resolved = ResolveForWriting(folder);
            if (!fs::exists(resolved)) {
                MakeFolder(resolved);
                madeFolders.push_back(resolved);
            }
        }
        for (const auto& [staged, target] : moves) {
            fileSystem.RenameOver(staged, target);
            placed.push_back(target);
        }
        RegisterFormat(root, record, fileSystem);
        std::error_code ignored;
        fs::remove_all(staging, ignored);
    } catch (const std::exception& error) {
        undo();
        throw FormatInstallError(error.what());
    }
}

} // namespace cw
