#pragma once

#include <QWidget>

class QAbstractButton;
class QButtonGroup;

namespace cw {

// A row of option buttons of which one is chosen. A click reports the chosen number; the
// program selects one without a report (the user's choice is all that is heard).
class ChoiceGroup : public QWidget {
    Q_OBJECT

public:
    void Select(int id);
    int Selected() const;
    QAbstractButton* button(int id) const;

signals:
    void chosen(int id);

protected:
    explicit ChoiceGroup(QWidget* parent);
    void AddChoice(QAbstractButton* button, int id);

private:
    QButtonGroup* group_ = nullptr;
};

} // namespace cw
