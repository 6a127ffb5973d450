#include "AboutDialog.h"
#include "HelpTopics.h"
#include "HelpWindow.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

namespace cw {
namespace {

QString ReadPage(const QString& page) {
    QFile file(QLatin1String(HelpPagesFolder) + QLatin1Char('/') + page);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QString Shown(HelpWindow& window) {
    return window.browser()->source().fileName();
}

TEST(HelpTest, EachTopicOpensItsPageAndBackAndForwardRetraceThem) {
    ShowProgramHelp(HelpCardOptions);
    HelpWindow* window = OpenHelpWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Shown(*window), "options.html");
    ShowProgramHelp(HelpCardFace);
    EXPECT_EQ(OpenHelpWindow(), window) << "one help window, raised again";
    EXPECT_EQ(Shown(*window), "filling-in.html");
    ShowProgramHelp(HelpSupplementalNotes);
    EXPECT_EQ(Shown(*window), "notes.html");
    EXPECT_EQ(window->contents()->currentItem()->data(Qt::UserRole).toString(), "notes.html");
    ShowProgramHelp(HelpIndex);
    EXPECT_EQ(Shown(*window), "index.html");
    ShowProgramHelp(4711);
    EXPECT_EQ(Shown(*window), "index.html");

    ASSERT_TRUE(window->backAction()->isEnabled());
    window->backAction()->trigger();
    EXPECT_EQ(Shown(*window), "notes.html");
    window->backAction()->trigger();
    EXPECT_EQ(Shown(*window), "filling-in.html");
    ASSERT_TRUE(window->forwardAction()->isEnabled());
    window->forwardAction()->trigger();
    EXPECT_EQ(Shown(*window), "notes.html");
    window->close();
}

// F1 in a window that has help of its own opens that window's page.
TEST(HelpTest, F1InAWindowOpensItsPage) {
    for (auto [topic, page] :
         {std::pair{HelpCardList, "card-list.html"}, std::pair{HelpPrinting, "printing.html"},
          std::pair{HelpReferenceTexts, "reference-texts.html"},
          std::pair{HelpTroubleshooting, "troubleshooting.html"}}) {
        QWidget window;
        AddHelpKey(window, topic);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_F1);
        ASSERT_NE(OpenHelpWindow(), nullptr);
        EXPECT_EQ(Shown(*OpenHelpWindow()), page);
        OpenHelpWindow()->close();
    }
}

TEST(HelpTest, EveryPageIsListedWithATitleAndEveryLinkResolves) {
    QStringList listed;
    for (const std::string& page : HelpPages())
        listed << QString::fromStdString(page);
    QStringList files = QDir(QLatin1String(HelpPagesFolder)).entryList(QDir::Files);
    listed.sort();
    files.sort();
    EXPECT_EQ(files, listed) << "a help page missing from the contents, or the other way";

    static const QRegularExpression link(QStringLiteral("href=\"([^\"]*)\""));
    static const QRegularExpression title(QStringLiteral("<title>[^<]+</title>"));
    for (const QString& page : files) {
        QString text = ReadPage(page);
        EXPECT_TRUE(title.match(text).hasMatch()) << page.toStdString();
        for (auto match = link.globalMatch(text); match.hasNext();) {
            QString target = match.next().captured(1);
            if (target.startsWith(QLatin1String("https://")))
                continue;
            QString file = target.section('#', 0, 0);
            QString anchor = target.section('#', 1);
            QString targetText = file.isEmpty() ? text : ReadPage(file);
            EXPECT_FALSE(targetText.isEmpty())
                << page.toStdString() << " links to a missing page " << target.toStdString();
            if (!anchor.isEmpty()) {
                EXPECT_TRUE(targetText.contains("name=\"" + anchor + "\""))
                    << page.toStdString() << " links to a missing place " << target.toStdString();
            }
        }
    }
}

TEST(AboutTest, ShowsTheVersionAndTheLicencesOfWhatItShipsWith) {
    AboutDialog about("6.3.19");
    EXPECT_EQ(about.windowTitle(), "Cardwright");
    EXPECT_EQ(about.versionLabel()->text(), "Version 6.3.19");
    QString licences = about.licences()->toPlainText();
    // Cardwright's own licence first, then those of what it is made with.
    EXPECT_TRUE(
        AboutDialog::AboutNotice().contains("GNU General Public License, version 3 or later"));
    for (const char* text :
         {"GNU GENERAL PUBLIC LICENSE", "GNU LESSER GENERAL PUBLIC LICENSE",
          "Permission is hereby granted", "Daniel Stenberg", "SIL OPEN FONT LICENSE Version 1.1"})
        EXPECT_TRUE(licences.contains(QLatin1String(text))) << text;
}

} // namespace
} // namespace cw
