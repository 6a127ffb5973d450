#pragma once

#include <QMenu>
#include <map>

namespace cw {

// "Editing Options", the menu of a right click on the card: the layout actions and the
// commands that go with them, in their order. Items the program does not offer are not in it.
class EditingMenu : public QMenu {
    Q_OBJECT

public:
    explicit EditingMenu(QWidget* parent = nullptr);

    // The item of a menu number (EditingMenuItems), or nullptr.
    QAction* item(int index) const;

signals:
    void itemChosen(int index);

private:
    std::map<int, QAction*> items_;
};

} // namespace cw
