#pragma once

#include <QUrl>
#include <QWidget>

class QAction;
class QListWidget;
class QTextBrowser;

namespace cw {

// The program's help: the pages' titles in a contents list beside the page on show, with
// back, forward and contents, and links between the pages.
class HelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the page of a topic number (HelpTopics.h); 0 shows the index.
    void ShowTopic(int topic);
    void ShowPage(const QString& page);

    QTextBrowser* browser() const { return browser_; }
    QListWidget* contents() const { return contents_; }
    QAction* backAction() const { return back_; }
    QAction* forwardAction() const { return forward_; }
    QAction* indexAction() const { return index_; }

    // The address of a help page.
    static QUrl PageUrl(const QString& page);
    // A page's title (its <title>), or its file name when it has none.
    static QString PageTitle(const QString& page);

private:
    void FollowSource(const QUrl& url);

    QTextBrowser* browser_ = nullptr;
    QListWidget* contents_ = nullptr;
    QAction* back_ = nullptr;
    QAction* forward_ = nullptr;
    QAction* index_ = nullptr;
};

// Opens the help window at a topic (0: the index), raising it when it is already open. While
// a modal window is up, the help window belongs to it, so that it can still be used.
void ShowProgramHelp(int topic = 0, QWidget* owner = nullptr);

// F1 in window (and in the windows it owns that have no F1 of their own) opens the help at
// topic.
void AddHelpKey(QWidget& window, int topic);

// The help window ShowProgramHelp opened, when it is open.
HelpWindow* OpenHelpWindow();

} // namespace cw
