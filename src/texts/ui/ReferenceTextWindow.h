#pragma once

#include "ReferenceText.h"
#include "TextPageCanvas.h"

#include <QWidget>
#include <array>
#include <optional>

class QLabel;
class QLineEdit;
class QPagedPaintDevice;
class QPushButton;
class QScrollArea;
class QScrollBar;

namespace cw {

class AppContext;

// The reference texts: special notices, the format's special notice, bridge abbreviations,
// conventions and tips, read a page of 31 lines at a time, searched and printed. The window
// also offers the conversion of old WBF cards.
class ReferenceTextWindow : public QWidget {
    Q_OBJECT

public:
    // The buttons, by their place in the window's row.
    enum Button { DoneButton, PrintButton, ConvertButton };

    explicit ReferenceTextWindow(AppContext& context, QWidget* parent = nullptr);
    ~ReferenceTextWindow() override;

    // Shows file (a reference text of the data folder, any letter case) from its first line.
    // False when it cannot be read (the error is reported).
    bool ShowText(const fs::path& file);

    // The page that starts at line first.
    void ShowPage(int first);
    // The next (or previous) line holding the find box's text; false when there is none.
    bool FindNext(bool forward = true);
    // "Print" on a device chosen already (a printer, a PDF file).
    bool PrintText(QPagedPaintDevice& device);
    // What "Print" puts on paper: an empty line, then the shown lines, in bold Courier.
    void WritePrintout(TextLineWriter& writer);

    const ReferenceText& Text() const { return text_; }
    int FirstLine() const { return first_; }
    // The line found last, if any.
    std::optional<int> FoundLine() const { return found_; }

    QLabel* textPage() const { return textPage_; }
    QScrollBar* scrollBar() const { return scrollBar_; }
    QLineEdit* findBox() const { return findBox_; }
    QLabel* findStatus() const { return findStatus_; }
    QPushButton* textButton(Button which) const { return buttons_[size_t(which)]; }
    const QImage& PagePicture() const { return canvas_.Picture(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildWindow();
    void DrawPage();
    void PrintClicked();
    TextLineStyle PageStyle() const;

    AppContext& context_;
    TextPageCanvas canvas_;
    ReferenceText text_;
    int first_ = 0;
    std::optional<int> found_;
    bool updating_ = false;

    QScrollArea* pageArea_ = nullptr;
    QLabel* textPage_ = nullptr;
    QScrollBar* scrollBar_ = nullptr;
    QLineEdit* findBox_ = nullptr;
    QLabel* findStatus_ = nullptr;
    QPushButton* findNextButton_ = nullptr;
    QPushButton* findPreviousButton_ = nullptr;
    std::array<QPushButton*, 3> buttons_{};
};

} // namespace cw
