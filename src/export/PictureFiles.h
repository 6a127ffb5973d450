#pragma once

#include "FileOps.h"

#include <QImage>
#include <optional>
#include <string>

namespace cw {

// The kinds of picture file a card is saved as.
enum class PictureType { Bmp, Jpeg, Gif, Png };

// ".bmp", ".jpg", ".gif", ".png".
const char* PictureExtension(PictureType type);

// The picture as the bytes of a file of type. Throws RuntimeError when it cannot be encoded.
std::string EncodePicture(const QImage& picture, PictureType type);

// Writes the picture to path through a scratch file beside it, so that an older file of the
// same name is replaced whole or not at all. Throws RuntimeError on failure.
void WritePictureFile(FileSystem& fileSystem, const fs::path& path, const QImage& picture,
                      PictureType type);

// Writes a picture that is only a step on the way (a bitmap a converter reads next): no
// scratch file and no wait for the disk. Throws RuntimeError on failure.
void WriteScratchPicture(const fs::path& path, const QImage& picture, PictureType type);

// Moves a finished file over target: renamed where it can be, copied through a scratch file
// beside the target otherwise (another disk). Throws RuntimeError on failure.
void MoveFileOver(FileSystem& fileSystem, const fs::path& from, const fs::path& target);

// Reads a picture file; throws RuntimeError when it cannot be read.
QImage ReadPictureFile(const fs::path& path);

} // namespace cw
