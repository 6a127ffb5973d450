// Fuzz targets for the readers of the program's files: a card page, the settings file and a
// format's defaults file. Built with libFuzzer (clang, CW_FUZZ=ON) or with the replay driver.
#include "CardFile.h"
#include "FormatDefaults.h"
#include "RuntimeError.h"
#include "SystemSettings.h"

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>

namespace {

std::filesystem::path EmptyRoot() {
    static const std::filesystem::path root = [] {
        auto path = std::filesystem::temp_directory_path() / "cardwright-fuzz-root";
        std::filesystem::create_directories(path);
        return path;
    }();
    return root;
}

void FuzzCard(const std::string& bytes) {
    cw::CardPage page;
    try {
        cw::CardFile::ParsePage(page, bytes, bytes.size() % 2 == 0);
    } catch (const cw::RuntimeError&) {
    }
    for (int kind = 0; kind < cw::CardPage::KindSlots; ++kind)
        if (page.Count(kind) > cw::InfoOfKind(kind).capacity)
            std::abort();
    // Whatever was read must be writable again.
    (void)cw::CardFile::FormatRecords(page);
}

void FuzzSettings(const std::string& bytes) {
    cw::SystemSettings settings;
    cw::FormatCatalogue catalogue;
    try {
        cw::SystemSettingsFile(EmptyRoot(), cw::FileSystem::Default())
            .ReadText(bytes, settings, catalogue);
    } catch (const cw::RuntimeError&) {
    }
    if (catalogue.FormatCount < 0 || catalogue.FormatCount > cw::FormatCatalogue::Slots)
        std::abort();
}

void FuzzDefaults(const std::string& bytes) {
    try {
        cw::FormatDefaults defaults;
        defaults.DefaultsValues = cw::ParseDefaultsValues(bytes);
        defaults.Apply(bytes.size() % 2 == 0, bytes.size() % 3 == 0);
    } catch (const cw::RuntimeError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
#if defined(CW_FUZZ_CARD)
    FuzzCard(bytes);
#elif defined(CW_FUZZ_SETTINGS)
    FuzzSettings(bytes);
#else
    FuzzDefaults(bytes);
#endif
    return 0;
}
