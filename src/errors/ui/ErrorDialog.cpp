#include "ErrorDialog.h"

#include "ErrorLinesView.h"
#include "ErrorLog.h"
#include "Prompter.h"

#include <QApplication>
#include <QClipboard>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLayout>
#include <QPushButton>
#include <QScreen>
#include <QStringDecoder>
#include <QVBoxLayout>
#include <cstdio>
#include <cstdlib>

namespace cw {

namespace {

// Texts of an error come from everywhere: messages and paths in UTF-8, card names as the
// bytes of their files. What is not valid UTF-8 is read as windows-1252.
QString DisplayText(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    if (!utf8.hasError())
        return text;
    QStringDecoder codepage("windows-1252");
    if (!codepage.isValid())
        return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
    return codepage.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

void EndProcessNow() {
    std::fflush(nullptr);
    std::_Exit(1);
}

} // namespace

ErrorDialog::ErrorDialog(Prompter& prompter, ErrorLog& log, const ErrorContextSource& context,
                         QWidget* parent)
    : QDialog(parent), prompter_(prompter), log_(log), context_(context),
      endSession_(EndProcessNow) {
    setObjectName(QStringLiteral("ErrorDialog"));
    setWindowTitle(QStringLiteral("An Error Occurred"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    lines_ = new ErrorLinesView(this);

    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("okButton_"));
    okButton_->setDefault(true);
    okButton_->setMinimumWidth(110);
    endSessionButton_ = new QPushButton(QStringLiteral("End This Session"), this);
    endSessionButton_->setObjectName(QStringLiteral("endSessionButton_"));
    endSessionButton_->setAutoDefault(false);
    endSessionButton_->setMinimumWidth(110);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(endSessionButton_, &QPushButton::clicked, this, &ErrorDialog::EndSession);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(16, 10, 16, 12);
    buttons->setSpacing(10);
    buttons->addStretch(1);
    buttons->addWidget(endSessionButton_);
    buttons->addWidget(okButton_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(lines_);
    layout->addWidget(rule);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QStringList ErrorDialog::Lines() const {
    return lines_->Lines();
}

void ErrorDialog::ShowError(const ErrorState& state) {
    Open(state);
    // Shown before it is centred, so that the window frame counts in its size.
    show();
    Centre();
    prompter_.Beep();
    okButton_->setFocus();
    exec();
}

ErrorContextSnapshot ErrorDialog::TakeSnapshot() const {
    try {
        return context_.Snapshot();
    } catch (...) {
        // Reporting an error must not raise another one: go on with what is known here.
        ErrorContextSnapshot known;
        known.ProgramFolder = log_.ProgramFolder().string();
        return known;
    }
}

void ErrorDialog::Open(const ErrorState& state) {
    prompter_.Beep();
    ErrorContextSnapshot context = TakeSnapshot();
    QStringList shown;
    for (const std::string& line : ErrorDialogLines(state, context))
        shown << DisplayText(line);
    lines_->SetLines(shown);
    log_.WriteErrorRecord(state, context);
    Fit();
}

QRect ErrorDialog::AvailableScreen() const {
    QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

void ErrorDialog::Fit() {
    lines_->SetMaximumTextWidth(AvailableScreen().width() * 9 / 10 - 60);
    // The layout fixes the dialog's size to what its lines need; apply it now, not when the
    // event loop gets round to it, so that the dialog is centred at its final size.
    layout()->invalidate();
    layout()->activate();
}

void ErrorDialog::Centre() {
    QRect available = AvailableScreen();
    QSize size = frameGeometry().size();
    move(available.left() + (available.width() - size.width()) / 2,
         available.top() + (available.height() - size.height()) / 2);
}

void ErrorDialog::EndSession() {
    endSession_();
    reject();
}

void ErrorDialog::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        QStringList text;
        for (const QString& line : lines_->Lines())
            text << line.trimmed();
        QApplication::clipboard()->setText(text.join(QLatin1Char('\n')).trimmed());
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace cw
