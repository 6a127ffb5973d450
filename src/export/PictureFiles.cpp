#include "PictureFiles.h"

#include "GifWriter.h"
#include "PendingFiles.h"
#include "RuntimeError.h"

#include <QBuffer>
#include <QImageWriter>
#include <algorithm>
#include <optional>
#include <unistd.h>

namespace cw {

namespace {

constexpr int kJpegQuality = 90;
// PNG compression: zlib's fast levels make files hardly larger and several times quicker.
constexpr int kPngQuality = 80;

} // namespace

const char* PictureExtension(PictureType type) {
    switch (type) {
    case PictureType::Bmp:
        return ".bmp";
    case PictureType::Jpeg:
        return ".jpg";
    case PictureType::Gif:
        return ".gif";
    case PictureType::Png:
        return ".png";
    }
    return "";
}

std::string EncodePicture(const QImage& picture, PictureType type) {
    if (type == PictureType::Gif)
        return EncodeGif(picture);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, type == PictureType::Bmp   ? "bmp"
                                 : type == PictureType::Png ? "png"
                                                            : "jpeg");
    if (type == PictureType::Jpeg)
        writer.setQuality(kJpegQuality);
    if (type == PictureType::Png)
        writer.setQuality(kPngQuality);
    if (!writer.write(picture))
        throw RuntimeError(RuntimeError::InvalidCall,
                           "The picture cannot be encoded: " + writer.errorString().toStdString());
    return std::string(bytes.constData(), size_t(bytes.size()));
}

void WritePictureFile(FileSystem& fileSystem, const fs::path& path, const QImage& picture,
                      PictureType type) {
    const fs::path scratch = path.string() + ".new";
    try {
        AtomicReplace(fileSystem, path, EncodePicture(picture, type), scratch);
    } catch (...) {
        // No half-written file is left among the user's pictures.
        std::error_code ec;
        fs::remove(scratch, ec);
        throw;
    }
}

void ReplaceFilesTogether(FileSystem& fileSystem, const std::vector<FileWriting>& files) {
    // Scratch files that a stop by SIGINT or SIGTERM takes away too, and the second names of
    // the older files, which go once the new ones are in place.
    PendingFiles pending, kept;
    std::vector<fs::path> scratch;
    // What every file but the last had before: what goes back when a later one fails.
    struct Older {
        std::optional<fs::path> link;
        std::optional<std::string> bytes;
    };
    std::vector<Older> older;
    size_t current = 0, placed = 0;
    bool writing = true;
    try {
        for (; current < files.size(); ++current) {
            scratch.push_back(pending.Add(files[current].target));
            files[current].write(scratch.back());
        }
        writing = false;
        for (current = 0; current + 1 < files.size(); ++current) {
            std::error_code ec;
            const fs::path& target = files[current].target;
            Older old;
            if (fs::is_regular_file(target, ec)) {
                // A second name costs no memory however large the picture; a disk without
                // them has the bytes read.
                const fs::path link = kept.Add(target.string() + ".old");
                fs::remove(link, ec);
                if (::link(target.c_str(), link.c_str()) == 0)
                    old.link = link;
                else
                    old.bytes = ReadFileBytes(target);
            }
            older.push_back(std::move(old));
        }
        for (current = 0; current < files.size(); ++current, ++placed)
            fileSystem.RenameOver(scratch[current], files[current].target);
    } catch (const RuntimeError& error) {
        std::error_code ec;
        for (const fs::path& file : scratch)
            fs::remove(file, ec);
        for (size_t i = 0; i < placed; ++i) {
            try {
                if (older[i].link)
                    fileSystem.RenameOver(*older[i].link, files[i].target);
                else if (older[i].bytes)
                    AtomicReplace(fileSystem, files[i].target, *older[i].bytes, scratch[i]);
                else
                    fileSystem.Remove(files[i].target);
            } catch (const RuntimeError&) {
                // The first failure is the one the user hears of.
            }
        }
        auto* fileError = dynamic_cast<const FileError*>(&error);
        if (writing && !fileError)
            throw;
        const std::string reason = fileError ? fileError->Reason() : std::string(error.what());
        const fs::path& target = files[std::min(current, files.size() - 1)].target;
        std::string text = "Cannot write " + target.string() + ": " + reason + ".";
        if (fs::exists(target, ec))
            text += " The file is as it was before.";
        throw FileError(error.ErrorNumber(), text, reason);
    }
}

void ReplaceFilesTogether(FileSystem& fileSystem, const std::vector<FileBytes>& files) {
    std::vector<FileWriting> writings;
    for (const FileBytes& file : files)
        writings.push_back({file.target, [&fileSystem, &file](const fs::path& scratch) {
                                fileSystem.WriteFlushed(scratch, file.bytes);
                            }});
    ReplaceFilesTogether(fileSystem, writings);
}

void MoveFileOver(FileSystem& fileSystem, const fs::path& from, const fs::path& target) {
    try {
        fileSystem.RenameOver(from, target);
        return;
    } catch (const RuntimeError&) {
        // A rename cannot cross from one disk to another: the bytes are copied instead.
    }
    AtomicReplace(fileSystem, target, ReadFileBytes(from), target.string() + ".new");
    std::error_code ec;
    fs::remove(from, ec);
}

} // namespace cw
