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
#include <cerrno>
#include <gtest/gtest.h>
#include <set>
#include <thread>
#include <unistd.h>

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
    // Every file and folder below the data root.
    std::set<std::string> RootListing() const {
        std::set<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(dir.Path()))
            names.insert(fs::relative(entry.path(), dir.Path()).string());
        return names;
    }

    TempDir dir;
    TempDir outDir; // the pictures go outside the data root
    fs::path out = outDir / "pictures";
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
    EXPECT_FALSE(ctx.Card.BackSide()); // the front is shown again
    EXPECT_EQ(written.size(), 2u);

    // PNG the same way; at 300 dots per inch the page is 7200 twips x 300 / 1440.
    ASSERT_TRUE(Save(out / "big.png", ExportFilter::Png, 300));
    EXPECT_EQ(Read(out / "big_.png").size(), QSize(1500, 1500));
    EXPECT_EQ(At(Read(out / "big.png"), 5300 * 300 / 96, 300 * 300 / 96), QColor(0, 255, 0));
}

TEST_F(CardExportTest, GifIsAGifWithTheCardsColours) {
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
    EXPECT_EQ(written, (std::vector<fs::path>{out / "mine.gif", out / "mine_.gif"}));
}

TEST_F(CardExportTest, GifAndJpegWriteNothingInTheDataRootEvenWhenItIsReadOnly) {
    Open(0, "mine");
    auto exportBoth = [&](const std::string& name) {
        const auto before = RootListing();
        ASSERT_TRUE(Save(out / (name + ".gif"), ExportFilter::Gif));
        ASSERT_TRUE(Save(out / (name + ".jpg"), ExportFilter::Jpeg));
        EXPECT_EQ(RootListing(), before);
        for (const char* file : {".gif", "_.gif", ".jpg", "_.jpg"})
            EXPECT_FALSE(Read(out / (name + file)).isNull()) << name << file;
    };
    exportBoth("writable");

    // Every folder of the root made read-only, as on a locked-down share.
    std::vector<fs::path> folders{dir.Path()};
    for (const auto& entry : fs::recursive_directory_iterator(dir.Path()))
        if (entry.is_directory())
            folders.push_back(entry.path());
    const auto readOnly = fs::perms::owner_read | fs::perms::owner_exec;
    for (const fs::path& folder : folders)
        fs::permissions(folder, readOnly);
    const bool stillWritable = ::access(dir.Path().c_str(), W_OK) == 0;
    if (!stillWritable)
        exportBoth("readonly");
    for (const fs::path& folder : folders)
        fs::permissions(folder, fs::perms::owner_all);
    EXPECT_TRUE(errors.shown.empty());
    if (stillWritable)
        GTEST_SKIP() << "read-only folders are writable for this user (root)";
}

TEST_F(CardExportTest, PicturesCarryTheResolutionAndTheExtensionTheUserGave) {
    Open(0, "mine");
    for (const char* file : {"card.png", "card.bmp", "card.jpg"}) {
        ASSERT_TRUE(Save(out / file, *ExportFilterOf(file, {}), 300));
        for (const fs::path& written : {out / file, out / (std::string("card_") + (file + 4))}) {
            QImage picture = Read(written);
            ASSERT_FALSE(picture.isNull()) << written;
            EXPECT_EQ(qRound(picture.dotsPerMeterX() * 0.0254), 300) << written;
            EXPECT_EQ(qRound(picture.dotsPerMeterY() * 0.0254), 300) << written;
        }
    }
    // At the screen's size the pictures say so: 96 dots per inch.
    ASSERT_TRUE(Save(out / "screen.png", ExportFilter::Png));
    EXPECT_EQ(qRound(Read(out / "screen.png").dotsPerMeterX() * 0.0254), 96);

    ASSERT_TRUE(Save(out / "pic.jpeg", ExportFilter::Jpeg));
    EXPECT_EQ(written, (std::vector<fs::path>{out / "pic.jpeg", out / "pic_.jpeg"}));
    ASSERT_TRUE(Save(out / "pic.PDF", ExportFilter::Pdf));
    EXPECT_EQ(written, std::vector<fs::path>{out / "pic.PDF"});
    EXPECT_EQ(Files(), (std::vector<std::string>{"card.bmp", "card.jpg", "card.png", "card_.bmp",
                                                 "card_.jpg", "card_.png", "pic.jpeg", "pic.PDF",
                                                 "pic_.jpeg", "screen.png", "screen_.png"}));
}

TEST_F(CardExportTest, ExportsRunningAtOnceEachWriteOnlyTheirOwnPictures) {
    // Two copies of the program on the same data root, each with a card of its own.
    struct Job {
        explicit Job(const fs::path& root) : ctx(root, prompter, trap) {}
        ScriptedPrompter prompter;
        TrapRecorder errors;
        ErrorTrap trap{prompter, errors};
        AppContext ctx;
        NoCardFormatView view;
        bool saved = false;
        std::vector<fs::path> written;

        void Run(int16_t slot, const std::string& card, const fs::path& file, ExportFilter filter) {
            if (!ctx.ReadSystemSettings() || !ctx.SetupCardFormat(slot, view))
                return;
            NamedCardPages pages(ctx, card);
            if (!pages.Open())
                return;
            CardExport exporter(ctx, pages);
            saved = exporter.SaveCardAs({file, filter, 0});
            written = exporter.Written();
        }
    };
    for (ExportFilter filter : {ExportFilter::Gif, ExportFilter::Jpeg}) {
        const std::string ext = filter == ExportFilter::Gif ? ".gif" : ".jpg";
        const fs::path mineOut = out / "first" / ext, soloOut = out / "second" / ext;
        fs::create_directories(mineOut);
        fs::create_directories(soloOut);
        Job mine(dir.Path()), solo(dir.Path());
        std::thread first([&] { mine.Run(0, "mine", mineOut / ("mine" + ext), filter); });
        std::thread second([&] { solo.Run(1, "solo", soloOut / ("solo" + ext), filter); });
        first.join();
        second.join();
        EXPECT_TRUE(mine.saved && solo.saved) << ext;
        EXPECT_TRUE(mine.errors.shown.empty() && solo.errors.shown.empty()) << ext;
        EXPECT_EQ(ListFolder(mineOut, "*"),
                  (std::vector<std::string>{"mine" + ext, "mine_" + ext}));
        EXPECT_EQ(ListFolder(soloOut, "*"), std::vector<std::string>{"solo" + ext});
        EXPECT_EQ(mine.written,
                  (std::vector<fs::path>{mineOut / ("mine" + ext), mineOut / ("mine_" + ext)}));
        EXPECT_EQ(Read(soloOut / ("solo" + ext)).size(), QSize(480, 480));
    }
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

TEST_F(CardExportTest, AFailedBackPageLeavesNoNewPictureAndTheOlderOnesAsTheyWere) {
    // The disk fills up while the back page's picture is written, or its rename into place
    // is refused.
    struct FailingAtTheBack : FileSystem {
        bool fullDisk = true;
        int backPage = -1;
        int Open(const fs::path& path) override {
            const int fd = FileSystem::Open(path);
            if (path.filename().string().find('_') != std::string::npos)
                backPage = fd;
            else if (fd == backPage)
                backPage = -1;
            return fd;
        }
        long Write(int fd, const char* data, size_t size) override {
            if (fullDisk && fd == backPage) {
                FileSystem::Write(fd, data, size / 2);
                errno = ENOSPC;
                return -1;
            }
            return FileSystem::Write(fd, data, size);
        }
        void RenameOver(const fs::path& from, const fs::path& to) override {
            if (!fullDisk && to.filename().string().find('_') != std::string::npos)
                throw FileError(RuntimeError::PathFileAccess, "refused", "Permission denied");
            FileSystem::RenameOver(from, to);
        }
    } failing;
    AppContext full{dir.Path(), prompter, trap, failing};
    ASSERT_TRUE(full.ReadSystemSettings());
    int16_t slot = 0;
    ASSERT_TRUE(full.SetupCardFormat(slot, view));
    NamedCardPages fullPages(full, "mine");
    ASSERT_TRUE(fullPages.Open());
    CardExport exporter(full, fullPages);

    WriteFile(out / "mine_.png", "an older back page");
    EXPECT_FALSE(exporter.SaveCardAs({out / "mine.png", ExportFilter::Png, 0}));
    ASSERT_EQ(errors.shown.size(), 1u);
    EXPECT_EQ(errors.shown[0].Location, 2070);
    EXPECT_NE(errors.shown[0].ErrDescription.find("No space left on device"), std::string::npos);
    EXPECT_EQ(Files(), std::vector<std::string>{"mine_.png"});
    EXPECT_EQ(ReadFile(out / "mine_.png"), "an older back page");

    // The front page is in place when the back page's rename fails: it goes back to what it was.
    failing.fullDisk = false;
    WriteFile(out / "mine.png", "an older front page");
    EXPECT_FALSE(exporter.SaveCardAs({out / "mine.png", ExportFilter::Png, 0}));
    ASSERT_EQ(errors.shown.size(), 2u);
    EXPECT_NE(errors.shown[1].ErrDescription.find("Permission denied"), std::string::npos);
    EXPECT_EQ(Files(), (std::vector<std::string>{"mine.png", "mine_.png"}));
    EXPECT_EQ(ReadFile(out / "mine.png"), "an older front page");
    EXPECT_EQ(ReadFile(out / "mine_.png"), "an older back page");

    // Without older files nothing is left at all.
    fs::remove(out / "mine.png");
    fs::remove(out / "mine_.png");
    EXPECT_FALSE(exporter.SaveCardAs({out / "mine.png", ExportFilter::Png, 0}));
    EXPECT_TRUE(Files().empty());
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
    // The files keep the extension the user gave, when it is the filter's.
    EXPECT_EQ(CardExport::ChosenExtension("/a/b.jpeg", ExportFilter::Jpeg, ".acb"), ".jpeg");
    EXPECT_EQ(CardExport::ChosenExtension("/a/b.JPG", ExportFilter::Jpeg, ".acb"), ".JPG");
    EXPECT_EQ(CardExport::ChosenExtension("/a/card", ExportFilter::Jpeg, ".acb"), ".jpg");
    EXPECT_EQ(CardExport::ChosenExtension("/a/b.gif", ExportFilter::Bitmap, ".acb"), ".bmp");
}
