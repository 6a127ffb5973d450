#pragma once

#include "FileOps.h"

#include <QImage>
#include <functional>
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

// A file to be written and how: write puts the whole file at the path it is given, through
// the file system ReplaceFilesTogether is given, flushed to the disk.
struct FileWriting {
    fs::path target;
    std::function<void(const fs::path& scratch)> write;
};

// Writes the files all or none: each file goes to a scratch file beside it (see PendingFiles),
// and only when every one is written are they renamed into place. On failure the scratch files
// are removed, a file already renamed into place gets its older bytes back (or goes, when
// there was none), and FileError is thrown naming the file that failed and the reason. The
// older files are kept as second names (hard links) until all are in place, or read into
// memory where the disk has no such names. An error of a write that is no file error (a
// picture that cannot be drawn or encoded) is thrown as it is, once the scratch files are gone.
void ReplaceFilesTogether(FileSystem& fileSystem, const std::vector<FileWriting>& files);
void ReplaceFilesTogether(FileSystem& fileSystem, const std::vector<FileBytes>& files);

// Moves a finished file over target: renamed where it can be, copied through a scratch file
// beside the target otherwise (another disk). Throws RuntimeError on failure.
void MoveFileOver(FileSystem& fileSystem, const fs::path& from, const fs::path& target);

} // namespace cw
