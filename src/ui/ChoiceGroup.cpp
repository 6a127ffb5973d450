#include "ChoiceGroup.h"

#include <QAbstractButton>
#include <QButtonGroup>

namespace cw {

ChoiceGroup::ChoiceGroup(QWidget* parent) : QWidget(parent), group_(new QButtonGroup(this)) {
    group_->setExclusive(true);
    connect(group_, &QButtonGroup::idClicked, this, &ChoiceGroup::chosen);
}

void ChoiceGroup::AddChoice(QAbstractButton* button, int id) {
    button->setCheckable(true);
    button->setFocusPolicy(Qt::NoFocus);
    group_->addButton(button, id);
}

void ChoiceGroup::Select(int id) {
    if (QAbstractButton* chosenButton = group_->button(id))
        chosenButton->setChecked(true);
}

int ChoiceGroup::Selected() const {
    return group_->checkedId();
}

QAbstractButton* ChoiceGroup::button(int id) const {
    return group_->button(id);
}

} // namespace cw
