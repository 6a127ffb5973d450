#include "CardFileLocator.h"

#include "FileNameText.h"
#include "FileOps.h"

namespace cw {

namespace fs = std::filesystem;

namespace {

bool SameFolder(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    return fs::equivalent(a, b, ec);
}

} // namespace

std::optional<CardFileLocation> LocateCardFile(const FormatCatalogue& catalogue, const Paths& paths,
                                               const fs::path& file, std::string& problem) {
    const std::string extension = file.extension().string();
    std::optional<CardFileLocation> found;
    for (int16_t slot = 0; slot < catalogue.FormatCount; ++slot) {
        if (!EqualsIgnoreCase(catalogue.Column(slot, ColExtension), extension))
            continue;
        bool inFolder =
            SameFolder(file.parent_path(), paths.CardFolder(catalogue.Column(slot, ColFolder)));
        if (found && (found->inCardFolder || !inFolder))
            continue;
        CardFileLocation location;
        location.slot = slot;
        location.inCardFolder = inFolder;
        location.cardName = file.stem().string();
        if (catalogue.HasBackPage(slot) && location.cardName.size() > 1 &&
            location.cardName.back() == '_') {
            location.cardName.pop_back();
            location.backPage = true;
        }
        found = location;
    }
    if (!found)
        problem = FileNameToUtf8(file.filename().string()) +
                  " is not a card file of any installed card format (no format keeps its cards "
                  "in \"" +
                  FileNameToUtf8(extension) + "\" files).";
    return found;
}

} // namespace cw
