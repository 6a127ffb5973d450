#include "GifWriter.h"

#include "RuntimeError.h"

#include <gif_lib.h>
#include <memory>
#include <unordered_map>
#include <vector>

namespace cw {

namespace {

constexpr int kMaxColours = 256;
// Run-time error numbers: "Out of memory" and "Device I/O error".
constexpr int kOutOfMemory = 7;
constexpr int kDeviceIo = 57;

int WriteBytes(GifFileType* gif, const GifByteType* data, int length) {
    auto* out = static_cast<std::string*>(gif->UserData);
    out->append(reinterpret_cast<const char*>(data), size_t(length));
    return length;
}

[[noreturn]] void Fail(const std::string& what, int error) {
    throw RuntimeError(kDeviceIo, "GIF picture: " + what + ": " +
                                      (GifErrorString(error) ? GifErrorString(error) : "error"));
}

struct ColourUse {
    uint32_t count = 0;
    size_t firstPixel = 0;
};

// Smallest power of two of at least count entries (a GIF palette has 2 to 256).
int PaletteSize(int count) {
    int size = 2;
    while (size < count)
        size *= 2;
    return size;
}

} // namespace

std::string EncodeGif(const QImage& source) {
    if (source.isNull())
        throw RuntimeError(RuntimeError::InvalidCall, "GIF picture: the picture is empty");
    const QImage picture = source.convertToFormat(QImage::Format_RGB32);
    const int width = picture.width(), height = picture.height();
    const size_t pixelCount = size_t(width) * size_t(height);

    // The colours the picture uses, how often, and where each is first found.
    std::unordered_map<uint32_t, ColourUse> uses;
    uses.reserve(1024);
    {
        uint32_t last = 0;
        ColourUse* lastUse = nullptr;
        size_t at = 0;
        for (int y = 0; y < height; ++y) {
            const auto* line = reinterpret_cast<const uint32_t*>(picture.constScanLine(y));
            for (int x = 0; x < width; ++x, ++at) {
                const uint32_t rgb = line[x] & 0xFFFFFF;
                if (!lastUse || rgb != last) {
                    auto [it, added] = uses.try_emplace(rgb);
                    if (added)
                        it->second.firstPixel = at;
                    lastUse = &it->second;
                    last = rgb;
                }
                ++lastUse->count;
            }
        }
    }

    std::vector<GifByteType> indexes(pixelCount);
    std::vector<GifColorType> palette(kMaxColours, GifColorType{0, 0, 0});
    int colours = 0;
    if (int(uses.size()) <= kMaxColours) {
        std::unordered_map<uint32_t, GifByteType> indexOf;
        for (const auto& [rgb, use] : uses) {
            indexOf[rgb] = GifByteType(colours);
            palette[size_t(colours++)] = {GifByteType(rgb >> 16), GifByteType(rgb >> 8),
                                          GifByteType(rgb)};
        }
        size_t at = 0;
        uint32_t last = ~0u;
        GifByteType lastIndex = 0;
        for (int y = 0; y < height; ++y) {
            const auto* line = reinterpret_cast<const uint32_t*>(picture.constScanLine(y));
            for (int x = 0; x < width; ++x, ++at) {
                const uint32_t rgb = line[x] & 0xFFFFFF;
                if (rgb != last) {
                    lastIndex = indexOf[rgb];
                    last = rgb;
                }
                indexes[at] = lastIndex;
            }
        }
    } else {
        std::vector<GifByteType> red(pixelCount), green(pixelCount), blue(pixelCount);
        size_t at = 0;
        for (int y = 0; y < height; ++y) {
            const auto* line = reinterpret_cast<const uint32_t*>(picture.constScanLine(y));
            for (int x = 0; x < width; ++x, ++at) {
                red[at] = GifByteType(line[x] >> 16);
                green[at] = GifByteType(line[x] >> 8);
                blue[at] = GifByteType(line[x]);
            }
        }
        colours = kMaxColours;
        if (GifQuantizeBuffer(unsigned(width), unsigned(height), &colours, red.data(), green.data(),
                              blue.data(), indexes.data(), palette.data()) != GIF_OK)
            throw RuntimeError(kOutOfMemory, "GIF picture: no palette could be made");
        // Every pixel of one colour falls into the same entry; each entry takes its most
        // frequent colour instead of the mean of them.
        std::vector<uint32_t> best(kMaxColours, 0);
        for (const auto& [rgb, use] : uses) {
            const GifByteType index = indexes[use.firstPixel];
            if (use.count > best[index]) {
                best[index] = use.count;
                palette[index] = {GifByteType(rgb >> 16), GifByteType(rgb >> 8), GifByteType(rgb)};
            }
        }
    }

    const int paletteSize = PaletteSize(colours);
    std::unique_ptr<ColorMapObject, void (*)(ColorMapObject*)> map(
        GifMakeMapObject(paletteSize, palette.data()), GifFreeMapObject);
    if (!map)
        throw RuntimeError(kOutOfMemory, "GIF picture: no palette could be made");

    std::string bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, WriteBytes, &error);
    if (!gif)
        Fail("cannot start", error);
    EGifSetGifVersion(gif, true);
    bool written =
        EGifPutScreenDesc(gif, width, height, map->BitsPerPixel, 0, map.get()) == GIF_OK &&
        EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
    for (int y = 0; written && y < height; ++y)
        written = EGifPutLine(gif, indexes.data() + size_t(y) * size_t(width), width) == GIF_OK;
    const int lastError = gif->Error;
    if (EGifCloseFile(gif, &error) != GIF_OK || !written)
        Fail("cannot write", written ? error : lastError);
    return bytes;
}

} // namespace cw
