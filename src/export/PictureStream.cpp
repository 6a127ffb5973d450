#include "PictureStream.h"

#include "GifWriter.h"
#include "RuntimeError.h"

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <jpeglib.h>
#include <memory>
#include <png.h>
#include <utility>
#include <vector>
// After jpeglib.h, which it needs.
#include <jerror.h>

namespace cw {

namespace {

constexpr int kJpegQuality = 90;
// zlib's level 1, the level EncodePicture's quality of 80 gives PNG pictures.
constexpr int kPngCompression = 1;
// Bytes gathered before they go to the file.
constexpr size_t kSpillBytes = size_t(1) << 20;

FileError WriteFailure(const fs::path& path, int error) {
    const int number = (error == ENOSPC || error == EDQUOT) ? RuntimeError::DiskFull
                                                            : RuntimeError::PathFileAccess;
    const std::string reason = std::strerror(error);
    return {number, "Cannot write " + path.string() + ": " + reason, reason};
}

[[noreturn]] void EncodingFailed(const char* type, const std::string& reason) {
    throw RuntimeError(RuntimeError::InvalidCall,
                       std::string("The picture cannot be encoded as ") + type + ": " + reason);
}

// The file being written: bytes are gathered and written through the file system's calls.
class FileSink {
public:
    FileSink(FileSystem& fileSystem, const fs::path& path) : fileSystem_(fileSystem), path_(path) {
        fd_ = fileSystem_.Open(path);
        if (fd_ < 0)
            throw WriteFailure(path, errno);
    }
    ~FileSink() {
        if (fd_ >= 0)
            fileSystem_.Close(fd_);
    }
    FileSink(const FileSink&) = delete;
    FileSink& operator=(const FileSink&) = delete;

    std::string& Bytes() { return bytes_; }
    // Writes what is gathered once there is enough of it.
    void Spill() {
        if (bytes_.size() >= kSpillBytes)
            Flush();
    }
    void Flush() {
        size_t written = 0;
        while (written < bytes_.size()) {
            const long n = fileSystem_.Write(fd_, bytes_.data() + written, bytes_.size() - written);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                throw WriteFailure(path_, errno);
            }
            if (n == 0) // nothing written and no reason given: the disk takes no more
                throw WriteFailure(path_, ENOSPC);
            written += size_t(n);
        }
        bytes_.clear();
    }
    // Writes the rest, flushes it to the disk and closes the file.
    void Finish() {
        Flush();
        // A file system that cannot sync (EINVAL) has nothing more to flush.
        if (fileSystem_.Sync(fd_) != 0 && errno != EINVAL)
            throw WriteFailure(path_, errno);
        if (fileSystem_.Close(std::exchange(fd_, -1)) != 0)
            throw WriteFailure(path_, errno);
    }

private:
    FileSystem& fileSystem_;
    fs::path path_;
    int fd_ = -1;
    std::string bytes_;
};

const QRgb* RowOf(const QImage& band, int y) {
    return reinterpret_cast<const QRgb*>(band.constScanLine(y));
}

// The rows of a picture in the order its file holds them, encoded into the sink's bytes.
class RowWriter {
public:
    virtual ~RowWriter() = default;
    // The file holds its bottom row first.
    virtual bool BottomUp() const { return false; }
    // The band's rows, in the file's order.
    virtual void Rows(const QImage& band) = 0;
    virtual void Finish() = 0;
};

void PutLittle(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(char((value >> (8 * i)) & 0xFF));
}

// Windows bitmaps of 24 bits a pixel, bottom row first, as Qt writes an RGB32 picture.
class BmpWriter : public RowWriter {
public:
    BmpWriter(FileSink& sink, QSize size, int dpi) : sink_(sink), width_(size.width()) {
        constexpr uint32_t kHeaders = 14 + 40;
        rowBytes_ = ((uint32_t(width_) * 24 + 31) / 32) * 4;
        const uint64_t imageBytes = uint64_t(rowBytes_) * uint64_t(size.height());
        if (imageBytes + kHeaders > 0xFFFFFFFFu)
            EncodingFailed("BMP", "the picture is too large");
        const auto dotsPerMeter = uint32_t(qRound(dpi / 0.0254));
        std::string& out = sink_.Bytes();
        out += "BM";
        PutLittle(out, uint32_t(kHeaders + imageBytes), 4);
        PutLittle(out, 0, 4);
        PutLittle(out, kHeaders, 4);
        PutLittle(out, 40, 4);
        PutLittle(out, uint32_t(width_), 4);
        PutLittle(out, uint32_t(size.height()), 4);
        PutLittle(out, 1, 2);
        PutLittle(out, 24, 2);
        PutLittle(out, 0, 4); // no compression
        PutLittle(out, uint32_t(imageBytes), 4);
        PutLittle(out, dotsPerMeter, 4);
        PutLittle(out, dotsPerMeter, 4);
        PutLittle(out, 0, 4);
        PutLittle(out, 0, 4);
    }
    bool BottomUp() const override { return true; }
    void Rows(const QImage& band) override {
        std::string& out = sink_.Bytes();
        for (int y = band.height() - 1; y >= 0; --y) {
            const QRgb* row = RowOf(band, y);
            const size_t start = out.size();
            out.resize(start + rowBytes_, '\0');
            char* to = out.data() + start;
            for (int x = 0; x < width_; ++x) {
                *to++ = char(qBlue(row[x]));
                *to++ = char(qGreen(row[x]));
                *to++ = char(qRed(row[x]));
            }
            sink_.Spill();
        }
    }
    void Finish() override {}

private:
    FileSink& sink_;
    int width_;
    uint32_t rowBytes_ = 0;
};

// libpng reports errors by a jump back to the call that failed: each call is made from a
// function of its own that holds nothing to be destroyed.
struct PngState {
    PngState() = default;
    ~PngState() { png_destroy_write_struct(&png, &info); }
    PngState(const PngState&) = delete;
    PngState& operator=(const PngState&) = delete;

    png_structp png = nullptr;
    png_infop info = nullptr;
    std::string* out = nullptr;
    char message[200] = {};
};

void OnPngError(png_structp png, png_const_charp message) {
    auto* state = static_cast<PngState*>(png_get_error_ptr(png));
    std::snprintf(state->message, sizeof state->message, "%s", message ? message : "error");
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

void OnPngWrite(png_structp png, png_bytep data, size_t length) {
    auto* state = static_cast<PngState*>(png_get_io_ptr(png));
    try {
        state->out->append(reinterpret_cast<const char*>(data), length);
    } catch (...) {
        png_error(png, "out of memory");
    }
}

void OnPngFlush(png_structp) {}

bool PngStart(PngState& state, int width, int height, int dotsPerMeter) {
    if (setjmp(png_jmpbuf(state.png)))
        return false;
    png_set_compression_level(state.png, kPngCompression);
    png_set_write_fn(state.png, &state, OnPngWrite, OnPngFlush);
    png_set_IHDR(state.png, state.info, png_uint_32(width), png_uint_32(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    // RGB32 pixels are 0xffRRGGBB words: blue, green, red and filler in memory on a
    // little-endian machine.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    png_set_bgr(state.png);
#endif
    png_set_pHYs(state.png, state.info, png_uint_32(dotsPerMeter), png_uint_32(dotsPerMeter),
                 PNG_RESOLUTION_METER);
    png_write_info(state.png, state.info);
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    png_set_filler(state.png, 0, PNG_FILLER_AFTER);
#else
    png_set_filler(state.png, 0, PNG_FILLER_BEFORE);
#endif
    return true;
}

bool PngRow(PngState& state, const QRgb* row) {
    if (setjmp(png_jmpbuf(state.png)))
        return false;
    png_write_row(state.png, reinterpret_cast<png_const_bytep>(row));
    return true;
}

bool PngEnd(PngState& state) {
    if (setjmp(png_jmpbuf(state.png)))
        return false;
    png_write_end(state.png, state.info);
    return true;
}

class PngWriter : public RowWriter {
public:
    PngWriter(FileSink& sink, QSize size, int dpi) : sink_(sink) {
        state_.out = &sink.Bytes();
        state_.png =
            png_create_write_struct(PNG_LIBPNG_VER_STRING, &state_, OnPngError, OnPngWarning);
        if (state_.png)
            state_.info = png_create_info_struct(state_.png);
        if (!state_.info)
            EncodingFailed("PNG", "out of memory");
        if (!PngStart(state_, size.width(), size.height(), qRound(dpi / 0.0254)))
            EncodingFailed("PNG", state_.message);
    }
    void Rows(const QImage& band) override {
        for (int y = 0; y < band.height(); ++y) {
            if (!PngRow(state_, RowOf(band, y)))
                EncodingFailed("PNG", state_.message);
            sink_.Spill();
        }
    }
    void Finish() override {
        if (!PngEnd(state_))
            EncodingFailed("PNG", state_.message);
    }

private:
    FileSink& sink_;
    PngState state_;
};

// libjpeg reports errors the same way.
struct JpegState {
    JpegState() = default;
    ~JpegState() {
        if (created)
            jpeg_destroy_compress(&info);
    }
    JpegState(const JpegState&) = delete;
    JpegState& operator=(const JpegState&) = delete;

    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    jpeg_destination_mgr destination{};
    std::jmp_buf jump{};
    bool created = false;
    std::string* out = nullptr;
    std::vector<JOCTET> buffer = std::vector<JOCTET>(size_t(1) << 16);
    std::vector<JSAMPLE> row;
    char message[JMSG_LENGTH_MAX] = {};
};

JpegState& StateOf(j_common_ptr info) {
    return *static_cast<JpegState*>(info->client_data);
}

void OnJpegError(j_common_ptr info) {
    JpegState& state = StateOf(info);
    (*info->err->format_message)(info, state.message);
    std::longjmp(state.jump, 1);
}

void OnJpegMessage(j_common_ptr) {}

void StartJpegBuffer(j_compress_ptr info) {
    JpegState& state = StateOf(j_common_ptr(info));
    state.destination.next_output_byte = state.buffer.data();
    state.destination.free_in_buffer = state.buffer.size();
}

boolean EmptyJpegBuffer(j_compress_ptr info) {
    JpegState& state = StateOf(j_common_ptr(info));
    try {
        state.out->append(reinterpret_cast<const char*>(state.buffer.data()), state.buffer.size());
    } catch (...) {
        ERREXIT(info, JERR_OUT_OF_MEMORY);
    }
    StartJpegBuffer(info);
    return TRUE;
}

void EndJpegBuffer(j_compress_ptr info) {
    JpegState& state = StateOf(j_common_ptr(info));
    try {
        state.out->append(reinterpret_cast<const char*>(state.buffer.data()),
                          state.buffer.size() - state.destination.free_in_buffer);
    } catch (...) {
        ERREXIT(info, JERR_OUT_OF_MEMORY);
    }
}

bool JpegStart(JpegState& state, int width, int height, int dpi) {
    if (setjmp(state.jump))
        return false;
    jpeg_create_compress(&state.info);
    state.created = true;
    state.info.client_data = &state;
    state.info.dest = &state.destination;
    state.info.image_width = JDIMENSION(width);
    state.info.image_height = JDIMENSION(height);
    state.info.input_components = 3;
    state.info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&state.info);
    state.info.density_unit = 1; // dots per inch
    state.info.X_density = UINT16(std::clamp(dpi, 1, 65535));
    state.info.Y_density = state.info.X_density;
    jpeg_set_quality(&state.info, kJpegQuality, TRUE);
    jpeg_start_compress(&state.info, TRUE);
    return true;
}

bool JpegRow(JpegState& state) {
    if (setjmp(state.jump))
        return false;
    JSAMPROW rows[1] = {state.row.data()};
    jpeg_write_scanlines(&state.info, rows, 1);
    return true;
}

bool JpegEnd(JpegState& state) {
    if (setjmp(state.jump))
        return false;
    jpeg_finish_compress(&state.info);
    return true;
}

class JpegWriter : public RowWriter {
public:
    JpegWriter(FileSink& sink, QSize size, int dpi)
        : sink_(sink), state_(std::make_unique<JpegState>()) {
        state_->out = &sink.Bytes();
        state_->row.resize(size_t(size.width()) * 3);
        state_->info.err = jpeg_std_error(&state_->errors);
        state_->errors.error_exit = OnJpegError;
        state_->errors.output_message = OnJpegMessage;
        state_->info.client_data = state_.get();
        state_->destination.init_destination = StartJpegBuffer;
        state_->destination.empty_output_buffer = EmptyJpegBuffer;
        state_->destination.term_destination = EndJpegBuffer;
        if (!JpegStart(*state_, size.width(), size.height(), dpi))
            EncodingFailed("JPEG", state_->message);
    }
    void Rows(const QImage& band) override {
        for (int y = 0; y < band.height(); ++y) {
            const QRgb* row = RowOf(band, y);
            JSAMPLE* to = state_->row.data();
            for (int x = 0; x < band.width(); ++x) {
                *to++ = JSAMPLE(qRed(row[x]));
                *to++ = JSAMPLE(qGreen(row[x]));
                *to++ = JSAMPLE(qBlue(row[x]));
            }
            if (!JpegRow(*state_))
                EncodingFailed("JPEG", state_->message);
            sink_.Spill();
        }
    }
    void Finish() override {
        if (!JpegEnd(*state_))
            EncodingFailed("JPEG", state_->message);
    }

private:
    FileSink& sink_;
    std::unique_ptr<JpegState> state_;
};

class GifWriter : public RowWriter {
public:
    GifWriter(FileSink& sink, QSize size, const GifPalette& palette)
        : sink_(sink), gif_(sink.Bytes(), size.width(), size.height(), palette) {}
    void Rows(const QImage& band) override {
        for (int y = 0; y < band.height(); ++y) {
            gif_.PutRow(RowOf(band, y));
            sink_.Spill();
        }
    }
    void Finish() override { gif_.Close(); }

private:
    FileSink& sink_;
    GifStream gif_;
};

const char* TypeName(PictureType type) {
    switch (type) {
    case PictureType::Bmp:
        return "BMP";
    case PictureType::Jpeg:
        return "JPEG";
    case PictureType::Gif:
        return "GIF";
    case PictureType::Png:
        return "PNG";
    }
    return "";
}

// The band from top, checked to be what the picture promised.
const QImage& BandAt(BandedPicture& picture, QSize size, int top, PictureType type) {
    const QImage& band = picture.Band(top);
    const int rows = std::min(picture.BandRows(), size.height() - top);
    if (band.format() != QImage::Format_RGB32 || band.width() != size.width() ||
        band.height() != rows)
        EncodingFailed(TypeName(type), "the picture's size changed while it was drawn");
    return band;
}

} // namespace

void WriteBandedPicture(FileSystem& fileSystem, const fs::path& path, BandedPicture& picture,
                        PictureType type, int dpi) {
    const QSize size = picture.Size();
    const int bandRows = picture.BandRows();
    if (size.isEmpty() || bandRows <= 0)
        EncodingFailed(TypeName(type), "the picture is empty");
    std::vector<int> tops;
    for (int top = 0; top < size.height(); top += bandRows)
        tops.push_back(top);

    GifPalette palette;
    if (type == PictureType::Gif) {
        for (int top : tops) {
            const QImage& band = BandAt(picture, size, top, type);
            for (int y = 0; y < band.height(); ++y)
                palette.Count(RowOf(band, y), band.width());
        }
        palette.Make();
    }

    FileSink sink(fileSystem, path);
    std::unique_ptr<RowWriter> writer;
    switch (type) {
    case PictureType::Bmp:
        writer = std::make_unique<BmpWriter>(sink, size, dpi);
        break;
    case PictureType::Png:
        writer = std::make_unique<PngWriter>(sink, size, dpi);
        break;
    case PictureType::Jpeg:
        writer = std::make_unique<JpegWriter>(sink, size, dpi);
        break;
    case PictureType::Gif:
        writer = std::make_unique<GifWriter>(sink, size, palette);
        break;
    }
    if (writer->BottomUp())
        std::reverse(tops.begin(), tops.end());
    for (int top : tops)
        writer->Rows(BandAt(picture, size, top, type));
    writer->Finish();
    sink.Finish();
}

} // namespace cw
