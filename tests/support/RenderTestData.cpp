#include "RenderTestData.h"

namespace cw::test {

namespace {

std::vector<std::string> LayoutHeader(const RenderFormat& format, int page) {
    const bool baseLayer = page % 2 == 0;
    std::vector<std::string> values(30, "0");
    values[1] = std::to_string(baseLayer ? format.basePrintColour : format.baseTextColour);
    values[4] = std::to_string(format.checkStyle);
    values[5] = std::to_string(format.printWidth);
    values[6] = std::to_string(format.printHeight);
    values[7] = std::to_string(baseLayer ? format.baseSize : format.fieldSize);
    values[8] = "\"" + (baseLayer ? format.baseFont : format.fieldFont) + "\"";
    values[12] = std::to_string(format.backMargin);
    values[13] = std::to_string(format.width);
    values[14] = std::to_string(format.height);
    values[15] = "6.3.19";
    values[16] = std::to_string(format.frontMargin);
    return HeaderBlock("(names)", values);
}

} // namespace

std::string RecordLine(int kind, std::array<int32_t, 6> a, const std::string& text) {
    // A rectangle keeps its colour in the text's place.
    if (kind == 6 && text.empty())
        return RecordLine(kind, {a[0], a[1], a[2], a[3], a[4], 0}, std::to_string(a[5]));
    std::string line = std::to_string(kind);
    for (int i = 0; i < 5; ++i)
        line += "," + std::to_string(a[size_t(i)]);
    return line + ",\"" + text + "\"," + std::to_string(a[5]);
}

void MakeRenderRoot(const fs::path& root, const std::vector<RenderFormat>& formats) {
    std::vector<std::string> sys{"| Cardwright settings for drawing tests",
                                 "free line",
                                 "s01 0",
                                 "s02 0",
                                 "s03 0",
                                 "w01 formats"};
    for (const RenderFormat& format : formats) {
        for (const std::string& line : std::vector<std::string>{
                 "w02 " + format.code, "w03 " + format.base, "w04 " + format.extension,
                 "w05 " + format.name, "w09 " + std::string(format.backPage ? "1" : "0"),
                 "w10 " + std::to_string(format.baseBlack),
                 "w11 " + std::to_string(format.namesMode),
                 "w12 " + std::to_string(format.frontMargin), "w13 " + std::to_string(format.tint),
                 "w14 " + std::to_string(format.backMargin),
                 "w18 " + std::to_string(format.printWidth),
                 "w19 " + std::to_string(format.printHeight), "w20 " + format.viewScale, "w98 end"})
            sys.push_back(line);
        const std::vector<std::string>* records[] = {&format.frontTemplate, &format.frontBase,
                                                     &format.backTemplate, &format.backBase};
        for (int page = 1; page <= (format.backPage ? 4 : 2); ++page) {
            std::vector<std::string> lines{"| " + format.code + " layout " + std::to_string(page)};
            for (const std::string& line : LayoutHeader(format, page))
                lines.push_back(line);
            for (const std::string& line : *records[page - 1])
                lines.push_back(line);
            WriteLines(root / "data" / (format.base + std::to_string(page) + ".dat"), lines);
        }
        fs::create_directories(root / format.code);
    }
    sys.push_back("w99 end");
    WriteLines(root / "cwr.sys", sys);
    fs::create_directories(root / "datasys");
    fs::create_directories(root / "fontsdir");
    std::error_code ec;
    fs::copy_file(fs::path(CW_SOURCE_DATA) / "fontsdir" / "Pip4.ttf",
                  root / "fontsdir" / "Pip4.ttf", fs::copy_options::overwrite_existing, ec);
}

void WriteCardPage(const fs::path& root, const RenderFormat& format, const std::string& card,
                   bool back, const std::vector<std::string>& records,
                   const std::array<std::string, 5>& names) {
    std::vector<std::string> lines = LayoutHeader(format, back ? 3 : 1);
    for (size_t i = 0; i < names.size(); ++i)
        lines[i] = names[i];
    for (const std::string& line : records)
        lines.push_back(line);
    WriteLines(root / format.code / (card + (back ? "_." : ".") + format.extension), lines);
}

void WritePicture(const fs::path& root, const std::string& name, uint32_t rgb) {
    // An 8 x 8 Windows bitmap of one colour, 24 bits a pixel.
    constexpr uint32_t side = 8, rowBytes = side * 3, pixelBytes = rowBytes * side;
    std::string bytes;
    auto put = [&bytes](uint32_t value, int size) {
        for (int i = 0; i < size; ++i)
            bytes.push_back(char((value >> (8 * i)) & 0xFF));
    };
    bytes += "BM";
    put(54 + pixelBytes, 4);
    put(0, 4);
    put(54, 4);
    put(40, 4);
    put(side, 4);
    put(side, 4);
    put(1, 2);
    put(24, 2);
    put(0, 4);
    put(pixelBytes, 4);
    put(2835, 4);
    put(2835, 4);
    put(0, 4);
    put(0, 4);
    for (uint32_t i = 0; i < side * side; ++i) {
        bytes.push_back(char(rgb & 0xFF));         // blue
        bytes.push_back(char((rgb >> 8) & 0xFF));  // green
        bytes.push_back(char((rgb >> 16) & 0xFF)); // red
    }
    WriteFile(root / "bmps" / name, bytes);
}

RenderFormat EveryKindFormat() {
    RenderFormat format;
    format.frontBase = {
        RecordLine(2, {200, 100, 2400, 240, 0, 0}, "Base text"),
        RecordLine(2, {200, 400, 2400, 240, 0, 0}, "Hidden by an erased area"),
        RecordLine(2, {3000, 100, 1500, 240, 5, 0}, "Blue text"),
        RecordLine(3, {200, 800, 0, 0, 0, 150}),
        RecordLine(4, {1000, 900, 0, 1, 120, 0}),
        RecordLine(4, {1500, 900, 0, 2, 120, 0}),
        RecordLine(5, {200, 1200, 1500, 400, 1, 0}),
        RecordLine(5, {2000, 1200, 1500, 300, 2, 0}),
        RecordLine(6, {4000, 1200, 1000, 400, 1, 0}, "255"),
        RecordLine(7, {200, 1800, 2000, 250, 6 + 256, 2 + 16}, "Section title"),
        RecordLine(8, {3000, 1800, 2000, 240, 0, 0}, "Kind eight"),
        RecordLine(9, {6400, 3000, 90, 0, 2, 0}, "Rotated"),
        RecordLine(12, {200, 7000, 2300, 2300, 2, 0}),
        RecordLine(15, {5200, 100, 600, 600, 0, 0}, "base.bmp"),
        RecordLine(17, {3000, 2500, 2000, 240, 0, 0}, "Kind seventeen"),
        RecordLine(18, {200, 2600, 0, 0, 0, 0}),
        RecordLine(21, {200, 6700, 1200, 240, 0, 7 * 256}),
        RecordLine(22, {3000, 6700, 2000, 240, 0, 0}, "Printed only"),
        RecordLine(20, {1000, 3300, 200, 0, 0, 0}),
    };
    format.backBase = {RecordLine(2, {200, 100, 2400, 240, 0, 0}, "Back page")};
    format.frontTemplate = EveryKindCard();
    format.backTemplate = {};
    return format;
}

std::vector<std::string> EveryKindCard() {
    return {
        RecordLine(15, {5800, 3800, 600, 600, 0, 0}, "card.bmp"),
        RecordLine(7, {2200, 4200, 1200, 300, 3, 2}, "Card label"),
        RecordLine(2, {200, 5000, 3000, 240, 0, 0}, "Alice - Bob"),
        RecordLine(2, {200, 5300, 3000, 240, 0, 0}, "12345"),
        RecordLine(2, {200, 5600, 3000, 240, 0, 0}, "2<h> 3<s>"),
        RecordLine(2, {3400, 5000, 1500, 700, 11, 3}, "Two lines of wrapped text"),
        RecordLine(3, {3000, 3000, 0, 0, 1, 200}),
        RecordLine(3, {3400, 3000, 0, 0, 0, 200}),
        RecordLine(1, {150, 350, 2500, 300, 0, 0}),
        RecordLine(4, {4000, 3100, 0, 3, 150, 2}),
        RecordLine(5, {200, 4200, 800, 300, 1, 0}),
        RecordLine(6, {1200, 4200, 800, 300, 2, 5}),
        RecordLine(8, {3600, 4200, 1500, 240, 0, 0}, "Kind 8 card"),
        RecordLine(12, {200, 3000, 4700, 4700, 3, 2}),
        RecordLine(16, {6200, 5000, 150, 3, 0, 0}),
        RecordLine(18, {5000, 5000, 1, 0, 0, 0}),
        RecordLine(20, {6000, 6000, 100, 0, 0, 0}),
        RecordLine(23, {4000, 5800, 300, 250, 1, 0}),
        RecordLine(24, {5000, 6200, 0, 1, 10, 0}, "K"),
    };
}

std::pair<RenderFormat, RenderFormat> MakeEveryKindRoot(const fs::path& root) {
    RenderFormat every = EveryKindFormat();
    RenderFormat single = EveryKindFormat();
    single.code = "SINGLE";
    single.base = "single";
    single.extension = "sgl";
    single.backPage = false;
    MakeRenderRoot(root, {every, single});
    WritePicture(root, "base.bmp", 0x00FF00);
    WritePicture(root, "card.bmp", 0x0000FF);
    return {every, single};
}

} // namespace cw::test
