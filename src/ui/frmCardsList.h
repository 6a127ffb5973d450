#pragma once

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

// The font a format's row is drawn with, by the first six letters of its display name:
// national formats whose names are written in their own script get a font for it.
std::string RowFontName(const std::string& displayName);
// A display name decoded for the screen, in the code page of its row font.
QString DecodeDisplayName(const std::string& displayName);

class FormatRows;

// frmCardsList: the installed formats as rows of 330 twips in Picture1, one highlighted.
// A click highlights a row; "Done" or a double click on a row makes the choice.
class frmCardsList : public QDialog {
    Q_OBJECT

public:
    frmCardsList(const FormatCatalogue& catalogue, int16_t currentFormat, int twipsPerPixel,
                 QWidget* parent = nullptr);

    int16_t Selection() const { return selection_; }
    int RowCount() const { return int(names_.size()); }
    QString RowText(int row) const { return rows_[size_t(row)]; }
    QFont RowFont(int row) const;
    // Picture1's row height in pixels.
    int RowHeight() const;
    QWidget* Picture1() const;
    QScrollBar* VScroll2() const { return vScroll2_; }

    static constexpr int RowTwips = 330;
    static constexpr int VisibleRows = 15;

signals:
    // "Done": the highlighted slot.
    void formatChosen(int16_t slot);

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
    FormatRows* picture1_ = nullptr;
    QWidget* frameView_ = nullptr;
    QScrollBar* vScroll2_ = nullptr;
    QLabel* label1_ = nullptr;
    QPushButton* command1_ = nullptr;
};

} // namespace cw
