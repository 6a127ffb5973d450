#include "CardTools.h"

#include "AppContext.h"
#include "CardCanvas.h"
#include "CardCheckPanel.h"
#include "CardComparisonCommands.h"
#include "CardFace.h"
#include "CardFile.h"
#include "CardHistoryCommands.h"
#include "CardPageReader.h"
#include "CardPicture.h"
#include "CardRenderer.h"
#include "CardToolLocations.h"
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

} // namespace

CardTools::CardTools(MainWindow& window, AppContext& context)
    : QObject(&window), window_(window), context_(context),
      check_(context.errorTrap,
             [&context](bool backSide) { return PrintedPageOf(context, backSide); }),
      changer_(window.EditHistory(), [this] { window_.FillIn().Reset(); }),
      history_(new CardHistoryCommands(window, context, changer_)),
      comparison_(new CardComparisonCommands(window, context, changer_, *this)) {
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
        [this] { comparison_->ChooseCardToCompare(); }, true);
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
    if (!enabled && comparison_->Comparing())
        comparison_->EndComparison();
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
        comparison_->EndIfCardChanged(open);
        shownOverflows_.clear();
        if (open && checkPanel_ && checkPanel_->isVisible()) {
            std::vector<FieldOverflow> all = CheckOpenCard(context_, check_);
            checkPanel_->ShowOverflows(all, Codec());
            for (const FieldOverflow& overflow : all)
                if (overflow.backPage == context_.Card.BackSide())
                    shownOverflows_.push_back(overflow);
        } else if (open) {
            shownOverflows_ = check_.CheckPage(context_.RequestForOpenPage(RenderTarget::Screen));
        }
        comparison_->Refresh();

        overlay_.Begin(window_.Canvas().Picture().size(), context_.View.ViewScale(),
                       context_.TwipsPerPixel);
        if (open && window_.CardFaceShown()) {
            for (const FieldOverflow& o : shownOverflows_)
                if (IsCutOff(o))
                    overlay_.MarkCutOffText(Place(o.left, o.top, o.width, o.height));
            const std::optional<FieldDifference>& chosen = comparison_->Chosen();
            for (const FieldDifference& d : comparison_->Differences())
                if (d.backPage == context_.Card.BackSide())
                    overlay_.OutlineField(Place(d.left, d.top, d.width, d.height),
                                          chosen && SameField(*chosen, d));
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
    if (backPage == context_.Card.BackSide())
        return true;
    window_.FillIn().CommitOpenEditor();
    window_.ShowSide(backPage);
    if (!window_.Session().Library().SwitchSide(backPage)) {
        window_.ShowSide(context_.Card.BackSide());
        return false;
    }
    if (window_.CardFaceShown())
        window_.ShowCardFace();
    return window_.Session().Changed().CardOpen() && context_.Card.BackSide() == backPage;
}

void CardTools::OpenCheckedField(bool backPage, int field) {
    context_.errorTrap.Guard(loc::OpenCheckedField, [&] {
        if (!TurnTo(backPage))
            return;
        if (!window_.CardFaceShown())
            window_.ShowCardFace();
        if (!window_.CardFaceShown() || field < 0 || field >= context_.Card.Page().Count(TextField))
            return;
        const TextRecord f(context_.Card.Page().Field(TextField, field).a);
        window_.cardFace()->ScrollToShow(Place(f.x(), f.y(), f.width(), f.height()));
        window_.FillIn().CommitOpenEditor();
        window_.FillIn().Session().OpenTextEditor(field);
    });
}

} // namespace cw
