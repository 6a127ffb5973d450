#pragma once

#include <QWidget>

namespace cw {

// A widget whose background is one of the program's gradients (PaintGradient): scheme 0
// behind the main window, 2 behind the format chooser.
class GradientBackground : public QWidget {
    Q_OBJECT

public:
    explicit GradientBackground(int scheme, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int scheme_;
};

} // namespace cw
