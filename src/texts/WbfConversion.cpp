#include "WbfConversion.h"

#include "AppContext.h"
#include "BasicNumbers.h"
#include "ErrorTrap.h"
#include "ProgramTexts.h"
#include "Prompter.h"
#include "TextsLocations.h"

namespace cw {

std::string WbfConversion::TargetName(const std::string& sourceName) {
    // The base keeps its full stop: "smith." + "05w".
    std::string base = sourceName.size() >= 3 ? sourceName.substr(0, sourceName.size() - 3) : "";
    return "_" + base + "05w";
}

bool WbfConversion::Excluded(const std::string& sourceName) {
    return EqualsIgnoreCase(sourceName.substr(0, 7), "testcrd");
}

std::string WbfConversion::Message(int convertedFiles) {
    std::string message =
        convertedFiles != 0
            ? FormatNumber(convertedFiles / 2.0) + " cards converted."
            : std::string("No cards converted.  Either there were none to convert, ") +
                  "or they had already been converted.";
    return message + "\n\nNew cards are in the 'New WBF Folder'";
}

int WbfConversion::ConvertWbfCards() {
    const fs::path source = context_.paths.ProgramFolder / "wbfeb";
    const fs::path target = context_.paths.ProgramFolder / "wbfb";
    int converted = 0;
    int index = 0;
    std::string name;
    bool finished = context_.errorTrap.Guard(
        loc::ConvertWbfCards,
        [&] {
            BusyScope busy(context_.prompter);
            std::vector<std::string> names = ListFolder(source, "*.06w");
            if (!names.empty())
                CreateFolderQuietly(target);
            for (index = 0; index < int(names.size()); ++index) {
                name = names[size_t(index)];
                if (Excluded(name) || ExistsAnyCase(target / TargetName(name)))
                    continue;
                // Through a scratch file, so that a half-written card never carries the
                // new name (which would keep it from being converted again).
                std::string bytes = ReadFileBytes(source / name);
                try {
                    AtomicReplace(context_.fileSystem, target / TargetName(name), bytes,
                                  target / "temp");
                } catch (...) {
                    std::error_code ec;
                    fs::remove(target / "temp", ec);
                    throw;
                }
                ++converted;
            }
        },
        [&] {
            return std::vector<ErrValue>{index, name};
        });
    if (!finished)
        return converted;
    context_.prompter.Beep();
    context_.prompter.Message(Message(converted), GetProgramText(TextId::ProgramName), Buttons::Ok,
                              Icon::Information);
    return converted;
}

} // namespace cw
