#pragma once

#include "FormatDisplayName.h"

#include <QDialog>
#include <QFont>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QScrollBar;

namespace cw {

class FormatCatalogue;

class FormatRows;

// FormatChooser: the installed formats as rows of 330 twips in the rows picture, one highlighted.
// A click highlights a row; "Done" or a double click on a row makes the choice.
class FormatChooser : public QDialog {
    Q_OBJECT

public:
    FormatChooser(const FormatCatalogue& catalogue, int16_t currentFormat, int twipsPerPixel,
                  QWidget* parent = nullptr);

    int16_t Selection() const { return selection_; }
    int RowCount() const { return int(names_.size()); }
    QString RowText(int row) const { return rows_[size_t(row)]; }
    QFont RowFont(int row) const;
    // The rows picture's row height in pixels.
    int RowHeight() const;
    QWidget* rowsPicture() const;
    QScrollBar* scrollBar() const { return scrollBar_; }

    static constexpr int RowTwips = 330;
    static constexpr int VisibleRows = 15;

signals:
    // "Done": the highlighted slot.
    void formatChosen(int16_t slot);
    // "New Format from a Blank Card...".
    void newFormatRequested();
    // "Export Format...": the highlighted slot, to be written as one file.
    void exportFormatRequested(int16_t slot);
    // "Import Format...".
    void importFormatRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class FormatRows;
    void Select(int row);
    void MoveSelection(int step);
    void PictureClicked(int y);
    void PictureDoubleClicked();
    void Done();

    std::vector<std::string> names_;
    std::vector<QString> rows_;
    int16_t selection_ = 0;
    int twipsPerPixel_ = 15;
    int rememberedY_ = 0;
    int shownRows_ = VisibleRows;
    FormatRows* rowsPicture_ = nullptr;
    QWidget* frameView_ = nullptr;
    QScrollBar* scrollBar_ = nullptr;
    QLabel* selectedFormatLabel_ = nullptr;
    QPushButton* doneButton_ = nullptr;
};

} // namespace cw
