#pragma once

#include "CardComparison.h"

#include <QDockWidget>
#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace cw {

class TextCodec;

// The fields in which the open card differs from the partner's, page by page, with both
// values; choosing one shows it on the card, "Take Partner's Value" copies the partner's
// value of the chosen field, "End Comparison" closes the comparison.
class ComparisonPanel : public QDockWidget {
    Q_OBJECT

public:
    explicit ComparisonPanel(QWidget* parent = nullptr);

    // chosen: index of the difference to show as chosen, -1 for none.
    void ShowDifferences(const QString& partnerName,
                         const std::vector<FieldDifference>& differences, const TextCodec& codec,
                         int chosen);

    QTreeWidget* differenceList() const { return differenceList_; }
    QLabel* summaryLabel() const { return summary_; }
    // Both values of the chosen field in full.
    QLabel* detailLabel() const { return detail_; }
    QPushButton* takeValueButton() const { return takeValue_; }
    QPushButton* endButton() const { return end_; }

signals:
    void differenceChosen(int index);
    void takeValueClicked();
    void endClicked();

protected:
    // Closing the panel ends the comparison.
    void closeEvent(QCloseEvent* event) override;

private:
    QTreeWidgetItem* ItemOf(int index) const;
    void ShowDetail(QTreeWidgetItem* item);

    QTreeWidget* differenceList_ = nullptr;
    QLabel* summary_ = nullptr;
    QLabel* detail_ = nullptr;
    QPushButton* takeValue_ = nullptr;
    QPushButton* end_ = nullptr;
    bool filling_ = false;
};

} // namespace cw
