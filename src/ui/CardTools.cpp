#include "CardTools.h"

#include "AppContext.h"
#include "CardCanvas.h"
#include "CardCheckPanel.h"
#include "CardFace.h"
#include "CardFile.h"
#include "CardHistoryCommands.h"
#include "CardPageReader.h"
#include "CardPicture.h"
#include "CardRenderer.h"
#include "CardToolLocations.h"
#include "CompareCardPicker.h"
#include "ComparisonPanel.h"
#include "ErrorTrap.h"
#include "FieldRecords.h"
#include "FillInController.h"
#include "MainWindow.h"
#include "OpenCardCheck.h"
#include "PrintedArea.h"

#include <QAction>
#include <QMenu>
#include <QTreeWidget>

namespace cw {

namespace {

QRect Place(int32_t left, int32_t top, int32_t width, int32_t height) {
    return QRect(left, top, std::max(width, 1), std::max(height, 1));
}

bool SameField(const FieldDifference& a, const FieldDifference& b) {
    return a.backPage == b.backPage && a.kind == b.kind && a.mine == b.mine && a.theirs == b.theirs;
}

} // namespace

CardTools::CardTools(MainWindow& window, AppContext& context)
    : QObject(&window), window_(window), context_(context),
      check_(context.errorTrap,
             [&context](bool backSide) { return PrintedPageOf(context, backSide); }),
      changer_(window.EditHistory(), [this] { window_.FillIn().Reset(); }),
      history_(new CardHistoryCommands(window, context, changer_)) {
    window_.Session().Changed().AddView(this);
    // A card reloaded from disk before a save is an undoable step like these.
    window_.Session().Changed().SetPageChanger(&changer_);
    window_.cardPicture()->SetOverlay(&overlay_.Picture());
    connect(window_.cardPicture(), &CardPicture::redrawn, this, &CardTools::RefreshMarks);
}

CardTools::~CardTools() {
    window_.Session().Changed().SetPageChanger(nullptr);
}

CardCheckPanel* CardTools::checkPanel() const {
    return checkPanel_;
}
ComparisonPanel* CardTools::comparisonPanel() const {
    return comparisonPanel_;
}

void CardTools::AddCommands(QMenu* file, QAction* before, QMenu* view) {
    auto add = [this](QMenu* menu, QAction* at, const char* name, const QString& caption,
                      QKeySequence key, auto slot, bool needsCard) {
        auto* action = new QAction(caption, menu);
        action->setObjectName(name);
        action->setShortcut(key);
        menu->insertAction(at, action);
        connect(action, &QAction::triggered, this, slot);
        if (needsCard) {
            action->setEnabled(window_.Session().Changed().CardOpen());
            cardActions_.push_back(action);
        }
        return action;
    };
    add(
        file, before, "compareWithCardAction", "Compare with Card...", {},
        [this] { ChooseCardToCompare(); }, true);
    add(
        file, before, "cardHistoryAction", "Card History...", {},
        [this] { history_->OpenHistory(); }, true);
    add(
        file, before, "restoreDeletedCardAction", "Restore a Deleted Card...", {},
        [this] { history_->OpenDeletedCards(); }, false);
    file->insertSeparator(before);
    view->addSeparator();
    add(
        view, nullptr, "checkCardAction", "Check Card", QKeySequence(Qt::CTRL | Qt::Key_K),
        [this] { ShowCheckPanel(); }, true);
}

const TextCodec& CardTools::Codec() const {
    return window_.Renderer().Text().Codec();
}

// ---- the marks

void CardTools::EnableSaveCommands(bool) {
    ScheduleRefresh();
}

void CardTools::EnableCardCommands(bool enabled, bool) {
    for (QAction* action : cardActions_)
        action->setEnabled(enabled);
    if (!enabled && partner_)
        EndComparison();
    ScheduleRefresh();
}

void CardTools::ScheduleRefresh() {
    // A change arrives before its record is drawn again; the marks follow once it is done.
    if (refreshPending_)
        return;
    refreshPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (refreshPending_)
                RefreshMarks();
        },
        Qt::QueuedConnection);
}

void CardTools::RefreshMarks() {
    refreshPending_ = false;
    context_.errorTrap.Guard(loc::ShowCardMarks, [&] {
        const bool open = window_.Session().Changed().CardOpen() && context_.HasFormat();
        if (partner_ && (!open || context_.ArchiveCard() != comparedCard_))
            EndComparison();
        shownOverflows_.clear();
        if (open && checkPanel_ && checkPanel_->isVisible()) {
            std::vector<FieldOverflow> all = CheckOpenCard(context_, check_);
            checkPanel_->ShowOverflows(all, Codec());
            for (const FieldOverflow& overflow : all)
                if (overflow.backPage == context_.BackSideSelected)
                    shownOverflows_.push_back(overflow);
        } else if (open) {
            shownOverflows_ = check_.CheckPage(context_.RequestForOpenPage(RenderTarget::Screen));
        }
        if (partner_) {
            Recompare();
            ShowComparison();
        }

        overlay_.Begin(window_.Canvas().Picture().size(), context_.View.ViewScale,
                       context_.TwipsPerPixel);
        if (open && window_.CardFaceShown()) {
            for (const FieldOverflow& o : shownOverflows_)
                if (IsCutOff(o))
                    overlay_.MarkCutOffText(Place(o.left, o.top, o.width, o.height));
            for (const FieldDifference& d : differences_)
                if (d.backPage == context_.BackSideSelected)
                    overlay_.OutlineField(Place(d.left, d.top, d.width, d.height),
                                          chosen_ && SameField(*chosen_, d));
        }
        overlay_.End();
    });
    window_.cardPicture()->update();
}

// ---- Check Card

void CardTools::ShowCheckPanel() {
    if (!window_.Session().Changed().CardOpen())
        return;
    context_.errorTrap.Guard(loc::CheckCard, [&] {
        window_.FillIn().CommitOpenEditor();
        if (!checkPanel_) {
            checkPanel_ = new CardCheckPanel(&window_);
            window_.addDockWidget(Qt::BottomDockWidgetArea, checkPanel_);
            connect(checkPanel_, &CardCheckPanel::fieldChosen, this, &CardTools::OpenCheckedField);
        }
        checkPanel_->show();
        checkPanel_->raise();
        RefreshMarks();
        checkPanel_->fieldList()->setFocus();
    });
}

bool CardTools::TurnTo(bool backPage) {
    if (backPage == context_.BackSideSelected)
        return true;
    window_.FillIn().CommitOpenEditor();
    window_.ShowSide(backPage);
    if (!window_.Session().Library().SwitchSide(backPage)) {
        window_.ShowSide(context_.BackSideSelected);
        return false;
    }
    if (window_.CardFaceShown())
        window_.ShowCardFace();
    return window_.Session().Changed().CardOpen() && context_.BackSideSelected == backPage;
}

void CardTools::OpenCheckedField(bool backPage, int field) {
    context_.errorTrap.Guard(loc::OpenCheckedField, [&] {
        if (!TurnTo(backPage))
            return;
        if (!window_.CardFaceShown())
            window_.ShowCardFace();
        if (!window_.CardFaceShown() || field < 0 || field >= context_.Page.Count(TextField))
            return;
        const TextRecord f(context_.Page.Field(TextField, field).a);
        window_.cardFace()->ScrollToShow(Place(f.x(), f.y(), f.width(), f.height()));
        window_.FillIn().CommitOpenEditor();
        window_.FillIn().Session().OpenTextEditor(field);
    });
}

// ---- Compare with Card

void CardTools::ChooseCardToCompare() {
    if (!window_.Session().Changed().CardOpen())
        return;
    window_.FillIn().CommitOpenEditor();
    CardLibrary& library = window_.Session().Library();
    std::vector<std::string> cards;
    for (const std::string& entry : library.Entries())
        if (!EqualsIgnoreCase(library.CardNameOf(entry), context_.ArchiveCard()))
            cards.push_back(entry);
    CompareCardPicker picker(cards, context_.Location.CardDir,
                             QString::fromStdString(context_.Location.CardExt), &window_);
    if (picker.exec() == QDialog::Accepted && picker.Chosen())
        CompareWith(*picker.Chosen());
}

bool CardTools::CompareWith(const fs::path& file) {
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
                &CardTools::ChooseDifference);
        connect(comparisonPanel_, &ComparisonPanel::takeValueClicked, this,
                [this] { TakePartnersValue(); });
        connect(comparisonPanel_, &ComparisonPanel::endClicked, this, &CardTools::EndComparison);
    }
    comparisonPanel_->show();
    comparisonPanel_->raise();
    if (!window_.CardFaceShown())
        window_.ShowCardFace();
    RefreshMarks();
    return true;
}

void CardTools::EndComparison() {
    partner_.reset();
    differences_.clear();
    chosen_.reset();
    comparedCard_.clear();
    if (comparisonPanel_)
        comparisonPanel_->hide();
    ScheduleRefresh();
}

void CardTools::Recompare() {
    differences_.clear();
    const int names = NameFieldCount(context_);
    const bool twoPages = context_.Catalogue.HasBackPage(context_.CurrentFormat);
    for (bool back : {false, true}) {
        const CardPage* theirs = partner_->pages.Page(back);
        if (!theirs || (back && !twoPages))
            continue;
        std::optional<CardPage> saved;
        const CardPage* mine = &context_.Page;
        if (back != context_.BackSideSelected) {
            // The page not on show, as saved.
            CardLocation other = context_.Location;
            other.CurrentCardName = context_.ArchiveCard() + (back ? "_" : "");
            saved = ReadCardPage(other, back,
                                 back ? context_.BackTemplateForMissingPage() : std::nullopt);
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

void CardTools::ShowComparison() {
    if (!comparisonPanel_ || !partner_)
        return;
    int chosen = -1;
    for (size_t i = 0; chosen_ && i < differences_.size(); ++i)
        if (SameField(differences_[i], *chosen_))
            chosen = int(i);
    comparisonPanel_->ShowDifferences(Codec().Decode(partner_->name).toUpper(), differences_,
                                      Codec(), chosen);
}

void CardTools::ChooseDifference(int index) {
    if (index < 0 || index >= int(differences_.size()))
        return;
    context_.errorTrap.Guard(loc::ShowDifference, [&] {
        const FieldDifference wanted = differences_[size_t(index)];
        chosen_ = wanted;
        if (!TurnTo(wanted.backPage)) {
            chosen_.reset();
            RefreshMarks();
            return;
        }
        RefreshMarks();
        if (chosen_)
            window_.cardFace()->ScrollToShow(
                Place(chosen_->left, chosen_->top, chosen_->width, chosen_->height));
    });
}

bool CardTools::TakePartnersValue() {
    if (!partner_ || !chosen_ || chosen_->backPage != context_.BackSideSelected)
        return false;
    bool taken = false;
    context_.errorTrap.Guard(loc::TakePartnersValue, [&] {
        window_.FillIn().CommitOpenEditor();
        const CardPage* theirs = partner_->pages.Page(chosen_->backPage);
        CardPage after = context_.Page;
        if (!theirs || !CardComparison::TakeValue(after, *theirs, *chosen_))
            return;
        // The next field in the list is chosen next, when it is on this page.
        size_t at = 0;
        while (at < differences_.size() && !SameField(differences_[at], *chosen_))
            ++at;
        std::optional<FieldDifference> next;
        if (at + 1 < differences_.size() &&
            differences_[at + 1].backPage == context_.BackSideSelected)
            next = differences_[at + 1];
        chosen_ = next;
        changer_.ReplacePage(std::move(after), "Take Partner's Value");
        taken = true;
        RefreshMarks();
    });
    return taken;
}

} // namespace cw
