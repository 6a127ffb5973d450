#include "EditingMenu.h"

#include "LayoutActions.h"

namespace cw {

EditingMenu::EditingMenu(QWidget* parent) : QMenu(QStringLiteral("Editing Options"), parent) {
    setObjectName("EditingMenu");
    for (const EditingMenuItem& entry : EditingMenuItems()) {
        if (!entry.offered)
            continue;
        if (entry.IsSeparator()) {
            addSeparator();
            continue;
        }
        QAction* action = addAction(QString::fromStdString(entry.caption));
        action->setObjectName(QStringLiteral("editingMenuItem%1").arg(entry.index));
        const int index = entry.index;
        connect(action, &QAction::triggered, this, [this, index] { emit itemChosen(index); });
        items_[entry.index] = action;
    }
}

QAction* EditingMenu::item(int index) const {
    auto found = items_.find(index);
    return found == items_.end() ? nullptr : found->second;
}

} // namespace cw
