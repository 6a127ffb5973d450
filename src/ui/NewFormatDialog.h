#pragma once

#include "FileOps.h"

#include <QDialog>
#include <string>

class QComboBox;
class QLineEdit;
class QLabel;

namespace cw {

// "New Format from a Blank Card": asks for the blank card (a PDF, or a front and a back
// picture), the format's name, code and card-file extension, and makes the format. Stays open
// with the reason when it cannot be made.
class NewFormatDialog : public QDialog {
    Q_OBJECT
public:
    NewFormatDialog(fs::path root, QWidget* parent = nullptr);

    // The code of the format made, once the dialog was accepted.
    const std::string& MadeCode() const { return madeCode_; }

    QLineEdit* sourceEdit() const { return source_; }
    QLineEdit* nameEdit() const { return name_; }
    // The known codes with the cards they stand for; a new code may be typed.
    QComboBox* codeBox() const { return code_; }
    QLineEdit* extensionEdit() const { return extension_; }
    QLineEdit* pagesEdit() const { return pages_; }
    QLabel* problemLabel() const { return problem_; }
    // "Make Format".
    void Make();

private:
    void Browse();
    // The code chosen or typed: the first word of the box.
    std::string ChosenCode() const;

    fs::path root_;
    std::string madeCode_;
    QLineEdit* source_ = nullptr;
    QLineEdit* name_ = nullptr;
    QComboBox* code_ = nullptr;
    QLineEdit* extension_ = nullptr;
    QLineEdit* pages_ = nullptr;
    QLabel* problem_ = nullptr;
};

} // namespace cw
