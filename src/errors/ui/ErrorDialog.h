#pragma once

#include "ErrorContext.h"
#include "ErrorTrap.h"

#include <QDialog>
#include <QStringList>
#include <functional>

class QPushButton;

namespace cw {

class ErrorLinesView;
class ErrorLog;
class Prompter;

// The modal error dialog "An Error Occurred". Opening it shows where the error happened,
// appends the error record to the log and waits: "OK" returns to the failing procedure,
// "End This Session" ends the program at once without saving anything.
class ErrorDialog : public QDialog, public ErrorPresenter {
    Q_OBJECT

public:
    ErrorDialog(Prompter& prompter, ErrorLog& log, const ErrorContextSource& context,
                QWidget* parent = nullptr);

    void ShowError(const ErrorState& state) override;

    // What "End This Session" runs. The default ends the process at once; should the
    // function return, the dialog closes as with "OK".
    void SetEndSession(std::function<void()> endSession) { endSession_ = std::move(endSession); }

    // The lines on show, as printed.
    QStringList Lines() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Open(const ErrorState& state);
    ErrorContextSnapshot TakeSnapshot() const;
    void Fit();
    void Centre();
    QRect AvailableScreen() const;
    void EndSession();

    Prompter& prompter_;
    ErrorLog& log_;
    const ErrorContextSource& context_;
    std::function<void()> endSession_;

    ErrorLinesView* lines_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* endSessionButton_ = nullptr;
};

} // namespace cw
