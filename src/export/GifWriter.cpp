#include "GifWriter.h"

#include "RuntimeError.h"

#include <algorithm>
#include <array>
#include <gif_lib.h>
#include <utility>

namespace cw {

namespace {

constexpr int kMaxColours = 256;
constexpr int kCells = 1 << 15;
// Run-time error numbers: "Out of memory" and "Device I/O error".
constexpr int kOutOfMemory = 7;
constexpr int kDeviceIo = 57;

int WriteBytes(GifFileType* gif, const GifByteType* data, int length) {
    auto* out = static_cast<std::string*>(gif->UserData);
    try {
        out->append(reinterpret_cast<const char*>(data), size_t(length));
    } catch (...) {
        return 0;
    }
    return length;
}

[[noreturn]] void Fail(const std::string& what, int error) {
    throw RuntimeError(kDeviceIo, "GIF picture: " + what + ": " +
                                      (GifErrorString(error) ? GifErrorString(error) : "error"));
}

// Smallest power of two of at least count entries (a GIF palette has 2 to 256).
int PaletteSize(int count) {
    int size = 2;
    while (size < count)
        size *= 2;
    return size;
}

uint32_t CellOf(uint32_t rgb) {
    return ((rgb >> 19) & 0x1F) << 10 | ((rgb >> 11) & 0x1F) << 5 | ((rgb >> 3) & 0x1F);
}

// One box of the median cut: its cells, its pixels as giflib counts them, and its extent
// along each primary in eight-bit steps (bytes, wrapping as giflib's do).
struct Box {
    std::vector<uint16_t> cells;
    uint64_t count = 0;
    std::array<uint8_t, 3> min{0, 0, 0};
    std::array<uint8_t, 3> width{255, 255, 255};
};

int Primary(uint16_t cell, int axis) {
    return (cell >> (10 - 5 * axis)) & 0x1F;
}

} // namespace

std::vector<uint8_t> MedianCut(const std::vector<uint64_t>& cellCounts, int maxEntries,
                               int& entries) {
    std::vector<Box> boxes(1);
    for (int cell = 0; cell < kCells && cell < int(cellCounts.size()); ++cell)
        if (cellCounts[size_t(cell)] > 0) {
            boxes[0].cells.push_back(uint16_t(cell));
            boxes[0].count += cellCounts[size_t(cell)];
        }
    std::vector<uint8_t> entryOf(kCells, 0);
    entries = boxes[0].cells.empty() ? 0 : 1;
    while (!boxes[0].cells.empty() && int(boxes.size()) < maxEntries) {
        // The box widest along one primary (the first such) that has more than one cell.
        int widest = -1, axis = 0;
        size_t split = 0;
        for (size_t i = 0; i < boxes.size(); ++i)
            for (int j = 0; j < 3; ++j)
                if (int(boxes[i].width[size_t(j)]) > widest && boxes[i].cells.size() > 1) {
                    widest = boxes[i].width[size_t(j)];
                    split = i;
                    axis = j;
                }
        if (widest < 0)
            break;
        Box& box = boxes[split];
        // Ordered by that primary, then the next two: every cell has its own place.
        auto key = [axis](uint16_t cell) {
            return Primary(cell, axis) << 16 | Primary(cell, (axis + 1) % 3) << 8 |
                   Primary(cell, (axis + 2) % 3);
        };
        std::sort(box.cells.begin(), box.cells.end(),
                  [&](uint16_t a, uint16_t b) { return key(a) < key(b); });
        // Cells are taken until half the box's pixels are; the second half keeps at least one.
        int64_t sum = int64_t(box.count / 2 - cellCounts[box.cells[0]]);
        size_t taken = 1;
        uint64_t firstCount = cellCounts[box.cells[0]];
        while (taken < box.cells.size() && (sum -= int64_t(cellCounts[box.cells[taken]])) >= 0 &&
               taken + 1 < box.cells.size()) {
            firstCount += cellCounts[box.cells[taken]];
            ++taken;
        }
        const unsigned maxColour = unsigned(Primary(box.cells[taken - 1], axis)) << 3;
        const unsigned minColour = unsigned(Primary(box.cells[taken], axis)) << 3;
        Box second;
        second.cells.assign(box.cells.begin() + long(taken), box.cells.end());
        box.cells.resize(taken);
        // As giflib has it, the new box is given the first half's pixels and the first box
        // keeps the rest.
        second.count = firstCount;
        box.count -= firstCount;
        second.min = box.min;
        second.width = box.width;
        const auto a = size_t(axis);
        second.width[a] = uint8_t(second.min[a] + second.width[a] - minColour);
        second.min[a] = uint8_t(minColour);
        box.width[a] = uint8_t(maxColour - box.min[a]);
        boxes.push_back(std::move(second));
    }
    if (!boxes[0].cells.empty())
        entries = int(boxes.size());
    for (size_t i = 0; i < boxes.size(); ++i)
        for (uint16_t cell : boxes[i].cells)
            entryOf[cell] = uint8_t(i);
    return entryOf;
}

GifPalette::GifPalette() {
    uses_.reserve(1024);
}

void GifPalette::Count(const QRgb* row, int width) {
    for (int x = 0; x < width; ++x) {
        const uint32_t rgb = row[x] & 0xFFFFFF;
        if (!lastUse_ || rgb != last_) {
            lastUse_ = &uses_[rgb];
            last_ = rgb;
        }
        ++*lastUse_;
    }
}

void GifPalette::Make() {
    if (uses_.empty())
        throw RuntimeError(RuntimeError::InvalidCall, "GIF picture: the picture is empty");
    std::vector<QRgb> palette(kMaxColours, 0);
    int colours = 0;
    exact_ = int(uses_.size()) <= kMaxColours;
    if (exact_) {
        for (const auto& [rgb, count] : uses_) {
            indexOf_[rgb] = uint8_t(colours);
            palette[size_t(colours++)] = rgb;
        }
    } else {
        // The median cut sees five bits of each primary: the pixels of each 15-bit cell.
        std::vector<uint64_t> cellCounts(kCells, 0);
        for (const auto& [rgb, count] : uses_)
            cellCounts[CellOf(rgb)] += count;
        cellEntry_ = MedianCut(cellCounts, kMaxColours, colours);
        // Every pixel of one colour falls into the same entry; each entry takes its most
        // frequent colour instead of the mean of them.
        std::vector<uint32_t> best(kMaxColours, 0);
        for (const auto& [rgb, count] : uses_) {
            const uint8_t index = cellEntry_[CellOf(rgb)];
            if (count > best[index]) {
                best[index] = count;
                palette[index] = rgb;
            }
        }
    }
    palette.resize(size_t(PaletteSize(colours)));
    entries_ = std::move(palette);
}

void GifPalette::Map(const QRgb* row, int width, uint8_t* indexes) const {
    if (!exact_) {
        for (int x = 0; x < width; ++x)
            indexes[x] = cellEntry_[CellOf(row[x])];
        return;
    }
    uint32_t last = ~0u;
    uint8_t lastIndex = 0;
    for (int x = 0; x < width; ++x) {
        const uint32_t rgb = row[x] & 0xFFFFFF;
        if (rgb != last) {
            auto it = indexOf_.find(rgb);
            lastIndex = it == indexOf_.end() ? 0 : it->second;
            last = rgb;
        }
        indexes[x] = lastIndex;
    }
}

struct GifStream::State {
    GifFileType* gif = nullptr;
    const GifPalette* palette = nullptr;
    int width = 0;
    std::vector<GifByteType> indexes;
};

GifStream::GifStream(std::string& out, int width, int height, const GifPalette& palette)
    : state_(std::make_unique<State>()) {
    const std::vector<QRgb>& entries = palette.Entries();
    std::vector<GifColorType> colours;
    for (QRgb rgb : entries)
        colours.push_back({GifByteType(rgb >> 16), GifByteType(rgb >> 8), GifByteType(rgb)});
    std::unique_ptr<ColorMapObject, void (*)(ColorMapObject*)> map(
        GifMakeMapObject(int(colours.size()), colours.data()), GifFreeMapObject);
    if (!map)
        throw RuntimeError(kOutOfMemory, "GIF picture: no palette could be made");
    int error = 0;
    state_->gif = EGifOpen(&out, WriteBytes, &error);
    if (!state_->gif)
        Fail("cannot start", error);
    state_->palette = &palette;
    state_->width = width;
    state_->indexes.resize(size_t(width));
    EGifSetGifVersion(state_->gif, true);
    if (EGifPutScreenDesc(state_->gif, width, height, map->BitsPerPixel, 0, map.get()) != GIF_OK ||
        EGifPutImageDesc(state_->gif, 0, 0, width, height, false, nullptr) != GIF_OK)
        Fail("cannot write", state_->gif->Error);
}

GifStream::~GifStream() {
    if (state_->gif)
        EGifCloseFile(state_->gif, nullptr);
}

void GifStream::PutRow(const QRgb* row) {
    state_->palette->Map(row, state_->width, state_->indexes.data());
    if (EGifPutLine(state_->gif, state_->indexes.data(), state_->width) != GIF_OK)
        Fail("cannot write", state_->gif->Error);
}

void GifStream::Close() {
    int error = 0;
    GifFileType* gif = std::exchange(state_->gif, nullptr);
    if (EGifCloseFile(gif, &error) != GIF_OK)
        Fail("cannot write", error);
}

std::string EncodeGif(const QImage& source) {
    if (source.isNull())
        throw RuntimeError(RuntimeError::InvalidCall, "GIF picture: the picture is empty");
    const QImage picture = source.convertToFormat(QImage::Format_RGB32);
    auto row = [&](int y) {
        return reinterpret_cast<const QRgb*>(picture.constScanLine(y));
    };
    GifPalette palette;
    for (int y = 0; y < picture.height(); ++y)
        palette.Count(row(y), picture.width());
    palette.Make();
    std::string bytes;
    GifStream gif(bytes, picture.width(), picture.height(), palette);
    for (int y = 0; y < picture.height(); ++y)
        gif.PutRow(row(y));
    gif.Close();
    return bytes;
}

} // namespace cw
