#pragma once

#include <QImage>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace cw {

// The palette of a GIF picture, made from its colours counted row by row. A picture of up to
// 256 colours keeps them exactly; one of more gets a palette of 256 made by median cut (as
// giflib's GifQuantizeBuffer makes it), in which each entry takes the most frequent of the
// colours it stands for, so that the card's own red, blue and black come out as they are and
// only the smoothed edges of text move.
class GifPalette {
public:
    GifPalette();

    // Counts the colours of the picture's next row of RGB32 pixels.
    void Count(const QRgb* row, int width);
    // Makes the palette of the colours counted. Throws RuntimeError when none were.
    void Make();

    // The palette's entries as 0xRRGGBB: 2 to 256, a power of two.
    const std::vector<QRgb>& Entries() const { return entries_; }
    // The entry of each of a row's pixels (colours counted before Make).
    void Map(const QRgb* row, int width, uint8_t* indexes) const;

private:
    std::unordered_map<uint32_t, uint32_t> uses_; // colour -> pixels
    uint32_t last_ = 0;
    uint32_t* lastUse_ = nullptr;
    bool exact_ = true;
    std::unordered_map<uint32_t, uint8_t> indexOf_; // exact: colour -> entry
    std::vector<uint8_t> cellEntry_;                // otherwise: 15-bit colour -> entry
    std::vector<QRgb> entries_;
};

// The entry of each 15-bit colour (five bits a primary, red highest) when colours of those
// pixel counts are cut into at most maxEntries entries by median cut, as giflib's
// GifQuantizeBuffer cuts them; entries is set to how many were made. Cells of no pixels get
// entry 0.
std::vector<uint8_t> MedianCut(const std::vector<uint64_t>& cellCounts, int maxEntries,
                               int& entries);

// A GIF file written row by row: its bytes are appended to out as the rows come.
class GifStream {
public:
    // Throws RuntimeError when the file cannot be started.
    GifStream(std::string& out, int width, int height, const GifPalette& palette);
    ~GifStream();
    GifStream(const GifStream&) = delete;
    GifStream& operator=(const GifStream&) = delete;

    // The next row of RGB32 pixels. Throws RuntimeError when it cannot be written.
    void PutRow(const QRgb* row);
    // Ends the file. Throws RuntimeError on failure.
    void Close();

private:
    struct State;
    std::unique_ptr<State> state_;
};

// A picture as the bytes of a GIF file (giflib), with the palette GifPalette makes. Throws
// RuntimeError when the picture cannot be encoded.
std::string EncodeGif(const QImage& picture);

} // namespace cw
