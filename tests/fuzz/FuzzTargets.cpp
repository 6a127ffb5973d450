// Fuzz targets for the readers of the program's files: a card page, the settings file, a
// format's defaults file, a layout file (the printed base layer), a notes file, the markup
// of text drawn on a card, and a federation's blank PDF card made into a format. Built with
// libFuzzer (clang, CW_FUZZ=ON) or with the replay driver. Each checks what must hold whatever the
// bytes, besides not crashing.
#include "RuntimeError.h"

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>

#if defined(CW_FUZZ_CARD)
#include "CardFile.h"
#elif defined(CW_FUZZ_SETTINGS)
#include "SystemSettings.h"
#elif defined(CW_FUZZ_DEFAULTS)
#include "FormatDefaults.h"
#elif defined(CW_FUZZ_LAYOUT)
#include "BaseLayerFile.h"
#elif defined(CW_FUZZ_NOTES)
#include "NotesText.h"
#elif defined(CW_FUZZ_MARKUP)
#include "DrawingContext.h"
#include "ErrorTrap.h"
#include "RecordingSurface.h"
#include "ScriptedPrompter.h"
#include "TextDrawer.h"
#elif defined(CW_FUZZ_BLANKPDF)
#include "FormatMaker.h"

#include <fstream>
#include <poppler-qt6.h>
#endif

namespace {

[[maybe_unused]] std::filesystem::path EmptyRoot() {
    static const std::filesystem::path root = [] {
        auto path = std::filesystem::temp_directory_path() / "cardwright-fuzz-root";
        std::filesystem::create_directories(path);
        return path;
    }();
    return root;
}

#if defined(CW_FUZZ_CARD)
void Fuzz(const std::string& bytes) {
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
#elif defined(CW_FUZZ_SETTINGS)
void Fuzz(const std::string& bytes) {
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
#elif defined(CW_FUZZ_DEFAULTS)
void Fuzz(const std::string& bytes) {
    try {
        cw::FormatDefaults defaults;
        defaults.DefaultsValues = cw::ParseDefaultsValues(bytes);
        defaults.Apply(bytes.size() % 2 == 0, bytes.size() % 3 == 0);
    } catch (const cw::RuntimeError&) {
    }
}
#elif defined(CW_FUZZ_LAYOUT)
void Fuzz(const std::string& bytes) {
    try {
        cw::BaseLayerFile file = cw::BaseLayerFile::Parse(bytes);
        // Every record read came from a line of its own.
        size_t lines = 1;
        for (char c : bytes)
            lines += c == '\n';
        if (file.records.size() > lines)
            std::abort();
    } catch (const cw::RuntimeError&) {
    }
}
#elif defined(CW_FUZZ_NOTES)
void Fuzz(const std::string& bytes) {
    cw::NotesText text(bytes);
    // The lines around an edited block go back byte for byte.
    if (text.ReplacedBytes(0, 0, {}) != bytes)
        std::abort();
    const int count = text.LineCount();
    std::vector<std::string> block;
    for (int i = count / 3; i < count / 2; ++i)
        block.push_back(text.Line(i));
    if (text.ReplacedBytes(count / 3, count / 2, block).size() + 2 * block.size() < bytes.size())
        std::abort();
    // A block saved unchanged leaves every byte as it was.
    if (text.EditedBytes(count / 3, count / 2, block) != bytes)
        std::abort();
    for (int i = 0; i < count && i < 64; ++i) {
        (void)cw::NoteReference(text.Line(i));
        (void)cw::MarkerNumber(text.Line(i));
        (void)cw::HasNoteMarker(text.Line(i), i);
    }
    (void)cw::SplitEditedText(bytes);
}
#elif defined(CW_FUZZ_MARKUP)
struct QuietPresenter : cw::ErrorPresenter {
    void ShowError(const cw::ErrorState&) override {}
};

void Fuzz(const std::string& bytes) {
    static cw::ScriptedPrompter prompter;
    static QuietPresenter presenter;
    static cw::ErrorTrap trap(prompter, presenter);
    static cw::DrawingContext drawing;
    // The first bytes choose the field: its style word, size and colour code; the rest is
    // the text as a card file holds it.
    auto byte = [&](size_t i) {
        return i < bytes.size() ? uint8_t(bytes[i]) : uint8_t(0);
    };
    const int32_t style = int32_t(byte(0)) | (int32_t(byte(1) % 80) << 8);
    const int32_t width = 100 + 40 * int32_t(byte(2));
    const int32_t height = byte(3) % 2 ? cw::TextDrawer::SingleLineHeight : 240 * (byte(3) % 9);
    const int32_t colourCode = byte(4) % 40;
    const std::string text = bytes.size() > 5 ? bytes.substr(5) : std::string();
    cw::RenderState state;
    state.PrintMode = byte(5) % 2;
    cw::RecordingSurface surface;
    cw::TextDrawer drawer(trap, drawing, state);
    drawer.SetSurface(&surface);
    int32_t y = 0;
    drawer.DrawFieldText(0, y, text, width, height, colourCode, style, byte(4) >= 200);
    // However long the text, a field draws a bounded number of lines.
    if (surface.Calls().size() > 8 * (text.size() + 8))
        std::abort();
    const QString decoded = drawer.Codec().Decode(text);
    (void)cw::TextDrawer::GetFontPrefix(decoded);
    (void)cw::TextDrawer::StripFontPrefix(decoded);
}
#elif defined(CW_FUZZ_BLANKPDF)
void Fuzz(const std::string& bytes) {
    static const bool quiet = [] {
        // Poppler says what it finds wrong with each damaged file; the refusal is what counts.
        Poppler::setDebugErrorFunction([](const QString&, const QVariant&) {}, QVariant());
        std::ofstream(EmptyRoot() / "cwr.sys", std::ios::binary);
        return true;
    }();
    (void)quiet;
    const std::filesystem::path source = EmptyRoot() / "blank.pdf";
    std::ofstream(source, std::ios::binary | std::ios::trunc) << bytes;
    cw::NewFormatRequest request;
    request.root = EmptyRoot();
    request.sources = {source};
    request.code = "FUZZ";
    request.name = "Fuzzed";
    try {
        // Planning reads everything the format would be made of; nothing is written.
        const cw::FormatMaker maker(request);
        if (maker.PageCount() < 1 || maker.PageCount() > 2 || maker.Files().empty())
            std::abort();
    } catch (const cw::FormatMakerError&) {
    }
}
#endif

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Fuzz(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
