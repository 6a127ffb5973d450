#include "GifWriter.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <random>

using namespace cw;

namespace {

QImage Decode(const std::string& bytes) {
    QByteArray data(bytes.data(), qsizetype(bytes.size()));
    QBuffer buffer(&data);
    QImageReader reader(&buffer, "gif");
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(GifWriter, FewColoursStayExactAndManyKeepTheMainOnes) {
    // Eight colours: every pixel comes back as it was.
    QImage few(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < few.height(); ++y)
        for (int x = 0; x < few.width(); ++x)
            few.setPixel(x, y, qRgb((x % 2) * 255, (y % 2) * 255, ((x / 2) % 2) * 200));
    QImage back = Decode(EncodeGif(few));
    ASSERT_EQ(back.size(), few.size());
    EXPECT_EQ(back, few);

    // A card-like picture of thousands of colours: white paper, black, red and blue areas,
    // and smoothed edges in between. The large areas keep their exact colours.
    QImage many(300, 200, QImage::Format_RGB32);
    many.fill(Qt::white);
    {
        QPainter painter(&many);
        painter.fillRect(10, 10, 60, 40, QColor(255, 0, 0));
        painter.fillRect(80, 10, 60, 40, QColor(0, 0, 255));
        painter.fillRect(150, 10, 60, 40, Qt::black);
        for (int x = 0; x < 300; ++x)
            for (int y = 100; y < 200; ++y)
                many.setPixel(x, y, qRgb(x % 256, (y * 3) % 256, (x * y) % 256));
    }
    back = Decode(EncodeGif(many));
    ASSERT_EQ(back.size(), many.size());
    EXPECT_EQ(back.pixelColor(30, 30), QColor(255, 0, 0));
    EXPECT_EQ(back.pixelColor(100, 30), QColor(0, 0, 255));
    EXPECT_EQ(back.pixelColor(170, 30), QColor(Qt::black));
    EXPECT_EQ(back.pixelColor(250, 60), QColor(Qt::white));
    // The rest is near its colour.
    const QColor original = many.pixelColor(123, 150), kept = back.pixelColor(123, 150);
    EXPECT_LT(std::abs(original.red() - kept.red()) + std::abs(original.green() - kept.green()) +
                  std::abs(original.blue() - kept.blue()),
              100);
}

TEST(GifWriter, MedianCutOfTheCountedColoursIsGiflibsCutOfThePixels) {
    // The palette is made from colour counts gathered band by band; giflib's own cut sees
    // the whole picture. Pictures of many cells, of few cells, and of one main colour.
    std::mt19937 random(7);
    for (int spread : {256, 40, 3}) {
        SCOPED_TRACE(spread);
        const int width = 97, height = 61;
        const size_t pixels = size_t(width) * size_t(height);
        std::vector<GifByteType> red(pixels), green(pixels), blue(pixels);
        std::vector<uint64_t> cellCounts(size_t(1) << 15, 0);
        for (size_t i = 0; i < pixels; ++i) {
            const bool paper = random() % 3 == 0;
            red[i] = paper ? 255 : GifByteType(random() % spread * (256 / spread));
            green[i] = paper ? 255 : GifByteType(random() % spread);
            blue[i] = paper ? 255 : GifByteType(255 - random() % spread);
            ++cellCounts[size_t((red[i] >> 3) << 10 | (green[i] >> 3) << 5 | (blue[i] >> 3))];
        }
        std::vector<GifByteType> indexes(pixels);
        std::vector<GifColorType> palette(256);
        int colours = 256;
        ASSERT_EQ(GifQuantizeBuffer(unsigned(width), unsigned(height), &colours, red.data(),
                                    green.data(), blue.data(), indexes.data(), palette.data()),
                  GIF_OK);
        int entries = 0;
        const std::vector<uint8_t> entryOf = MedianCut(cellCounts, 256, entries);
        EXPECT_EQ(entries, colours);
        size_t same = 0;
        for (size_t i = 0; i < pixels; ++i)
            same += entryOf[size_t((red[i] >> 3) << 10 | (green[i] >> 3) << 5 | (blue[i] >> 3))] ==
                    indexes[i];
        EXPECT_EQ(same, pixels);
    }
}
