#include "CardExport.h"

#include "AppContext.h"
#include "CardPages.h"
#include "ErrorTrap.h"
#include "PdfPages.h"
#include "RenderTestData.h"
#include "RuntimeError.h"
#include "ScriptedPrompter.h"
#include "SessionFakes.h"

#include <QFontDatabase>
#include <QImage>
#include <QImageReader>
#include <gtest/gtest.h>

using namespace cw;
using namespace cw::test;

namespace {

// A two-page format whose front holds every kind (a green picture, a red dot, a blue
// picture of the card) and a one-page format, with a card of each.
class CardExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto [every, single] = MakeEveryKindRoot(dir.Path());
        WriteCardPage(dir.Path(), every, "mine", false, EveryKindCard());
        WriteCardPage(dir.Path(), every, "mine", true, {});
        WriteCardPage(dir.Path(), single, "solo", false, EveryKindCard());
        QFontDatabase::addApplicationFont(QStringLiteral(CW_SOURCE_DATA "/fontsdir/Pip4.ttf"));
        ASSERT_TRUE(ctx.ReadSystemSettings());
        fs::create_directories(out);
    }

    void Open(int16_t slot, const std::string& card) {
        ASSERT_TRUE(ctx.SetupCardFormat(slot, view));
        pages = std::make_unique<NamedCardPages>(ctx, card);
        ASSERT_TRUE(pages->Open());
    }

    bool Save(const fs::path& file, ExportFilter filter, int dpi = 0) {
        CardExport exporter(ctx, *pages);
        exporter.SetCopyCard([this](const std::string& name) {
            copies.push_back(name);
            return true;
        });
        bool saved = exporter.SaveCardAs({file, filter, dpi});
        written = exporter.Written();
        return saved;
    }

    static QImage Read(const fs::path& file) {
        return QImage(QString::fromStdString(file.string()));
    }
    static QColor At(const QImage& picture, int x, int y) {
        return picture.pixelColor(x / 15, y / 15);
    }
    std::vector<std::string> Files() const { return ListFolder(out, "*"); }
    bool TempBmpsEmpty() const { return ListFolder(ctx.paths.TempBmpsDir, "*").empty(); }

    TempDir dir;
    fs::path out = dir / "pictures";
    ScriptedPrompter prompter;
    TrapRecorder errors;
    ErrorTrap trap{prompter, errors};
    AppContext ctx{dir.Path(), prompter, trap};
    NoCardFormatView view;
    std::unique_ptr<NamedCardPages> pages;
    std::vector<std::string> copies;
    std::vector<fs::path> written;
};

} // namespace

TEST_F(CardExportTest, OnePageCardAsJpegIsOneFileThatReplacesAnOlderOne) {
    Open(1, "solo");
    WriteFile(out / "solo.jpg", "an older picture");
    ASSERT_TRUE(Save(out / "solo.jpg", ExportFilter::Jpeg));
    EXPECT_EQ(Files(), std::vector<std::string>{"solo.jpg"});
    QImage picture = Read(out / "solo.jpg");
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(480, 480)); // 7200 twips at 15 a pixel
    EXPECT_TRUE(TempBmpsEmpty());
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(CardExportTest, TwoPageCardAsBitmapsFrontFirstWhicheverPageIsOpen) {
    Open(0, "mine");
    ASSERT_TRUE(pages->ShowPage(true));
    // A name typed without its extension keeps every letter.
    ASSERT_TRUE(Save(out / "my.card", ExportFilter::Bitmap));
    EXPECT_EQ(Files(), (std::vector<std::string>{"my.card.bmp", "my.card_.bmp"}));
    QImage front = Read(out / "my.card.bmp"), back = Read(out / "my.card_.bmp");
    EXPECT_EQ(At(front, 5300, 300), QColor(0, 255, 0)); // the front's picture
    EXPECT_EQ(At(back, 5300, 300), QColor(Qt::white));
    EXPECT_FALSE(ctx.BackSideSelected); // the front is shown again
    EXPECT_EQ(written.size(), 2u);

    // PNG the same way; at 300 dots per inch the page is 7200 twips x 300 / 1440.
    ASSERT_TRUE(Save(out / "big.png", ExportFilter::Png, 300));
    EXPECT_EQ(Read(out / "big_.png").size(), QSize(1500, 1500));
    EXPECT_EQ(At(Read(out / "big.png"), 5300 * 300 / 96, 300 * 300 / 96), QColor(0, 255, 0));
}

TEST_F(CardExportTest, GifIsAGifWithTheCardsColoursWrittenByTheConverterSettings) {
    Open(0, "mine");
    ASSERT_TRUE(Save(out / "mine.gif", ExportFilter::Gif));
    EXPECT_EQ(Files(), (std::vector<std::string>{"mine.gif", "mine_.gif"}));
    QImageReader reader(QString::fromStdString((out / "mine.gif").string()));
    EXPECT_EQ(reader.format(), "gif");
    QImage front = reader.read();
    ASSERT_FALSE(front.isNull());
    EXPECT_EQ(front.size(), QSize(480, 480));
    EXPECT_EQ(At(front, 6200, 5000), QColor(255, 0, 0)); // the red colour dot
    EXPECT_EQ(At(front, 6100, 4100), QColor(0, 0, 255)); // the card's blue picture
    EXPECT_EQ(At(front, 5300, 300), QColor(0, 255, 0));
    EXPECT_EQ(
        ReadLines(dir / "Konvertor_bmp2gif.ini"),
        (std::vector<std::string>{"[FOLDERS]", "source=" + (dir / "TempBmps").string() + "/",
                                  "target=" + out.string() + "/", "", "[PARAMS]", "recurse = 0",
                                  "compress = 1", "adjoin = 0", "bmp_name = 1", "gif_name = test",
                                  "Delay = 50", "reproduce_path = 0", ""}));
    EXPECT_TRUE(TempBmpsEmpty());
}

TEST_F(CardExportTest, CardFileFilterCopiesOnlyUnderAnotherName) {
    Open(0, "mine");
    const auto cards = ListFolder(dir / "EVERY", "*");
    ASSERT_TRUE(Save(dir / "EVERY" / "MINE.evy", ExportFilter::CardFile));
    EXPECT_TRUE(copies.empty());
    EXPECT_EQ(ListFolder(dir / "EVERY", "*"), cards);
    EXPECT_TRUE(written.empty());
    ASSERT_TRUE(Save(dir / "EVERY" / "theirs.evy", ExportFilter::CardFile));
    EXPECT_EQ(copies, std::vector<std::string>{"theirs"});
}

TEST_F(CardExportTest, PdfHoldsBothPagesAsTheyPrint) {
    Open(0, "mine");
    WriteFile(out / "mine.pdf", "an older file");
    ASSERT_TRUE(Save(out / "mine.pdf", ExportFilter::Pdf));
    EXPECT_EQ(Files(), std::vector<std::string>{"mine.pdf"});
    EXPECT_EQ(PdfPageCount(out / "mine.pdf"), 2);
    // Only paper shows the items printed on paper alone.
    EXPECT_NE(PdfPageText(out / "mine.pdf", 1).find("Printed only"), std::string::npos);
    EXPECT_NE(PdfPageText(out / "mine.pdf", 2).find("Back page"), std::string::npos);
}

TEST_F(CardExportTest, FullDiskIsReportedAndKeepsWhatWasWritten) {
    // The disk fills up at the back page's picture.
    struct FullAtTheBack : FileSystem {
        void WriteFlushed(const fs::path& path, const std::string& bytes) override {
            if (path.filename().string().find('_') != std::string::npos) {
                FileSystem::WriteFlushed(path, bytes.substr(0, bytes.size() / 2));
                throw RuntimeError(RuntimeError::DiskFull, "No space left on device");
            }
            FileSystem::WriteFlushed(path, bytes);
        }
    } fullDisk;
    AppContext full{dir.Path(), prompter, trap, fullDisk};
    ASSERT_TRUE(full.ReadSystemSettings());
    int16_t slot = 0;
    ASSERT_TRUE(full.SetupCardFormat(slot, view));
    NamedCardPages fullPages(full, "mine");
    ASSERT_TRUE(fullPages.Open());
    WriteFile(out / "mine_.png", "an older back page");
    CardExport exporter(full, fullPages);
    EXPECT_FALSE(exporter.SaveCardAs({out / "mine.png", ExportFilter::Png, 0}));
    ASSERT_EQ(errors.shown.size(), 1u);
    EXPECT_EQ(errors.shown[0].Location, 2070);
    EXPECT_EQ(Files(), (std::vector<std::string>{"mine.png", "mine_.png"}));
    EXPECT_FALSE(Read(out / "mine.png").isNull());
    EXPECT_EQ(ReadFile(out / "mine_.png"), "an older back page");
    EXPECT_TRUE(TempBmpsEmpty());
}

TEST(ExportNames, ChosenPathLosesOnlyTheFiltersExtension) {
    EXPECT_EQ(CardExport::ChosenPath("/a/b.JPG", ExportFilter::Jpeg, ".acb"), "/a/b");
    EXPECT_EQ(CardExport::ChosenPath("/a/b.jpeg", ExportFilter::Jpeg, ".acb"), "/a/b");
    EXPECT_EQ(CardExport::ChosenPath("/a/card", ExportFilter::Gif, ".acb"), "/a/card");
    EXPECT_EQ(CardExport::ChosenPath("/a/b.gif", ExportFilter::Bitmap, ".acb"), "/a/b.gif");
    EXPECT_EQ(CardExport::ChosenPath("/a/n.ACB", ExportFilter::CardFile, ".acb"), "/a/n");
    EXPECT_EQ(ExportFilterOf("x.png", ".acb"), ExportFilter::Png);
    EXPECT_EQ(ExportFilterOf("x.acb", ".acb"), ExportFilter::CardFile);
    EXPECT_EQ(ExportFilterOf("x.tif", ".acb"), std::nullopt);
}
