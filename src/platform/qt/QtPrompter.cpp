#include "QtPrompter.h"

#include <QApplication>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace cw {

namespace {

QMessageBox::Icon ToQtIcon(Icon icon) {
    switch (icon) {
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::Warning:
        return QMessageBox::Warning;
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

Answer QtPrompter::Message(const std::string& text, const std::string& title, Buttons buttons,
                           Icon icon, DefaultButton defaultButton) {
    QMessageBox box(ToQtIcon(icon), QString::fromStdString(title), QString::fromStdString(text),
                    QMessageBox::NoButton, parent_);
    QList<QMessageBox::StandardButton> order;
    switch (buttons) {
    case Buttons::Ok:
        order = {QMessageBox::Ok};
        break;
    case Buttons::OkCancel:
        order = {QMessageBox::Ok, QMessageBox::Cancel};
        break;
    case Buttons::YesNo:
        order = {QMessageBox::Yes, QMessageBox::No};
        break;
    case Buttons::YesNoCancel:
        order = {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
        break;
    }
    for (auto button : order)
        box.addButton(button);
    int index = static_cast<int>(defaultButton);
    if (index < order.size())
        box.setDefaultButton(order[index]);
    // The normal pointer over a question, whatever work is going on behind it.
    bool wasBusy = busyDepth_ > 0;
    if (wasBusy)
        QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    int result = box.exec();
    if (wasBusy)
        QGuiApplication::restoreOverrideCursor();
    switch (result) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    case QMessageBox::Ok:
        return Answer::Ok;
    default:
        // Closing the box with Escape or its close button.
        return buttons == Buttons::Ok      ? Answer::Ok
               : buttons == Buttons::YesNo ? Answer::No
                                           : Answer::Cancel;
    }
}

std::optional<std::string> QtPrompter::Input(const std::string& prompt, const std::string& title,
                                             const std::string& initial) {
    bool ok = false;
    QString text = QInputDialog::getText(parent_, QString::fromStdString(title),
                                         QString::fromStdString(prompt), QLineEdit::Normal,
                                         QString::fromStdString(initial), &ok);
    if (!ok)
        return std::nullopt;
    return text.toStdString();
}

std::optional<std::string> QtPrompter::Password(const std::string& prompt,
                                                const std::string& title) {
    bool ok = false;
    QString text =
        QInputDialog::getText(parent_, QString::fromStdString(title),
                              QString::fromStdString(prompt), QLineEdit::Password, QString(), &ok);
    if (!ok)
        return std::nullopt;
    return text.toStdString();
}

std::optional<size_t> QtPrompter::Choose(const std::string& text, const std::string& title,
                                         const std::vector<std::string>& choices) {
    QMessageBox box(QMessageBox::Question, QString::fromStdString(title),
                    QString::fromStdString(text), QMessageBox::NoButton, parent_);
    std::vector<QAbstractButton*> buttons;
    for (const std::string& choice : choices)
        buttons.push_back(box.addButton(QString::fromStdString(choice), QMessageBox::AcceptRole));
    QAbstractButton* cancel = box.addButton(QMessageBox::Cancel);
    box.setEscapeButton(cancel);
    if (!buttons.empty())
        box.setDefaultButton(static_cast<QPushButton*>(buttons.front()));
    bool wasBusy = busyDepth_ > 0;
    if (wasBusy)
        QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    if (wasBusy)
        QGuiApplication::restoreOverrideCursor();
    for (size_t i = 0; i < buttons.size(); ++i)
        if (box.clickedButton() == buttons[i])
            return i;
    return std::nullopt;
}

void QtPrompter::Beep() {
    QApplication::beep();
}

void QtPrompter::SetBusy(bool busy) {
    if (busy) {
        if (busyDepth_++ == 0)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (busyDepth_ > 0 && --busyDepth_ == 0) {
        QGuiApplication::restoreOverrideCursor();
    }
}

void QtPrompter::ResetBusy() {
    if (busyDepth_ > 0)
        QGuiApplication::restoreOverrideCursor();
    busyDepth_ = 0;
}

} // namespace cw
