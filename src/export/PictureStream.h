#pragma once

#include "FileOps.h"
#include "PictureFiles.h"

#include <QImage>
#include <QSize>

namespace cw {

// A picture drawn a band of rows at a time, so that the whole of it is never in memory at once.
class BandedPicture {
public:
    virtual ~BandedPicture() = default;
    // The picture's size in pixels.
    virtual QSize Size() = 0;
    // Rows a band holds (the last band of the picture may hold fewer).
    virtual int BandRows() const = 0;
    // The band of rows from top (a multiple of BandRows), RGB32 and as wide as the picture; it
    // stays as it is until the next call.
    virtual const QImage& Band(int top) = 0;
};

// Writes the picture as a file of type at path: opened through fileSystem, written while the
// bands are drawn, flushed to the disk and closed. The BMP, JPEG and PNG files say they have
// dpi dots per inch; the pixels and the bytes are those EncodePicture gives for the whole
// picture (for JPEG: the same encoder settings). A GIF file takes two passes over the bands:
// the first counts the colours for its palette. Throws FileError when the file cannot be
// written, RuntimeError when the picture cannot be encoded.
void WriteBandedPicture(FileSystem& fileSystem, const fs::path& path, BandedPicture& picture,
                        PictureType type, int dpi);

} // namespace cw
