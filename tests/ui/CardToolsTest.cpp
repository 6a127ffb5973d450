#include "CardTools.h"

#include "AppContext.h"
#include "CardCanvas.h"
#include "CardCheckPanel.h"
#include "CardComparisonCommands.h"
#include "CardExport.h"
#include "CardHistoryCommands.h"
#include "CardHistoryDialog.h"
#include "CardPicture.h"
#include "CardRenderer.h"
#include "ComparisonPanel.h"
#include "DeletedCardsDialog.h"
#include "FillInController.h"
#include "MainWindowFixture.h"
#include "PainterSurface.h"
#include "ShownCardPages.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace cw;
using namespace cw::test;

namespace {

const QColor kMarkRed(230, 0, 0);

// The shipped ACBL sample card open on the card face, with copies of it beside it.
class CardToolsTest : public MainWindowFixture {
protected:
    void SetUp() override {
        fs::copy(CW_SOURCE_DATA, dir.Path(), fs::copy_options::recursive);
        for (const char* page : {"", "_"})
            fs::copy(dir / "acbl" / ("testcrd" + std::string(page) + ".acb"),
                     dir / "acbl" / ("pard" + std::string(page) + ".acb"));
    }
    void Open(const std::string& entry = "TESTCRD.ACB") {
        ShowWindow();
        const auto& entries = window->Session().Library().Entries();
        int index = int(std::find(entries.begin(), entries.end(), entry) - entries.begin());
        ASSERT_TRUE(window->Session().Library().OpenCard(index));
        window->ShowCardFace();
        ASSERT_TRUE(window->CardFaceShown());
    }
    // Ticks the first check box of a page file that is not ticked; returns its record line.
    std::string TickFirstEmptyBox(const std::string& file) {
        std::string bytes = ReadFile(dir / "acbl" / file);
        for (size_t at = bytes.find("\n3,"); at != std::string::npos;
             at = bytes.find("\n3,", at + 1)) {
            size_t state = at;
            for (int comma = 0; comma < 5; ++comma)
                state = bytes.find(',', state + 1);
            if (bytes.compare(state, 3, ",0,") == 0) {
                bytes[state + 1] = '1';
                WriteFile(dir / "acbl" / file, bytes);
                return bytes.substr(at + 1, bytes.find('\r', at) - at - 1);
            }
        }
        ADD_FAILURE() << "no empty check box";
        return {};
    }
    CardTools& Tools() { return window->Tools(); }
    // The screen pixel of the card picture at card twips.
    QPoint At(int x, int y) {
        QPointF pixel = window->cardPicture()->ToPixels(QPoint(x, y));
        return QPoint(int(pixel.x()), int(pixel.y()));
    }
    // The top right corner of text field i, one pixel inside.
    QPoint Corner(int i) {
        const CardField& f = ctx.Card.Page().Field(TextField, i);
        QPoint corner = At(f.a[0] + f.a[2], f.a[1]);
        return corner + QPoint(-2, 1);
    }
    QColor Overlay(QPoint pixel) { return Tools().Overlay().Picture().pixelColor(pixel); }
    QColor Card(QPoint pixel) { return window->Canvas().Picture().pixelColor(pixel); }
};

} // namespace

TEST_F(CardToolsTest, CutOffTextIsMarkedOnScreenOnlyAndCheckCardOpensItsField) {
    auto [backField, old] = ChangeFilledText(dir / "acbl" / "testcrd_.acb", 0,
                                             "Limit raises, game forcing, splinters and more");
    ASSERT_GE(backField, 0);
    Open();
    EXPECT_NE(Overlay(Corner(1)), kMarkRed);
    window->FillIn().Session().OpenTextEditor(1);
    QTest::keyClicks(window->FillIn().OpenEditor(), " and far more than the box holds");
    window->FillIn().CommitOpenEditor();
    QCoreApplication::processEvents();

    // The mark is over the card, never in the card's own picture.
    EXPECT_EQ(Overlay(Corner(1)), kMarkRed);
    EXPECT_NE(Card(Corner(1)), kMarkRed);
    EXPECT_EQ(window->cardPicture()->grab().toImage().pixelColor(Corner(1)), kMarkRed);
    ASSERT_EQ(Tools().ShownOverflows().size(), 1u);
    // Nor on paper: the page printed at 150 dots per inch.
    QImage paper(1700, 2300, QImage::Format_RGB32);
    paper.fill(Qt::white);
    FontBook fonts;
    PainterSurface surface(paper, DeviceMapping::Paper(150, 150, paper.size(), {16320, 22080}),
                           fonts);
    CardRenderer printer(ctx.errorTrap);
    printer.Render(ctx.RequestForOpenPage(RenderTarget::Paper), surface);
    surface.End();
    // A copy: turning the card over reads its pages again.
    const CardField field = ctx.Card.Page().Field(TextField, 1);
    const QPoint corner(int((field.a[0] + field.a[2]) * 150 / 1440) - 2,
                        field.a[1] * 150 / 1440 + 1);
    for (int dx = -6; dx <= 2; ++dx)
        for (int dy = -2; dy <= 6; ++dy)
            EXPECT_NE(paper.pixelColor(corner + QPoint(dx, dy)), kMarkRed);

    Tools().ShowCheckPanel();
    QTreeWidget* list = Tools().checkPanel()->fieldList();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "Front");
    EXPECT_EQ(list->topLevelItem(0)->text(1), "2");
    // The number field stands at the page's right edge: what runs past it runs off the paper.
    EXPECT_EQ(list->topLevelItem(0)->text(2).toStdString(),
              "shrunk to 5 pt, cut off: too wide, off the printed page");
    EXPECT_EQ(list->topLevelItem(1)->text(1).toInt(), backField + 1);
    EXPECT_EQ(list->topLevelItem(1)->text(3), "Limit raises, game forcing, splinters and more");
    // Choosing the back page's field turns the card over and opens that field.
    emit list->itemActivated(list->topLevelItem(1), 0);
    EXPECT_TRUE(ctx.Card.BackSide());
    EXPECT_EQ(window->FillIn().Session().CurrentField, backField);

    // Nor in an exported picture (at the screen's size at zoom 1).
    ShownCardPages shown(*window);
    CardExport exporter(ctx, shown);
    auto files = exporter.ExportCardImage(dir / "exported", PictureType::Png);
    ASSERT_FALSE(files.empty());
    QImage exported(QString::fromStdString(files[0].string()));
    ASSERT_FALSE(exported.isNull());
    int red = 0;
    const int right = (field.a[0] + field.a[2]) / 15, top = field.a[1] / 15;
    for (int x = right - 10; x <= right; ++x)
        for (int y = top; y <= top + 10; ++y)
            red += exported.pixelColor(x, y) == kMarkRed;
    EXPECT_EQ(red, 0);
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(CardToolsTest, ComparingOutlinesTheDifferencesAndTakesThePartnersValueOver) {
    ASSERT_GE(ChangeFilledText(dir / "acbl" / "pard.acb", 2, "Changed").first, 2);
    const std::string ticked = TickFirstEmptyBox("pard.acb");
    ASSERT_GE(ChangeFilledText(dir / "acbl" / "pard_.acb", 0, "Changed").first, 0);
    Open();
    EXPECT_FALSE(Tools().Comparison().CompareWith(dir / "sayc" / "testcrd.syc"));
    ASSERT_EQ(prompter.MessageTexts().size(), 1u);
    EXPECT_NE(prompter.MessageTexts()[0].find("Only cards of the same format"), std::string::npos);

    ASSERT_TRUE(Tools().Comparison().CompareWith(dir / "acbl" / "pard.acb"));
    ASSERT_EQ(Tools().Comparison().Differences().size(), 3u);
    QTreeWidget* list = Tools().Comparison().comparisonPanel()->differenceList();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "Front page: 2 differences");
    // The front page's two differences, the ticked box among them.
    const auto& found = Tools().Comparison().Differences();
    const int boxRow =
        int(std::find_if(found.begin(), found.begin() + 2,
                         [](const FieldDifference& d) { return d.kind == CheckBox; }) -
            found.begin());
    ASSERT_LT(boxRow, 2);
    const FieldDifference box = found[size_t(boxRow)];

    // On the outline three screen pixels round the box.
    const QPoint onOutline =
        At(box.left - int(3 * ctx.TwipsPerPixel / ctx.View.ViewScale()), box.top + box.height / 2);

    // Choosing one outlines it; taking the partner's value leaves the other two.
    list->setCurrentItem(list->topLevelItem(0)->child(boxRow));
    EXPECT_NE(Overlay(onOutline), QColor(0, 0, 0, 0));
    EXPECT_TRUE(Tools().Comparison().comparisonPanel()->takeValueButton()->isEnabled());
    QTest::mouseClick(Tools().Comparison().comparisonPanel()->takeValueButton(), Qt::LeftButton);
    EXPECT_EQ(ctx.Card.Page().Field(CheckBox, box.mine).a[4], 1);
    EXPECT_TRUE(window->Session().Changed().CardChanged());
    ASSERT_EQ(Tools().Comparison().Differences().size(), 2u);
    EXPECT_EQ(Overlay(onOutline), QColor(0, 0, 0, 0));
    // One step of the undo history.
    window->UndoStep(false);
    EXPECT_EQ(ctx.Card.Page().Field(CheckBox, box.mine).a[4], 0);
    EXPECT_EQ(Tools().Comparison().Differences().size(), 3u);
    EXPECT_FALSE(window->Session().Changed().CardChanged());
    window->UndoStep(true);
    EXPECT_EQ(ctx.Card.Page().Field(CheckBox, box.mine).a[4], 1);
    EXPECT_EQ(Tools().Comparison().Differences().size(), 2u);

    // The back page's difference turns the card over (after saving what was taken).
    prompter.QueueAnswer(Answer::Yes);
    list->setCurrentItem(list->topLevelItem(1)->child(0));
    EXPECT_TRUE(ctx.Card.BackSide());
    EXPECT_NE(ReadFile(dir / "acbl" / "testcrd.acb").find(ticked), std::string::npos);
    QTest::mouseClick(Tools().Comparison().comparisonPanel()->takeValueButton(), Qt::LeftButton);
    ASSERT_EQ(Tools().Comparison().Differences().size(), 1u);
    EXPECT_FALSE(Tools().Comparison().Differences()[0].backPage);
    QTest::mouseClick(Tools().Comparison().comparisonPanel()->endButton(), Qt::LeftButton);
    EXPECT_FALSE(Tools().Comparison().Comparing());
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(CardToolsTest, HistoryShowsKeptVersionsAndRestoresThemAndDeletedCards) {
    Open();
    const std::string first = ctx.Card.Page().Field(TextField, 1).text;
    ctx.Card.Rewrite([](CardPage& page) { page.Field(TextField, 1).text = "K999999"; });
    window->Session().Changed().SetChangedState(ChangedState::CardChangedCode);
    window->Session().SaveChanges();

    Tools().History().OpenHistory();
    CardHistoryDialog* dialog = Tools().History().historyDialog();
    ASSERT_TRUE(dialog && dialog->isVisible());
    ASSERT_EQ(dialog->versionList()->count(), 1);
    EXPECT_FALSE(dialog->versionList()->item(0)->icon().isNull());
    dialog->versionList()->setCurrentRow(0);
    ASSERT_FALSE(dialog->chosenPicture()->pixmap().isNull());
    EXPECT_EQ(dialog->chosenPicture()->pixmap().size(), dialog->currentPicture()->pixmap().size());
    // Both pictures show the card's own text: the names in the first field.
    const CardField& names = ctx.Card.Page().Field(TextField, 0);
    for (QLabel* label : {dialog->chosenPicture(), dialog->currentPicture()}) {
        QImage picture = label->pixmap().toImage();
        const double perTwip = picture.width() / ctx.Format.Defaults().NaturalWidth;
        int ink = 0;
        for (int x = int(names.a[0] * perTwip); x < int((names.a[0] + names.a[2]) * perTwip); ++x)
            for (int y = int((names.a[1] + 40) * perTwip); y < int((names.a[1] + 200) * perTwip);
                 ++y)
                ink += qGray(picture.pixel(x, y)) < 160;
        EXPECT_GT(ink, 10) << label->objectName().toStdString() << " " << ink;
    }
    QTest::mouseClick(dialog->restoreButton(), Qt::LeftButton);
    EXPECT_EQ(ctx.Card.Page().Field(TextField, 1).text, first);
    EXPECT_FALSE(window->Session().Changed().CardChanged());
    // The version the restore replaced is listed now, so the restore can be taken back.
    EXPECT_EQ(dialog->versionList()->count(), 2);
    dialog->close();

    window->LeaveCardFace();
    prompter.QueueAnswer(Answer::Yes);
    ASSERT_TRUE(window->Session().Library().DeleteCard(0));
    EXPECT_FALSE(fs::exists(dir / "acbl" / "pard.acb"));
    Tools().History().OpenDeletedCards();
    QListWidget* deleted = Tools().History().deletedCardsDialog()->cardList();
    ASSERT_EQ(deleted->count(), 1);
    EXPECT_TRUE(deleted->item(0)->text().startsWith("PARD"));
    QTest::mouseClick(Tools().History().deletedCardsDialog()->restoreButton(), Qt::LeftButton);
    EXPECT_TRUE(fs::exists(dir / "acbl" / "pard.acb"));
    EXPECT_TRUE(fs::exists(dir / "acbl" / "pard_.acb"));
    EXPECT_EQ(deleted->count(), 0);
    EXPECT_TRUE(errors.shown.empty());
}
