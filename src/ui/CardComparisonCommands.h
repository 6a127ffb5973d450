#pragma once

#include "CardComparison.h"
#include "FileOps.h"
#include "PartnerCard.h"

#include <QObject>
#include <QPointer>
#include <optional>
#include <string>
#include <vector>

namespace cw {

class AppContext;
class CardTools;
class ComparisonPanel;
class MainWindow;
class TextCodec;
class UndoablePageChanger;

// Whether two differences are of the same field.
bool SameField(const FieldDifference& a, const FieldDifference& b);

// "Compare with Card...": the open card beside a partner's card of the same format, the
// differences listed in a panel and outlined on the card, and the partner's value taken over
// as one step of the undo history.
class CardComparisonCommands : public QObject {
    Q_OBJECT

public:
    // marks: what draws the outlines over the card and turns the card over.
    CardComparisonCommands(MainWindow& window, AppContext& context, UndoablePageChanger& changer,
                           CardTools& marks);
    ~CardComparisonCommands() override;

    // Asks for the card, then compares.
    void ChooseCardToCompare();
    // Compares the open card with the card whose page file is file; a card of another format
    // is refused with a message.
    bool CompareWith(const fs::path& file);
    void EndComparison();
    bool Comparing() const { return partner_.has_value(); }
    const std::vector<FieldDifference>& Differences() const { return differences_; }
    const std::optional<FieldDifference>& Chosen() const { return chosen_; }
    // Shows a difference on the card (turning the card over when needed) and chooses it.
    void ChooseDifference(int index);
    // Copies the partner's value of the chosen difference onto the card, as one step.
    bool TakePartnersValue();
    ComparisonPanel* comparisonPanel() const;

    // For the marks: a comparison ends when its card is closed or another is opened.
    void EndIfCardChanged(bool cardOpen);
    // For the marks: the differences found again for the card as it is now, and listed.
    void Refresh();

private:
    void Recompare();
    void ShowComparison();
    const TextCodec& Codec() const;

    MainWindow& window_;
    AppContext& context_;
    UndoablePageChanger& changer_;
    CardTools& marks_;
    std::optional<PartnerCard> partner_;
    std::vector<FieldDifference> differences_;
    std::optional<FieldDifference> chosen_;
    QPointer<ComparisonPanel> comparisonPanel_;
    // The card the comparison was started for.
    std::string comparedCard_;
};

} // namespace cw
