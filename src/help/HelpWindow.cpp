#include "HelpWindow.h"

#include "HelpTopics.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPointer>
#include <QRegularExpression>
#include <QShortcut>
#include <QSplitter>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

namespace cw {

namespace {

QPointer<HelpWindow>& TheHelpWindow() {
    static QPointer<HelpWindow> window;
    return window;
}

QString PageOf(const QUrl& url) {
    return url.fileName();
}

} // namespace

QUrl HelpWindow::PageUrl(const QString& page) {
    return QUrl(QStringLiteral("qrc") + QLatin1String(HelpPagesFolder) + QLatin1Char('/') + page);
}

QString HelpWindow::PageTitle(const QString& page) {
    QFile file(QLatin1String(HelpPagesFolder) + QLatin1Char('/') + page);
    if (!file.open(QIODevice::ReadOnly))
        return page;
    static const QRegularExpression title(QStringLiteral("<title>(.*?)</title>"),
                                          QRegularExpression::CaseInsensitiveOption |
                                              QRegularExpression::DotMatchesEverythingOption);
    auto match = title.match(QString::fromUtf8(file.readAll()));
    return match.hasMatch() ? match.captured(1).simplified() : page;
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Cardwright Help"));
    setAttribute(Qt::WA_DeleteOnClose);

    contents_ = new QListWidget(this);
    contents_->setObjectName(QStringLiteral("helpContents"));
    contents_->setWordWrap(true);
    contents_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    contents_->setStyleSheet(QStringLiteral("QListWidget::item { padding: 3px 4px; }"));
    for (const std::string& page : HelpPages()) {
        QString file = QString::fromStdString(page);
        auto* item = new QListWidgetItem(PageTitle(file), contents_);
        item->setData(Qt::UserRole, file);
    }
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    browser_->setOpenExternalLinks(true);
    browser_->document()->setDefaultStyleSheet(
        QStringLiteral("h1 { color: #1d2340; } h2 { color: #1d2340; margin-top: 14px; }"
                       "kbd { font-family: monospace; background: #eeeeee; }"
                       "code { font-family: monospace; } td, th { padding: 2px 8px; }"));

    auto* toolbar = new QToolBar(this);
    back_ = toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), tr("Back"));
    back_->setObjectName(QStringLiteral("helpBackAction"));
    back_->setShortcuts({QKeySequence::Back});
    forward_ = toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), tr("Forward"));
    forward_->setObjectName(QStringLiteral("helpForwardAction"));
    forward_->setShortcuts({QKeySequence::Forward});
    index_ = toolbar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), tr("Contents"));
    index_->setObjectName(QStringLiteral("helpIndexAction"));
    toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    back_->setEnabled(false);
    forward_->setEnabled(false);

    connect(back_, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(forward_, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(index_, &QAction::triggered, this, [this] { ShowTopic(HelpIndex); });
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, &HelpWindow::FollowSource);
    connect(contents_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { ShowPage(item->data(Qt::UserRole).toString()); });
    connect(contents_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { ShowPage(item->data(Qt::UserRole).toString()); });
    auto* f1 = new QAction(this);
    f1->setShortcut(Qt::Key_F1);
    connect(f1, &QAction::triggered, this, [this] { ShowTopic(HelpIndex); });
    addAction(f1);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(contents_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({230, 670});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolbar);
    layout->addWidget(splitter, 1);
    resize(920, 680);
}

void HelpWindow::ShowTopic(int topic) {
    ShowPage(QString::fromStdString(HelpPageForTopic(topic)));
}

void HelpWindow::ShowPage(const QString& page) {
    QUrl url = PageUrl(page);
    if (browser_->source().adjusted(QUrl::RemoveFragment) != url)
        browser_->setSource(url);
    else
        FollowSource(url);
}

void HelpWindow::FollowSource(const QUrl& url) {
    QString page = PageOf(url);
    for (int row = 0; row < contents_->count(); ++row) {
        if (contents_->item(row)->data(Qt::UserRole).toString() == page) {
            const QSignalBlocker block(contents_);
            contents_->setCurrentRow(row);
            break;
        }
    }
    setWindowTitle(PageTitle(page) + QStringLiteral(" - Cardwright Help"));
}

HelpWindow* OpenHelpWindow() {
    return TheHelpWindow().data();
}

void ShowProgramHelp(int topic, QWidget* owner) {
    QPointer<HelpWindow>& window = TheHelpWindow();
    // A modal window blocks every window outside it: help opened from one lives inside it.
    QWidget* parent = QApplication::activeModalWidget();
    if (!parent && owner)
        parent = owner->window();
    if (window && window->parentWidget() != parent) {
        QRect where = window->geometry();
        window->setParent(parent, Qt::Window);
        window->setGeometry(where);
    }
    if (!window)
        window = new HelpWindow(parent);
    window->ShowTopic(topic);
    window->show();
    window->raise();
    window->activateWindow();
}

void AddHelpKey(QWidget& window, int topic) {
    auto* key = new QShortcut(QKeySequence::HelpContents, &window);
    key->setContext(Qt::WindowShortcut);
    QObject::connect(key, &QShortcut::activated, &window,
                     [&window, topic] { ShowProgramHelp(topic, &window); });
}

} // namespace cw
