#include "PictureFiles.h"

#include "GifWriter.h"
#include "RuntimeError.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <fstream>

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

void WriteScratchPicture(const fs::path& path, const QImage& picture, PictureType type) {
    const std::string bytes = EncodePicture(picture, type);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.close();
    if (!out)
        throw RuntimeError(RuntimeError::PathFileAccess, "Cannot write " + path.string());
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

QImage ReadPictureFile(const fs::path& path) {
    QImageReader reader(QString::fromStdString(path.string()));
    QImage picture = reader.read();
    if (picture.isNull())
        throw RuntimeError(RuntimeError::FileNotFound,
                           "The picture " + path.string() +
                               " cannot be read: " + reader.errorString().toStdString());
    return picture;
}

} // namespace cw
