#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QTextBrowser;

namespace cw {

// "About Cardwright": the program's version, its notice, where to turn for help, and the
// libraries and fonts it ships with under their licences. Not modal.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    explicit AboutDialog(const std::string& appVersion, QWidget* parent = nullptr);

    QLabel* versionLabel() const { return version_; }
    QTextBrowser* licences() const { return licences_; }

    // The ownership notice shown under the version.
    static QString AboutNotice();
    // One line per library and font family the program is made with, with its licence.
    static QStringList LibraryLines();

private:
    QLabel* version_ = nullptr;
    QTextBrowser* licences_ = nullptr;
};

} // namespace cw
