#pragma once

#include "OverflowCheck.h"

#include <QDockWidget>
#include <vector>

class QLabel;
class QTreeWidget;

namespace cw {

class TextCodec;

// "Check Card": the text fields of both pages whose text is cut off, with the field's text.
// A double click (or Enter) on one asks for that field's editor.
class CardCheckPanel : public QDockWidget {
    Q_OBJECT

public:
    explicit CardCheckPanel(QWidget* parent = nullptr);

    void ShowOverflows(const std::vector<FieldOverflow>& found, const TextCodec& codec);

    QTreeWidget* fieldList() const { return fieldList_; }
    QLabel* summaryLabel() const { return summary_; }

signals:
    void fieldChosen(bool backPage, int field);

private:
    QTreeWidget* fieldList_ = nullptr;
    QLabel* summary_ = nullptr;
};

} // namespace cw
