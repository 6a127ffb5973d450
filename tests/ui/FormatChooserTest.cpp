#include "FormatChooser.h"

#include "AppContext.h"
#include "FormatCatalogue.h"
#include "MainWindow.h"
#include "MainWindowFixture.h"
#include "NewFormatDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace cw;
using namespace cw::test;

namespace {

std::vector<FormatSpec> Formats(int count) {
    std::vector<FormatSpec> formats;
    for (int i = 0; i < count; ++i) {
        FormatSpec spec;
        spec.code = "F" + std::to_string(i);
        spec.base = "f" + std::to_string(i);
        spec.extension = "f" + std::to_string(i);
        spec.name = "Format " + std::to_string(i);
        spec.backPage = i != 1;
        formats.push_back(spec);
    }
    return formats;
}

class FormatChooserTest : public MainWindowFixture {
protected:
    void Start(int formats) {
        MakeDataRoot(dir.Path(), Formats(formats));
        ShowWindow();
    }
    FormatChooser* Open() {
        // A closed dialog leaves no window active on the offscreen platform.
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(window.get(), Qt::Key_F2);
        FormatChooser* dialog = window->formatChooser();
        EXPECT_NE(dialog, nullptr);
        return dialog;
    }
    // A click on row r of the rows picture (rows are 330 twips).
    void ClickRow(FormatChooser* dialog, int row, bool twice = false) {
        QPoint at(20, row * dialog->RowHeight() + dialog->RowHeight() / 2);
        if (twice)
            QTest::mouseDClick(dialog->rowsPicture(), Qt::LeftButton, {}, at);
        else
            QTest::mouseClick(dialog->rowsPicture(), Qt::LeftButton, {}, at);
    }
    std::vector<std::string> Settings() { return ReadLines(dir / "cwr.sys"); }
};

} // namespace

TEST(RowFonts, FirstSixLettersChooseTheFont) {
    EXPECT_EQ(RowFontName("RuSsIa - national card"), "Times NR Cyrillic MT");
    EXPECT_EQ(RowFontName("Greece"), "Times NR Greek MT");
    EXPECT_EQ(RowFontName("CROATIA"), "Times NR CEw MT");
    EXPECT_EQ(RowFontName("poland"), "Arial PL");
    EXPECT_EQ(RowFontName("Russ"), "Times New Roman");
    EXPECT_EQ(RowFontName("ACBL"), "Times New Roman");
    // A name in its own script is decoded in that script's code page.
    EXPECT_EQ(DecodeDisplayName("RUSSIA \xc0\xc1"), QString::fromUtf8("RUSSIA АБ"));
    EXPECT_EQ(DecodeDisplayName("Caf\xe9"), QString::fromUtf8("Café"));
}

TEST_F(FormatChooserTest, RowsHighlightTheCurrentFormatAndClicksMoveIt) {
    Start(3);
    FormatChooser* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Card Format Selection From");
    EXPECT_EQ(dialog->RowCount(), 3);
    EXPECT_EQ(dialog->RowHeight(), 330 / ctx.TwipsPerPixel);
    EXPECT_EQ(dialog->Selection(), 0);
    EXPECT_EQ(dialog->findChild<QLabel*>("selectedFormatLabel")->text(), "Format 0");
    EXPECT_EQ(dialog->RowFont(0).family(), "Times New Roman");

    ClickRow(dialog, 2);
    EXPECT_EQ(dialog->Selection(), 2);
    EXPECT_EQ(dialog->findChild<QLabel*>("selectedFormatLabel")->text(), "Format 2");
    ClickRow(dialog, 3); // below the last row
    EXPECT_EQ(dialog->Selection(), 2);
    EXPECT_EQ(ctx.Format.Current(), 0); // nothing is chosen before "Done"
}

TEST_F(FormatChooserTest, DoneMakesTheChoiceCurrentAndExitWritesIt) {
    Start(3);
    FormatChooser* dialog = Open();
    ClickRow(dialog, 1);
    QTest::mouseClick(dialog->findChild<QPushButton*>("doneButton"), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(window->formatChooser(), nullptr);
    EXPECT_EQ(ctx.Format.Current(), 1);
    EXPECT_EQ(window->findChild<QLabel*>("formatNameLabel")->text(), "Format 1");
    EXPECT_FALSE(window->sideButton(1)->isEnabled()); // one-page format
    WriteLines(dir / "F1" / "club.f1", HeaderBlock("", {}));
    window->Session().Library().FillCardList();
    EXPECT_EQ(window->cardList()->item(0)->text(), "club");

    EXPECT_TRUE(window->close());
    auto lines = Settings();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "s02 1"), lines.end());
    EXPECT_EQ(std::find(lines.begin(), lines.end(), "s02 0"), lines.end());
    EXPECT_FALSE(fs::exists(dir / "F0"));
    EXPECT_TRUE(fs::exists(dir / "F1"));
}

TEST_F(FormatChooserTest, DoubleClickChoosesAndTheSameFormatKeepsTheCard) {
    Start(3);
    WriteLines(dir / "F0" / "a.f0", HeaderBlock("", {}));
    WriteLines(dir / "F0" / "a_.f0", HeaderBlock("", {}));
    window->Session().Library().FillCardList();
    ASSERT_TRUE(window->Session().Library().OpenCard(0));

    FormatChooser* dialog = Open();
    ClickRow(dialog, 0, true);
    QApplication::processEvents();
    EXPECT_EQ(window->formatChooser(), nullptr);
    EXPECT_TRUE(window->Session().Changed().CardOpen());

    dialog = Open();
    ClickRow(dialog, 2, true);
    QApplication::processEvents();
    EXPECT_EQ(ctx.Format.Current(), 2);
    EXPECT_FALSE(window->Session().Changed().CardOpen());
    EXPECT_EQ(window->cardList()->count(), 0);
}

TEST_F(FormatChooserTest, LongListsScrollByRows) {
    Start(20);
    ctx.Format.MakeCurrent(0);
    FormatChooser* dialog = Open();
    QScrollBar* bar = dialog->scrollBar();
    EXPECT_EQ(bar->singleStep(), 330);
    EXPECT_EQ(bar->pageStep(), 4950);
    EXPECT_EQ(bar->maximum(), (20 - 15) * 330);
    bar->setValue(2 * 330);
    EXPECT_EQ(dialog->rowsPicture()->y(), -2 * dialog->RowHeight());
    // A click in the first visible row picks row 2.
    QPoint inView(20, 2 * dialog->RowHeight() + 3);
    QTest::mouseClick(dialog->rowsPicture(), Qt::LeftButton, {}, inView);
    EXPECT_EQ(dialog->Selection(), 2);
    QTest::keyClick(dialog, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(ctx.Format.Current(), 0);
}

TEST_F(FormatChooserTest, NewFormatDialogOffersKnownCodesAndMakesTheFormatOfATypedOne) {
    Start(2);
    NewFormatDialog dialog(dir.Path());
    QComboBox* codes = dialog.codeBox();
    // Every code with rules of its own is offered with the card it stands for.
    ASSERT_EQ(codes->count(), int(KnownFormatCodes().size()));
    const int norway = codes->findText("NORWAY", Qt::MatchStartsWith);
    ASSERT_GE(norway, 0);
    EXPECT_TRUE(codes->itemText(norway).contains("systemkort"));
    // Picking it names the format after the card, and the extension follows the code.
    codes->setCurrentIndex(norway);
    emit codes->activated(norway);
    EXPECT_EQ(dialog.nameEdit()->text(), codes->itemData(norway).toString());
    EXPECT_EQ(dialog.extensionEdit()->placeholderText(), "nor");

    // A code of one's own is typed; a name given first is kept.
    QImage front(850, 1100, QImage::Format_RGB32);
    front.fill(Qt::white);
    const fs::path picture = dir / "club-card.png";
    ASSERT_TRUE(front.save(QString::fromStdString(picture.string())));
    dialog.sourceEdit()->setText(QString::fromStdString(picture.string()));
    dialog.nameEdit()->setText("Our club card");
    codes->setEditText("F0");
    dialog.Make();
    EXPECT_TRUE(dialog.problemLabel()->isVisibleTo(&dialog));
    EXPECT_TRUE(dialog.problemLabel()->text().contains("in use"));
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    codes->setEditText("CLUB7");
    EXPECT_EQ(dialog.nameEdit()->text(), "Our club card");
    dialog.Make();
    EXPECT_EQ(dialog.result(), QDialog::Accepted) << dialog.problemLabel()->text().toStdString();
    EXPECT_EQ(dialog.MadeCode(), "CLUB7");
    const auto lines = Settings();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "w02 CLUB7"), lines.end());
}

TEST_F(FormatChooserTest, ExportAsksForTheHighlightedFormatAndImportIsOffered) {
    Start(3);
    FormatChooser* dialog = Open();
    // The window would ask for the files; here the requests are only counted.
    QObject::disconnect(dialog, &FormatChooser::exportFormatRequested, window.get(), nullptr);
    QObject::disconnect(dialog, &FormatChooser::importFormatRequested, window.get(), nullptr);
    std::vector<int16_t> exported;
    int imports = 0;
    QObject::connect(dialog, &FormatChooser::exportFormatRequested,
                     [&](int16_t slot) { exported.push_back(slot); });
    QObject::connect(dialog, &FormatChooser::importFormatRequested, [&] { ++imports; });
    ClickRow(dialog, 2);
    QTest::mouseClick(dialog->findChild<QPushButton*>("exportFormatButton"), Qt::LeftButton);
    QTest::mouseClick(dialog->findChild<QPushButton*>("importFormatButton"), Qt::LeftButton);
    EXPECT_EQ(exported, std::vector<int16_t>{2});
    EXPECT_EQ(imports, 1);
    EXPECT_EQ(ctx.Format.Current(), 0) << "sharing a format does not choose it";
}
