#include "FormatDefaults.h"

#include "BasicNumbers.h"
#include "HeaderLines.h"
#include "LineReader.h"
#include "RuntimeError.h"

namespace cw {

namespace {

RecordItem NumberItem(double value) {
    return {FormatNumber(value), false};
}

RecordItem NumericValueOf(const RecordItem& item) {
    return NumberItem(Val(item.text));
}

RecordItem ParseValueLine(const std::string& line) {
    auto items = SplitRecord(line);
    if (!items || items->empty())
        return {line, false};
    return items->front();
}

std::string FormatValue(const RecordItem& item) {
    return item.quoted ? QuoteItem(item.text) : item.text;
}

double Number(const RecordItem& item) {
    return Val(item.text);
}

} // namespace

bool IsFontNameValue(int index) {
    return index >= 16 && index < 48 && (index - 16) % 8 == 2;
}

bool ItemToBool(const RecordItem& item) {
    std::string upper = ToUpperAscii(item.text);
    if (upper == "TRUE" || upper == "#TRUE#")
        return true;
    if (upper == "FALSE" || upper == "#FALSE#" || upper.empty())
        return false;
    return Val(item.text) != 0;
}

std::array<RecordItem, FormatDefaults::ValueCount + 1>
ParseDefaultsValues(const std::string& bytes) {
    LineReader reader(bytes);
    std::array<RecordItem, FormatDefaults::ValueCount + 1> values{};
    for (int i = 0; i < FormatDefaults::ValueCount; ++i)
        values[size_t(i)] = ParseValueLine(reader.ReadLine());
    return values;
}

void FormatDefaults::Apply(bool backSide, bool drawingBaseText) {
    const auto& v = DefaultsValues;
    CheckBoxStyle = ToInt32(Number(v[0]));
    PrintWidthSetting = Number(v[1]);
    PrintHeightSetting = Number(v[2]);
    PrintFlags = ToInt32(Number(v[3]));
    FrontMarginSetting = Number(v[4]);
    BackMarginSetting = Number(v[5]);
    NaturalWidth = Number(v[6]);
    NaturalHeight = Number(v[7]);
    BaseTextPrintColourFront = ToInt32(Number(v[8]));
    BaseTextPrintColourBack = ToInt32(Number(v[9]));
    SavedZoom = ToInt16(Number(v[10]));
    TextAlignSetting = Number(v[11]);
    int block = FontBlockStart(backSide, drawingBaseText);
    BaseTextColour = ToInt32(Number(v[size_t(block)]));
    BasicFontSize = float(Number(v[size_t(block + 1)]));
    BasicFont = v[size_t(block + 2)].text;
    BasicFontBold = ItemToBool(v[size_t(block + 3)]);
    BasicFontItalic = ItemToBool(v[size_t(block + 4)]);
}

void FormatDefaults::CollectInto(bool backSide, bool drawingBaseText) {
    auto& v = DefaultsValues;
    v[0] = NumberItem(CheckBoxStyle);
    v[1] = NumberItem(PrintWidthSetting);
    v[2] = NumberItem(PrintHeightSetting);
    v[3] = NumberItem(PrintFlags);
    v[4] = NumberItem(FrontMarginSetting);
    v[5] = NumberItem(BackMarginSetting);
    v[6] = NumberItem(NaturalWidth);
    v[7] = NumberItem(NaturalHeight);
    v[8] = NumberItem(BaseTextPrintColourFront);
    v[9] = NumberItem(BaseTextPrintColourBack);
    v[10] = NumberItem(SavedZoom);
    v[11] = NumberItem(TextAlignSetting);
    int block = FontBlockStart(backSide, drawingBaseText);
    v[size_t(block)] = NumberItem(BaseTextColour);
    v[size_t(block + 1)] = NumberItem(BasicFontSize);
    v[size_t(block + 2)] = {BasicFont, true};
    v[size_t(block + 3)] = NumberItem(BasicFontBold ? -1 : 0);
    v[size_t(block + 4)] = NumberItem(BasicFontItalic ? -1 : 0);
}

FormatDefaultsFile::FormatDefaultsFile(fs::path programFolder, fs::path dataSysDir,
                                       FileSystem& fileSystem)
    : programFolder_(std::move(programFolder)), dataSysDir_(std::move(dataSysDir)),
      fileSystem_(fileSystem) {}

fs::path FormatDefaultsFile::PathFor(const FormatCatalogue& catalogue, int slot) const {
    return dataSysDir_.string() + catalogue.Column(slot, ColFolder) + ".dat";
}

std::array<RecordItem, 30>
FormatDefaultsFile::ReadLayoutHeader(const std::string& relativePath) const {
    LineReader reader(ReadExistingFile(programFolder_.string() + relativePath));
    HeaderLines comments;
    comments.Read(reader); // header line 0 is not a value
    std::array<RecordItem, 30> values;
    for (auto& value : values)
        value = ParseValueLine(reader.ReadLine());
    return values;
}

std::string FormatDefaultsFile::BuildFromLayouts(const FormatCatalogue& catalogue, int slot) const {
    const std::string& front = catalogue.Column(slot, ColFrontTemplate);
    std::string base = front.substr(0, front.size() >= 5 ? front.size() - 5 : 0);
    int pages = catalogue.HasBackPage(slot) ? 4 : 2;
    auto layoutPath = [&](int page) {
        return base + std::to_string(page) + ".dat";
    };

    auto first = ReadLayoutHeader(layoutPath(1));
    first[8] = ReadLayoutHeader(layoutPath(2))[1];
    if (pages == 4)
        first[9] = ReadLayoutHeader(layoutPath(4))[1];

    std::string out;
    for (int k : {4, 5, 6, 11, 16, 12, 13, 14, 8, 9, 17, 18})
        AppendLine(out, NumericValueOf(first[size_t(k)]).text);
    for (int i = 0; i < 4; ++i)
        AppendLine(out, "0");
    for (int page = 1; page <= pages; ++page) {
        auto values = ReadLayoutHeader(layoutPath(page));
        if (page == 2 || page == 4)
            values[1] = NumberItem(2);
        AppendLine(out, NumericValueOf(values[1]).text);
        AppendLine(out, NumericValueOf(values[7]).text);
        // The font name is a string wherever it comes from, so that every block of the file
        // reads alike (a layout file may hold it bare).
        AppendLine(out, QuoteItem(values[8].text));
        AppendLine(out, FormatValue(values[9]));
        AppendLine(out, FormatValue(values[10]));
        for (int i = 0; i < 3; ++i)
            AppendLine(out, "0");
    }
    if (pages == 2)
        for (int i = 0; i < 16; ++i)
            AppendLine(out, "0");
    return out;
}

void FormatDefaultsFile::Write(const FormatCatalogue& catalogue, int slot,
                               const std::string& bytes) const {
    CreateFolderQuietly(dataSysDir_);
    fs::path target = ResolveForWriting(PathFor(catalogue, slot));
    AtomicReplace(fileSystem_, target, bytes, target.string() + ".new");
}

void FormatDefaultsFile::Create(const FormatCatalogue& catalogue, int slot) const {
    Write(catalogue, slot, BuildFromLayouts(catalogue, slot));
}

std::optional<DefaultsRebuilt> FormatDefaultsFile::Load(const FormatCatalogue& catalogue, int slot,
                                                        FormatDefaults& defaults, bool backSide,
                                                        bool drawingBaseText,
                                                        bool writeFiles) const {
    fs::path path = PathFor(catalogue, slot);
    auto rebuild = [&] {
        std::string bytes = BuildFromLayouts(catalogue, slot);
        if (writeFiles)
            Write(catalogue, slot, bytes);
        return ParseDefaultsValues(bytes);
    };
    std::optional<DefaultsRebuilt> rebuilt;
    std::array<RecordItem, FormatDefaults::ValueCount + 1> values;
    if (auto existing = ResolveExisting(path)) {
        try {
            values = ParseDefaultsValues(ReadFileBytes(*existing));
        } catch (const RuntimeError& error) {
            // The layout files come first: when they cannot be read either, the old file
            // stays where it is and the error is the caller's.
            std::string bytes = BuildFromLayouts(catalogue, slot);
            values = ParseDefaultsValues(bytes);
            std::string reason = error.ErrorNumber() == RuntimeError::InputPastEnd
                                     ? "it holds fewer than 48 values"
                                     : std::string(error.what());
            rebuilt = DefaultsRebuilt{*existing, reason, {}};
            fs::path bad = existing->string() + ".bad";
            std::error_code ec;
            if (writeFiles) {
                fs::rename(*existing, bad, ec);
                if (!ec) {
                    rebuilt->keptAs = bad;
                    Write(catalogue, slot, bytes);
                }
            }
        }
        bool fontMissing = false;
        for (int i = 25; i <= 28; ++i)
            fontMissing |= values[size_t(i)].IsEmpty();
        if (fontMissing)
            values = rebuild();
    } else {
        values = rebuild();
    }
    FormatDefaults loaded = defaults;
    loaded.DefaultsValues = values;
    loaded.Apply(backSide, drawingBaseText);
    defaults = std::move(loaded);
    return rebuilt;
}

void FormatDefaultsFile::Save(const FormatCatalogue& catalogue, int slot, FormatDefaults& defaults,
                              bool backSide, bool drawingBaseText) const {
    fs::path path = ResolveForWriting(PathFor(catalogue, slot));
    LineReader reader(ReadFileBytes(path));
    const bool backPage = catalogue.HasBackPage(slot);
    std::string out;
    for (int i = 0; i < FormatDefaults::ValueCount; ++i) {
        reader.ReadLine(); // the old file must still hold all its values
        const RecordItem& value = defaults.DefaultsValues[size_t(i)];
        // Font names are strings in every block the format has (a one-page format's back
        // blocks stay zeros).
        bool fontName = IsFontNameValue(i) && (backPage || i < 32);
        AppendLine(out, fontName ? QuoteItem(value.text) : FormatValue(value));
    }
    std::string name = catalogue.Column(slot, ColFolder);
    if (!name.empty() && name.front() == '/')
        name.erase(0, 1);
    AtomicReplace(fileSystem_, path, out, path.parent_path() / (name + "temp.dat"));
    defaults.Apply(backSide, drawingBaseText);
}

} // namespace cw
