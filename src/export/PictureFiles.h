#pragma once

#include "FileOps.h"

#include <QImage>
#include <string>
#include <vector>

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

// A file to be written and its bytes.
struct FileBytes {
    fs::path target;
    std::string bytes;
};

// Writes the files all or none: each file's bytes go to a scratch file beside it (see
// PendingFiles), and only when every one is written are they renamed into place. On failure the
// scratch files are removed, a file already renamed into place gets its older bytes back (or
// goes, when there was none), and RuntimeError is thrown naming the file that failed and the
// reason.
void ReplaceFilesTogether(FileSystem& fileSystem, const std::vector<FileBytes>& files);

// Moves a finished file over target: renamed where it can be, copied through a scratch file
// beside the target otherwise (another disk). Throws RuntimeError on failure.
void MoveFileOver(FileSystem& fileSystem, const fs::path& from, const fs::path& target);

} // namespace cw
