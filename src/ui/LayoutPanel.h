#pragma once

#include "LayoutActions.h"

#include <QFrame>
#include <QPoint>
#include <map>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace cw {

class AlignmentPicker;
class ColourPicker;
class LineWidthPicker;
class MoveArrows;
class SizeArrows;

// The floating panel of layout editing over the card picture: the action buttons, the pages
// an action needs (alignment, colour, move and size arrows, line thickness, the check box to
// drag, several lines, zoom), the font buttons and the instructions. Its layout comes in
// panel twips and keeps its size whatever the zoom. The panel is dragged by its background;
// "Edit Options" at its top opens the editing menu.
class LayoutPanel : public QFrame {
    Q_OBJECT

public:
    explicit LayoutPanel(int twipsPerPixel, QWidget* parent = nullptr);

    // Shows exactly the pages of layout, where it puts them, and sizes the panel.
    void ApplyLayout(const PanelLayout& layout);
    // The panel's size in pixels for a layout.
    QSize SizeFor(const PanelLayout& layout) const;
    void SetInstructions(const QString& text);
    // Where the check-box marker waits on the "Check Box" page of a layout (panel pixels).
    QPoint MarkerSpotFor(const PanelLayout& layout) const;
    void ShowZoomFactor(int factor);

    QPushButton* actionButton(PanelButton button) const;
    QToolButton* optionsButton() const { return optionsButton_; }
    QPushButton* fontButton() const { return fontButton_; }
    QPushButton* defaultFontButton() const { return defaultFontButton_; }
    QWidget* page(int page) const;
    AlignmentPicker* alignmentPicker() const { return alignment_; }
    ColourPicker* colourPicker() const { return colours_; }
    LineWidthPicker* lineWidthPicker() const { return lineWidths_; }
    MoveArrows* moveArrows() const { return moveArrows_; }
    SizeArrows* sizeArrows() const { return sizeArrows_; }
    QLineEdit* lineCountEdit() const { return lineCount_; }
    QLineEdit* lineSpacingEdit() const { return lineSpacing_; }
    QLabel* instructionsLabel() const { return instructions_; }

signals:
    void actionClicked(PanelButton button);
    void optionsRequested(QPoint globalPosition);
    // The panel was dragged; its new top left corner in its parent's pixels.
    void moved(QPoint topLeft);
    void zoomRequested(bool in);
    void saveZoomRequested();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QGroupBox* AddPage(int page, const QString& title, QWidget* content);
    QWidget* BuildZoomPage();
    QWidget* BuildLinesPage();
    int Pixels(int twips) const;

    double scale_ = 0.08; // pixels per panel twip
    std::map<PanelButton, QPushButton*> actionButtons_;
    std::map<int, QGroupBox*> pages_;
    QToolButton* optionsButton_ = nullptr;
    QPushButton* fontButton_ = nullptr;
    QPushButton* defaultFontButton_ = nullptr;
    QLabel* instructions_ = nullptr;
    QLabel* zoomFactor_ = nullptr;
    AlignmentPicker* alignment_ = nullptr;
    ColourPicker* colours_ = nullptr;
    LineWidthPicker* lineWidths_ = nullptr;
    MoveArrows* moveArrows_ = nullptr;
    SizeArrows* sizeArrows_ = nullptr;
    QLineEdit* lineCount_ = nullptr;
    QLineEdit* lineSpacing_ = nullptr;
    QPoint grab_;
    bool dragging_ = false;
};

} // namespace cw
