#include "AboutDialog.h"

#include "HelpTopics.h"
#include "HelpWindow.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace cw {

QString AboutDialog::AboutNotice() {
    return QStringLiteral(
        "Cardwright fills in, lays out, prints and exports bridge convention cards.\n"
        "\u00a9 The Cardwright developers. Cardwright is free software under the GNU General "
        "Public License, version 3 or later. The libraries and fonts it is made with come "
        "under their own licences, given below.");
}

QStringList AboutDialog::LibraryLines() {
    return {QStringLiteral("Qt %1 \u2014 GNU Lesser General Public License v3")
                .arg(QString::fromLatin1(qVersion())),
            QStringLiteral("giflib \u2014 MIT licence"),
            QStringLiteral("libcurl \u2014 curl licence"),
            QStringLiteral("Liberation fonts \u2014 SIL Open Font License 1.1; version 1: GNU "
                           "GPL 2 with a font exception")};
}

AboutDialog::AboutDialog(const std::string& appVersion, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(QStringLiteral("Cardwright"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* suits = new QLabel(this);
    bool pip4 = QFontDatabase::families().contains(QStringLiteral("Pip4"));
    // The suit font, where it is there, has the four symbols under their own characters.
    suits->setText(QStringLiteral("<span style=\"%1font-size:26pt;\">\u2663<span "
                                  "style=\"color:#c00000\">\u2666\u2665</span>\u2660</span>")
                       .arg(pip4 ? QStringLiteral("font-family:'Pip4'; ") : QString()));
    auto* name = new QLabel(QStringLiteral("Cardwright"), this);
    QFont big = name->font();
    big.setPointSize(big.pointSize() + 10);
    big.setBold(true);
    name->setFont(big);
    version_ = new QLabel(QStringLiteral("Version ") + QString::fromStdString(appVersion), this);
    version_->setObjectName(QStringLiteral("versionLabel"));
    version_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* heading = new QVBoxLayout;
    heading->addWidget(name);
    heading->addWidget(version_);
    auto* top = new QHBoxLayout;
    top->addWidget(suits);
    top->addSpacing(12);
    top->addLayout(heading, 1);

    auto* notice = new QLabel(AboutNotice(), this);
    notice->setObjectName(QStringLiteral("noticeLabel"));
    notice->setWordWrap(true);
    auto* contact = new QLabel(
        QStringLiteral("Help on using the program: Help \u2192 Help on Cardwright (F1). When an "
                       "error is shown, \u201cSend Now\u201d sends its report to the "
                       "maintainer."),
        this);
    contact->setObjectName(QStringLiteral("contactLabel"));
    contact->setWordWrap(true);

    auto* libraries = new QLabel(
        QStringLiteral("Made with:\n  ") + LibraryLines().join(QStringLiteral("\n  ")), this);
    libraries->setObjectName(QStringLiteral("librariesLabel"));

    licences_ = new QTextBrowser(this);
    licences_->setObjectName(QStringLiteral("licenceTexts"));
    licences_->setOpenExternalLinks(true);
    licences_->setSource(HelpWindow::PageUrl(QStringLiteral("licences.html")));
    licences_->setMinimumHeight(220);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::close);
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, this, [this] { ShowProgramHelp(HelpIndex, this); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(notice);
    layout->addWidget(contact);
    layout->addWidget(libraries);
    layout->addWidget(licences_, 1);
    layout->addWidget(buttons);
    resize(620, 640);
}

} // namespace cw
