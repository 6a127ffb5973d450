#include "CardComparisonCommands.h"

#include "AppContext.h"
#include "CardFace.h"
#include "CardPageReader.h"
#include "CardRenderer.h"
#include "CardToolLocations.h"
#include "CardTools.h"
#include "CompareCardPicker.h"
#include "ComparisonPanel.h"
#include "ErrorTrap.h"
#include "FillInController.h"
#include "MainWindow.h"
#include "UndoablePageChanger.h"

#include <algorithm>

namespace cw {

namespace {

QRect Place(int32_t left, int32_t top, int32_t width, int32_t height) {
    return QRect(left, top, std::max(width, 1), std::max(height, 1));
}

} // namespace

bool SameField(const FieldDifference& a, const FieldDifference& b) {
    return a.backPage == b.backPage && a.kind == b.kind && a.mine == b.mine && a.theirs == b.theirs;
}

CardComparisonCommands::CardComparisonCommands(MainWindow& window, AppContext& context,
                                               UndoablePageChanger& changer, CardTools& marks)
    : QObject(&window), window_(window), context_(context), changer_(changer), marks_(marks) {}

CardComparisonCommands::~CardComparisonCommands() = default;

ComparisonPanel* CardComparisonCommands::comparisonPanel() const {
    return comparisonPanel_;
}

const TextCodec& CardComparisonCommands::Codec() const {
    return window_.Renderer().Text().Codec();
}

void CardComparisonCommands::EndIfCardChanged(bool cardOpen) {
    if (partner_ && (!cardOpen || context_.ArchiveCard() != comparedCard_))
        EndComparison();
}

void CardComparisonCommands::Refresh() {
    if (!partner_)
        return;
    Recompare();
    ShowComparison();
}

void CardComparisonCommands::ChooseCardToCompare() {
    if (!window_.Session().Changed().CardOpen())
        return;
    window_.FillIn().CommitOpenEditor();
    CardLibrary& library = window_.Session().Library();
    std::vector<std::string> cards;
    for (const std::string& entry : library.Entries())
        if (!EqualsIgnoreCase(library.CardNameOf(entry), context_.ArchiveCard()))
            cards.push_back(entry);
    CompareCardPicker picker(cards, context_.Card.Location().CardDir,
                             QString::fromStdString(context_.Card.Location().CardExt), &window_);
    if (picker.exec() == QDialog::Accepted && picker.Chosen())
        CompareWith(*picker.Chosen());
}

bool CardComparisonCommands::CompareWith(const fs::path& file) {
    if (!window_.Session().Changed().CardOpen())
        return false;
    std::optional<PartnerCard> card;
    std::string problem;
    bool read = context_.errorTrap.Guard(
        loc::CompareWithCard, [&] { card = PartnerCard::Read(context_, file, problem); },
        [&] { return std::vector<ErrValue>{file.string()}; });
    if (!read)
        return false;
    if (!card) {
        context_.prompter.Message(problem, "Compare with Card", Buttons::Ok, Icon::Warning);
        return false;
    }
    window_.FillIn().CommitOpenEditor();
    partner_ = std::move(*card);
    comparedCard_ = context_.ArchiveCard();
    chosen_.reset();
    if (!comparisonPanel_) {
        comparisonPanel_ = new ComparisonPanel(&window_);
        window_.addDockWidget(Qt::RightDockWidgetArea, comparisonPanel_);
        connect(comparisonPanel_, &ComparisonPanel::differenceChosen, this,
                &CardComparisonCommands::ChooseDifference);
        connect(comparisonPanel_, &ComparisonPanel::takeValueClicked, this,
                [this] { TakePartnersValue(); });
        connect(comparisonPanel_, &ComparisonPanel::endClicked, this,
                &CardComparisonCommands::EndComparison);
    }
    comparisonPanel_->show();
    comparisonPanel_->raise();
    if (!window_.CardFaceShown())
        window_.ShowCardFace();
    marks_.RefreshMarks();
    return true;
}

void CardComparisonCommands::EndComparison() {
    partner_.reset();
    differences_.clear();
    chosen_.reset();
    comparedCard_.clear();
    if (comparisonPanel_)
        comparisonPanel_->hide();
    marks_.ScheduleRefresh();
}

void CardComparisonCommands::Recompare() {
    differences_.clear();
    const int names = NameFieldCount(context_);
    const bool twoPages = context_.Format.HasBackPage();
    for (bool back : {false, true}) {
        const CardPage* theirs = partner_->pages.Page(back);
        if (!theirs || (back && !twoPages))
            continue;
        std::optional<CardPage> saved;
        const CardPage* mine = &context_.Card.Page();
        if (back != context_.Card.BackSide()) {
            // The page not on show, as saved.
            CardLocation other = context_.Card.Location();
            other.CurrentCardName = context_.ArchiveCard() + (back ? "_" : "");
            saved = ReadCardPage(
                other, back, back ? context_.Format.BackTemplateForMissingPage() : std::nullopt);
            if (!saved)
                continue;
            mine = &*saved;
        }
        auto page = CardComparison::ComparePages(*mine, *theirs, back, names);
        differences_.insert(differences_.end(), page.begin(), page.end());
    }
    if (chosen_ && std::none_of(differences_.begin(), differences_.end(),
                                [&](const FieldDifference& d) { return SameField(d, *chosen_); }))
        chosen_.reset();
}

void CardComparisonCommands::ShowComparison() {
    if (!comparisonPanel_ || !partner_)
        return;
    int chosen = -1;
    for (size_t i = 0; chosen_ && i < differences_.size(); ++i)
        if (SameField(differences_[i], *chosen_))
            chosen = int(i);
    comparisonPanel_->ShowDifferences(Codec().Decode(partner_->name).toUpper(), differences_,
                                      Codec(), chosen);
}

void CardComparisonCommands::ChooseDifference(int index) {
    if (index < 0 || index >= int(differences_.size()))
        return;
    context_.errorTrap.Guard(loc::ShowDifference, [&] {
        const FieldDifference wanted = differences_[size_t(index)];
        chosen_ = wanted;
        if (!marks_.TurnTo(wanted.backPage)) {
            chosen_.reset();
            marks_.RefreshMarks();
            return;
        }
        marks_.RefreshMarks();
        if (chosen_)
            window_.cardFace()->ScrollToShow(
                Place(chosen_->left, chosen_->top, chosen_->width, chosen_->height));
    });
}

bool CardComparisonCommands::TakePartnersValue() {
    if (!partner_ || !chosen_ || chosen_->backPage != context_.Card.BackSide())
        return false;
    bool taken = false;
    context_.errorTrap.Guard(loc::TakePartnersValue, [&] {
        window_.FillIn().CommitOpenEditor();
        const CardPage* theirs = partner_->pages.Page(chosen_->backPage);
        CardPage after = context_.Card.Page();
        if (!theirs || !CardComparison::TakeValue(after, *theirs, *chosen_))
            return;
        // The next field in the list is chosen next, when it is on this page.
        size_t at = 0;
        while (at < differences_.size() && !SameField(differences_[at], *chosen_))
            ++at;
        std::optional<FieldDifference> next;
        if (at + 1 < differences_.size() &&
            differences_[at + 1].backPage == context_.Card.BackSide())
            next = differences_[at + 1];
        chosen_ = next;
        changer_.ReplacePage(std::move(after), "Take Partner's Value");
        taken = true;
        marks_.RefreshMarks();
    });
    return taken;
}

} // namespace cw
