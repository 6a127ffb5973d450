#include "ComparisonPanel.h"

#include "TextCodec.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace cw {

ComparisonPanel::ComparisonPanel(QWidget* parent) : QDockWidget("Compare with Card", parent) {
    setObjectName("ComparisonPanel");
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(6, 4, 6, 6);
    summary_ = new QLabel(body);
    summary_->setObjectName("summaryLabel");
    summary_->setWordWrap(true);
    differenceList_ = new QTreeWidget(body);
    differenceList_->setObjectName("differenceList");
    differenceList_->setHeaderLabels({"Field", "My card", "Partner's card"});
    differenceList_->setAlternatingRowColors(true);
    differenceList_->header()->setStretchLastSection(true);
    detail_ = new QLabel(body);
    detail_->setObjectName("detailLabel");
    detail_->setWordWrap(true);
    detail_->setTextFormat(Qt::PlainText);
    detail_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    takeValue_ = new QPushButton("Take Partner's Value", body);
    takeValue_->setObjectName("takeValueButton");
    takeValue_->setEnabled(false);
    end_ = new QPushButton("End Comparison", body);
    end_->setObjectName("endButton");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(takeValue_);
    buttons->addStretch(1);
    buttons->addWidget(end_);
    layout->addWidget(summary_);
    layout->addWidget(differenceList_, 1);
    layout->addWidget(detail_);
    layout->addLayout(buttons);
    setWidget(body);
    body->setMinimumWidth(400);

    connect(differenceList_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        const QVariant index = item ? item->data(0, Qt::UserRole) : QVariant();
        takeValue_->setEnabled(index.isValid() && item->data(1, Qt::UserRole).toBool());
        if (!filling_ && index.isValid())
            emit differenceChosen(index.toInt());
    });
    connect(takeValue_, &QPushButton::clicked, this, [this] { emit takeValueClicked(); });
    connect(end_, &QPushButton::clicked, this, [this] { emit endClicked(); });
}

void ComparisonPanel::closeEvent(QCloseEvent* event) {
    QDockWidget::closeEvent(event);
    emit endClicked();
}

void ComparisonPanel::ShowDetail(QTreeWidgetItem* item) {
    if (!item || !item->data(0, Qt::UserRole).isValid()) {
        detail_->clear();
        return;
    }
    detail_->setText(item->text(0) + "\nMy card: " + item->text(1) +
                     "\nPartner's card: " + item->text(2));
}

QTreeWidgetItem* ComparisonPanel::ItemOf(int index) const {
    for (int top = 0; top < differenceList_->topLevelItemCount(); ++top) {
        QTreeWidgetItem* page = differenceList_->topLevelItem(top);
        for (int i = 0; i < page->childCount(); ++i)
            if (page->child(i)->data(0, Qt::UserRole).toInt() == index)
                return page->child(i);
    }
    return nullptr;
}

void ComparisonPanel::ShowDifferences(const QString& partnerName,
                                      const std::vector<FieldDifference>& differences,
                                      const TextCodec& codec, int chosen) {
    filling_ = true;
    differenceList_->clear();
    QTreeWidgetItem* pages[2] = {nullptr, nullptr};
    int counts[2] = {0, 0};
    for (size_t i = 0; i < differences.size(); ++i) {
        const FieldDifference& d = differences[i];
        QTreeWidgetItem*& page = pages[d.backPage ? 1 : 0];
        if (!page) {
            page = new QTreeWidgetItem(differenceList_);
            page->setFirstColumnSpanned(true);
            page->setFlags(Qt::ItemIsEnabled);
            page->setExpanded(true);
        }
        ++counts[d.backPage ? 1 : 0];
        auto* item = new QTreeWidgetItem(
            page, {QString::fromStdString(CardComparison::FieldName(d)),
                   codec.Decode(CardComparison::ShownValue(d.kind, d.myValue)),
                   codec.Decode(CardComparison::ShownValue(d.kind, d.theirValue))});
        item->setData(0, Qt::UserRole, int(i));
        item->setData(1, Qt::UserRole, d.mine >= 0 && d.theirs >= 0);
        item->setToolTip(1, item->text(1));
        item->setToolTip(2, item->text(2));
    }
    for (int side = 0; side < 2; ++side)
        if (pages[side]) {
            pages[side]->setText(0, QString("%1 page: %2 %3")
                                        .arg(side ? "Back" : "Front")
                                        .arg(counts[side])
                                        .arg(counts[side] == 1 ? "difference" : "differences"));
            pages[side]->setExpanded(true);
        }
    differenceList_->resizeColumnToContents(0);
    summary_->setText(differences.empty()
                          ? QString("Your card and %1 agree in every field.").arg(partnerName)
                          : QString("Compared with %1: %2 %3.")
                                .arg(partnerName)
                                .arg(differences.size())
                                .arg(differences.size() == 1 ? "field differs" : "fields differ"));
    QTreeWidgetItem* item = chosen >= 0 ? ItemOf(chosen) : nullptr;
    differenceList_->setCurrentItem(item);
    takeValue_->setEnabled(item && item->data(1, Qt::UserRole).toBool());
    ShowDetail(item);
    filling_ = false;
}

} // namespace cw
