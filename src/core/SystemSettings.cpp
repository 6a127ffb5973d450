#include "SystemSettings.h"

#include "BasicNumbers.h"
#include "HeaderLines.h"
#include "LineReader.h"
#include "RuntimeError.h"

namespace cw {

namespace {

// Columns that w06, w07 and w10..w21 fill with a number (w08 and the text keys are elsewhere).
int NumericColumnOf(int wKey) {
    switch (wKey) {
    case 6:
        return ColHorizontalOffset;
    case 7:
        return ColRightOffset;
    case 10:
        return ColColourScheme;
    case 11:
        return ColNamesMode;
    case 12:
        return ColFrontMargin;
    case 13:
        return ColFieldTint;
    case 14:
        return ColBackMargin;
    case 15:
        return ColTabFlags;
    case 16:
        return ColOrientation;
    case 18:
        return ColPrintWidth;
    case 19:
        return ColPrintHeight;
    case 20:
        return ColViewScale;
    case 21:
        return ColTextAlign;
    default:
        return -1;
    }
}

} // namespace

SystemSettingsFile::SystemSettingsFile(fs::path programFolder, FileSystem& fileSystem)
    : programFolder_(std::move(programFolder)), fileSystem_(fileSystem) {}

void SystemSettingsFile::Read(SystemSettings& settings, FormatCatalogue& catalogue) const {
    catalogue.FormatCount = 0;
    catalogue.Codes = FormatCodeSlots{};
    ReadText(ReadExistingFile(Path()), settings, catalogue);
}

void SystemSettingsFile::ReadText(const std::string& bytes, SystemSettings& settings,
                                  FormatCatalogue& catalogue) const {
    catalogue.FormatCount = 0;
    catalogue.Codes = FormatCodeSlots{};
    LineReader reader(bytes);
    HeaderLines header;
    header.Read(reader); // the free line after the comments is not used
    int16_t slot = 0;
    while (!reader.AtEnd()) {
        std::string line = reader.ReadLine();
        if (line.size() < 5)
            continue;
        std::string key = line.substr(0, 3);
        std::string value = line.substr(4);
        if (key == "s01")
            settings.SystemFlags = ToInt32(Val(value));
        else if (key == "s02")
            settings.DefaultFormat = ToInt16(Val(value));
        else if (key == "w99")
            break;
        else if (key.size() == 3 && key[0] == 'w')
            ReadFormatLine(key, value, slot, catalogue);
    }
}

void SystemSettingsFile::ReadFormatLine(const std::string& key, const std::string& value,
                                        int16_t& slot, FormatCatalogue& catalogue) const {
    if (key[1] < '0' || key[1] > '9' || key[2] < '0' || key[2] > '9')
        return;
    int number = (key[1] - '0') * 10 + (key[2] - '0');
    if (number == 1) {
        catalogue.FormatCount = 0;
        return;
    }
    slot = catalogue.FormatCount;
    if (slot >= FormatCatalogue::Slots)
        throw RuntimeError(RuntimeError::SubscriptOutOfRange,
                           "Subscript out of range: more than 37 card formats");
    auto& row = catalogue.Formats[size_t(slot)];
    if (number == 2) {
        catalogue.Codes.Record(value, slot);
        row.fill(std::string());
        row[ColFolder] = "/" + value;
    } else if (number == 3) {
        std::string base = "/data/" + value.substr(0, 7);
        for (int page = 1; page <= 4; ++page)
            row[size_t(page)] = base + std::to_string(page) + ".dat";
    } else if (number == 4) {
        row[ColExtension] = "." + value;
    } else if (number == 5) {
        row[ColDisplayName] = value;
    } else if (number == 9) {
        row[ColBackPage] = value;
    } else if (number == 17) {
        row[ColPicture] = value;
    } else if (number == 98) {
        if (LayoutFilesExist(catalogue, slot))
            ++catalogue.FormatCount;
    } else if (int column = NumericColumnOf(number); column >= 0) {
        row[size_t(column)] = FormatNumber(Val(value));
    }
}

bool SystemSettingsFile::LayoutFilesExist(const FormatCatalogue& catalogue, int slot) const {
    for (int column : {ColFrontTemplate, ColFrontBase}) {
        const std::string& relative = catalogue.Formats[size_t(slot)][size_t(column)];
        auto resolved = ResolveExisting(programFolder_.string() + relative);
        std::error_code ec;
        if (relative.empty() || !resolved || !fs::is_regular_file(*resolved, ec))
            return false;
    }
    return true;
}

void SystemSettingsFile::Save(const SystemSettings& settings) const {
    LineReader reader(ReadExistingFile(Path()));
    HeaderLines header;
    std::string freeLine = header.Read(reader);
    std::string out;
    header.Write(out);
    AppendLine(out, freeLine);
    AppendLine(out, "s01 " + std::to_string(settings.SystemFlags));
    AppendLine(out, "s02 " + std::to_string(settings.DefaultFormat));
    AppendLine(out, "s03 0");
    for (int i = 0; i < 3; ++i)
        reader.ReadLine();
    while (!reader.AtEnd())
        AppendLine(out, reader.ReadLine());
    AtomicReplace(fileSystem_, ResolveExisting(Path()).value_or(Path()), out, ScratchPath());
}

void SystemSettingsFile::PatchDefaultFormat(int currentFormat) const {
    LineReader reader(ReadExistingFile(Path()));
    std::string out;
    while (!reader.AtEnd()) {
        std::string line = reader.ReadLine();
        if (line.compare(0, 3, "s02") == 0)
            line = "s02 " + std::to_string(currentFormat);
        AppendLine(out, line);
    }
    AtomicReplace(fileSystem_, ResolveExisting(Path()).value_or(Path()), out, ScratchPath());
}

} // namespace cw
