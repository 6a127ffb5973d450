#include "CardCheckPanel.h"

#include "TextCodec.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace cw {

CardCheckPanel::CardCheckPanel(QWidget* parent) : QDockWidget("Check Card", parent) {
    setObjectName("CardCheckPanel");
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(6, 4, 6, 6);
    summary_ = new QLabel(body);
    summary_->setObjectName("summaryLabel");
    summary_->setWordWrap(true);
    fieldList_ = new QTreeWidget(body);
    fieldList_->setObjectName("fieldList");
    fieldList_->setRootIsDecorated(false);
    fieldList_->setAlternatingRowColors(true);
    fieldList_->setHeaderLabels({"Page", "Field", "Problem", "Text"});
    fieldList_->header()->setStretchLastSection(true);
    layout->addWidget(summary_);
    layout->addWidget(fieldList_, 1);
    setWidget(body);
    auto choose = [this](QTreeWidgetItem* item) {
        if (item)
            emit fieldChosen(item->data(0, Qt::UserRole).toBool(),
                             item->data(1, Qt::UserRole).toInt());
    };
    connect(fieldList_, &QTreeWidget::itemActivated, this,
            [choose](QTreeWidgetItem* item, int) { choose(item); });
}

void CardCheckPanel::ShowOverflows(const std::vector<FieldOverflow>& found,
                                   const TextCodec& codec) {
    // The row chosen stays chosen while it is still listed.
    QTreeWidgetItem* current = fieldList_->currentItem();
    const QVariant back = current ? current->data(0, Qt::UserRole) : QVariant();
    const QVariant field = current ? current->data(1, Qt::UserRole) : QVariant();
    fieldList_->clear();
    for (const FieldOverflow& overflow : found) {
        QString text = codec.Decode(overflow.text);
        text.replace(QStringLiteral("\r\n"), QStringLiteral(" / "));
        auto* item = new QTreeWidgetItem(
            fieldList_, {overflow.backPage ? "Back" : "Front", QString::number(overflow.field + 1),
                         QString::fromStdString(DescribeOverflow(overflow)), text});
        item->setData(0, Qt::UserRole, overflow.backPage);
        item->setData(1, Qt::UserRole, overflow.field);
        item->setToolTip(3, codec.Decode(overflow.text));
        if (back.isValid() && back.toBool() == overflow.backPage && field.toInt() == overflow.field)
            fieldList_->setCurrentItem(item);
    }
    for (int column = 0; column < 3; ++column)
        fieldList_->resizeColumnToContents(column);
    const auto cut = std::count_if(found.begin(), found.end(), IsCutOff);
    const auto shrunk = qsizetype(found.size()) - cut;
    QString summary = found.empty() ? QString("Every text fits in its field.")
                      : cut == 0    ? QString("No text is cut off.")
                      : cut == 1    ? QString("One field has text that is cut off.")
                                    : QString("%1 fields have text that is cut off.").arg(cut);
    if (shrunk == 1)
        summary += "  One is drawn smaller to fit its field.";
    else if (shrunk > 1)
        summary += QString("  %1 are drawn smaller to fit their fields.").arg(shrunk);
    if (!found.empty())
        summary += "  Double-click a field to edit it.";
    summary_->setText(summary);
}

} // namespace cw
