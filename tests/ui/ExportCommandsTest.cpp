#include "AppContext.h"
#include "CardExport.h"
#include "MainWindowFixture.h"

#include <QAction>
#include <QImage>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <gtest/gtest.h>

using namespace cw;
using namespace cw::test;

namespace {

struct ScriptedExportChooser : ExportFileChooser {
    std::optional<ExportRequest> answer;
    fs::path askedFolder;
    std::string askedName, askedExt;
    std::optional<ExportRequest> ChooseExportFile(const fs::path& folder, const std::string& name,
                                                  const std::string& cardExt) override {
        askedFolder = folder;
        askedName = name;
        askedExt = cardExt;
        return answer;
    }
};

// The main window on the shipped formats, saving the sample card under other names.
class ExportCommandsTest : public MainWindowFixture {
protected:
    void SetUp() override {
        fs::copy(CW_SOURCE_DATA, dir.Path(), fs::copy_options::recursive);
        ShowWindow();
        window->UseExportFileChooser(&chooser);
    }
    void TearDown() override {
        window.reset();
        EXPECT_TRUE(errors.shown.empty()) << errors.shown.front().ErrDescription;
    }
    void OpenSampleCard() {
        for (int i = 0; i < window->cardList()->count(); ++i)
            if (window->cardList()->item(i)->text().startsWith("TESTCRD", Qt::CaseInsensitive))
                window->Session().Library().OpenCard(i);
        ASSERT_TRUE(window->Session().Changed().CardOpen());
    }

    ScriptedExportChooser chooser;
};

} // namespace

TEST_F(ExportCommandsTest, StartFaceButtonSavesBothPagesAsPictures) {
    QPushButton* button = window->commandButton(2);
    EXPECT_EQ(button->text(), "Save Card as Picture or PDF...");
    EXPECT_FALSE(button->isHidden());
    EXPECT_FALSE(button->isEnabled());
    QAction* menuItem = window->findChild<QAction*>("saveCardAsAction");
    ASSERT_TRUE(menuItem);
    EXPECT_EQ(menuItem->text(), "Save Card as Picture or PDF...");
    EXPECT_FALSE(menuItem->isEnabled());

    OpenSampleCard();
    EXPECT_TRUE(button->isEnabled());
    EXPECT_TRUE(menuItem->isEnabled());
    window->sideButton(1)->click();
    ASSERT_TRUE(ctx.Card.BackSide());
    chooser.answer = ExportRequest{dir / "shared" / "ourcard.jpg", ExportFilter::Jpeg, 0};
    fs::create_directories(dir / "shared");
    button->click();
    EXPECT_EQ(chooser.askedFolder, dir / "acbl");
    EXPECT_EQ(chooser.askedName, "TESTCRD");
    EXPECT_EQ(chooser.askedExt, ".acb");
    EXPECT_EQ(ListFolder(dir / "shared", "*"),
              (std::vector<std::string>{"ourcard.jpg", "ourcard_.jpg"}));
    // At zoom 1: the card's 7920 twips at the screen's 15 a pixel.
    EXPECT_EQ(QImage(QString::fromStdString((dir / "shared" / "ourcard.jpg").string())).width(),
              528);
    EXPECT_FALSE(ctx.Card.BackSide());
    EXPECT_TRUE(window->sideButton(0)->isChecked());
    // The status line says where the pictures went.
    EXPECT_EQ(window->statusBar()->currentMessage().toStdString(),
              "2 files written to " + (dir / "shared").string() + ": ourcard.jpg, ourcard_.jpg");
}

TEST_F(ExportCommandsTest, CardFilterCopiesTheCardUnderTheNewName) {
    OpenSampleCard();
    window->ShowCardFace();
    const auto before = ListFolder(dir / "acbl", "*");
    window->findChild<QAction*>("saveCardAsAction")->trigger(); // Cancel: nothing at all
    EXPECT_EQ(chooser.askedName, "TESTCRD");
    EXPECT_EQ(ListFolder(dir / "acbl", "*"), before);

    chooser.answer = ExportRequest{dir / "acbl" / "club night", ExportFilter::CardFile, 0};
    window->findChild<QAction*>("saveCardAsAction")->trigger();
    EXPECT_TRUE(ExistsAnyCase(dir / "acbl" / "club night.acb"));
    EXPECT_TRUE(ExistsAnyCase(dir / "acbl" / "club night_.acb"));
    EXPECT_EQ(ReadFile(dir / "acbl" / "club night.acb").substr(0, 200),
              ReadFile(dir / "acbl" / "testcrd.acb").substr(0, 200));
    QStringList listed;
    for (int i = 0; i < window->cardList()->count(); ++i)
        listed << window->cardList()->item(i)->text();
    EXPECT_TRUE(listed.contains("club night"));
}
