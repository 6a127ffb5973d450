#pragma once

#include <QFont>
#include <QStringList>
#include <QWidget>

namespace cw {

// The error dialog's text: lines printed one line step apart in a fixed-pitch font. Its
// height grows by one step per line shown; a line wider than the widest allowed goes on in the
// next, broken after a blank or a slash and indented as it began, so that a long path or
// description is shown whole.
class ErrorLinesView : public QWidget {
    Q_OBJECT

public:
    explicit ErrorLinesView(QWidget* parent = nullptr);

    void SetLines(const QStringList& lines);
    // The lines as given, and as shown (long ones broken).
    const QStringList& Lines() const { return lines_; }
    const QStringList& ShownLines() const { return shown_; }

    // The distance between two lines: the height of "H" in the font, with a little air.
    int LineStep() const;
    void SetMaximumTextWidth(int pixels);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // "Courier New" where the system has it or a face standing in for it, else the system's
    // fixed-pitch font.
    static QFont FixedPitchFont();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int TextWidth() const;
    QStringList Broken(const QString& line, int width) const;

    QStringList lines_;
    QStringList shown_;
    int maximumTextWidth_ = 1200;
};

} // namespace cw
