#include "UndoHistory.h"

#include <algorithm>

namespace cw {

namespace {

// The tables a step may change: every card kind but the single kind-21 record, which is kept
// apart.
bool IsTableKind(int kind) {
    return IsCardKind(kind) && kind != PrintDateFooter;
}

template <class T>
void Fold(std::optional<std::pair<T, T>>& mine, const std::optional<std::pair<T, T>>& later) {
    if (!later)
        return;
    if (mine)
        mine->second = later->second;
    else
        mine = later;
    if (mine->first == mine->second)
        mine.reset();
}

} // namespace

// ---- PageDelta

PageDelta PageDelta::Between(const CardPage& before, const CardPage& after) {
    PageDelta delta;
    for (int kind = 0; kind < CardPage::KindSlots; ++kind)
        if (IsTableKind(kind) && before.Fields(kind) != after.Fields(kind))
            delta.tables.push_back({kind, before.Fields(kind), after.Fields(kind)});
    if (before.FooterRecord() != after.FooterRecord())
        delta.kind21.emplace(before.FooterRecord(), after.FooterRecord());
    if (before.CardHeader != after.CardHeader)
        delta.header.emplace(before.CardHeader, after.CardHeader);
    if (before.UseAltBaseLayer != after.UseAltBaseLayer)
        delta.altBaseLayer.emplace(before.UseAltBaseLayer, after.UseAltBaseLayer);
    return delta;
}

bool PageDelta::Empty() const {
    return tables.empty() && !kind21 && !header && !altBaseLayer;
}

std::vector<int> PageDelta::Kinds() const {
    std::vector<int> kinds;
    for (const Table& table : tables)
        kinds.push_back(table.kind);
    if (kind21)
        kinds.push_back(PrintDateFooter);
    return kinds;
}

void PageDelta::ApplyBefore(CardPage& page) const {
    for (const Table& table : tables)
        page.ReplaceFields(table.kind, table.before);
    if (kind21)
        page.FooterRecord() = kind21->first;
    if (header)
        page.CardHeader = header->first;
    if (altBaseLayer)
        page.UseAltBaseLayer = altBaseLayer->first;
}

void PageDelta::ApplyAfter(CardPage& page) const {
    for (const Table& table : tables)
        page.ReplaceFields(table.kind, table.after);
    if (kind21)
        page.FooterRecord() = kind21->second;
    if (header)
        page.CardHeader = header->second;
    if (altBaseLayer)
        page.UseAltBaseLayer = altBaseLayer->second;
}

void PageDelta::Absorb(const PageDelta& later) {
    for (const Table& table : later.tables) {
        auto mine = std::find_if(tables.begin(), tables.end(),
                                 [&](const Table& t) { return t.kind == table.kind; });
        if (mine != tables.end())
            mine->after = table.after;
        else
            tables.push_back(table);
    }
    // A step and its reverse leave nothing behind.
    tables.erase(std::remove_if(tables.begin(), tables.end(),
                                [](const Table& t) { return t.before == t.after; }),
                 tables.end());
    Fold(kind21, later.kind21);
    Fold(header, later.header);
    Fold(altBaseLayer, later.altBaseLayer);
}

// ---- ReplacePageCommand

ReplacePageCommand::ReplacePageCommand(UndoHistory& history, const CardPage& before,
                                       const CardPage& after, const QString& text)
    : QUndoCommand(text), history_(history), delta_(PageDelta::Between(before, after)) {}

ReplacePageCommand::ReplacePageCommand(UndoHistory& history, PageDelta delta, const QString& text,
                                       QString mergeKey)
    : QUndoCommand(text), history_(history), delta_(std::move(delta)),
      mergeKey_(std::move(mergeKey)), pushedApplied_(true) {}

void ReplacePageCommand::undo() {
    history_.Apply(delta_, false);
}

void ReplacePageCommand::redo() {
    // A recorded step is on the page already when it is pushed.
    if (pushedApplied_) {
        pushedApplied_ = false;
        return;
    }
    history_.Apply(delta_, true);
}

int ReplacePageCommand::id() const {
    return mergeKey_.isEmpty() ? -1 : 1;
}

bool ReplacePageCommand::mergeWith(const QUndoCommand* other) {
    auto* later = dynamic_cast<const ReplacePageCommand*>(other);
    if (!later || mergeKey_.isEmpty() || later->mergeKey_ != mergeKey_)
        return false;
    delta_.Absorb(later->delta_);
    setObsolete(delta_.Empty());
    return true;
}

// ---- UndoHistory

UndoHistory::UndoHistory(OpenCard& card, ChangedState& changed)
    : card_(card), changed_(changed), baseline_(card.Page()) {
    card_.SetWatcher(this);
    QObject::connect(&stack_, &QUndoStack::cleanChanged,
                     [this](bool clean) { CleanChanged(clean); });
}

UndoHistory::~UndoHistory() {
    // No changed state is to follow the stack while it is taken down.
    followingChangedState_ = true;
    stack_.disconnect();
    card_.SetWatcher(nullptr);
}

void UndoHistory::Reset() {
    followingChangedState_ = true;
    stack_.clear();
    // Changes made before the history started cannot be undone, so no undo may lead back to
    // a state that counts as saved.
    if (changed_.CardChanged())
        stack_.resetClean();
    followingChangedState_ = false;
    changedUnseen_ = false;
    baseline_ = card_.Page();
}

void UndoHistory::Forget() {
    Reset();
    followingChangedState_ = true;
    stack_.resetClean();
    followingChangedState_ = false;
}

void UndoHistory::ForgetIfChangedUnseen() {
    if (changedUnseen_)
        Forget();
}

bool UndoHistory::Record(const std::string& text, const std::string& mergeKey) {
    ForgetIfChangedUnseen();
    PageDelta delta = PageDelta::Between(baseline_, card_.Page());
    if (delta.Empty())
        return false;
    delta.ApplyAfter(baseline_);
    QString name = QString::fromStdString(text.empty() ? NameOfChange(delta) : text);
    stack_.push(
        new ReplacePageCommand(*this, std::move(delta), name, QString::fromStdString(mergeKey)));
    return true;
}

void UndoHistory::ReplacePage(const CardPage& after, const std::string& text) {
    ForgetIfChangedUnseen();
    if (card_.Page().SameContent(after))
        return;
    stack_.push(new ReplacePageCommand(*this, card_.Page(), after, QString::fromStdString(text)));
}

bool UndoHistory::Undo() {
    ForgetIfChangedUnseen();
    if (!stack_.canUndo())
        return false;
    stack_.undo();
    return true;
}

bool UndoHistory::Redo() {
    ForgetIfChangedUnseen();
    if (!stack_.canRedo())
        return false;
    stack_.redo();
    return true;
}

void UndoHistory::Apply(const PageDelta& delta, bool after) {
    applying_ = true;
    CardPage& page = card_.Edit();
    applying_ = false;
    if (after) {
        delta.ApplyAfter(page);
        delta.ApplyAfter(baseline_);
    } else {
        delta.ApplyBefore(page);
        delta.ApplyBefore(baseline_);
    }
    if (restored_)
        restored_(delta.Kinds());
}

void UndoHistory::CleanChanged(bool clean) {
    if (followingChangedState_)
        return;
    followingChangedState_ = true;
    changed_.SetChangedState(clean ? ChangedState::CardSavedCode : ChangedState::CardChangedCode);
    followingChangedState_ = false;
}

void UndoHistory::EnableSaveCommands(bool enabled) {
    if (enabled || followingChangedState_)
        return;
    followingChangedState_ = true;
    stack_.setClean();
    followingChangedState_ = false;
}

void UndoHistory::EnableCardCommands(bool, bool) {
    Reset();
}

std::string UndoHistory::NameOfChange(const PageDelta& delta) {
    if (delta.tables.size() != 1 || delta.kind21)
        return delta.tables.empty() && delta.header ? "Names" : "Change";
    const PageDelta::Table& table = delta.tables.front();
    switch (table.kind) {
    case ClearedArea:
        return "Clear Area";
    case TextField:
        return table.before.size() == table.after.size() ? "Typing" : "Text Field";
    case CheckBox:
        return "Check Box";
    case Circle:
        return "Circle";
    case FrameBox:
        return "Frame";
    case Rectangle:
        return "Rectangle";
    case Line:
        return "Line";
    case ColourDot:
        return "Colour Dot";
    case TickMark:
        return "Tick Mark";
    case OptionField:
        return "Option";
    case CircledItem:
        return "Circled Item";
    default:
        return "Change";
    }
}

// ---- ChangeScope

ChangeScope::ChangeScope(UndoHistory* history, std::string text, std::string mergeKey)
    : history_(history), text_(std::move(text)), mergeKey_(std::move(mergeKey)) {
    if (!history_)
        return;
    outermost_ = history_->scopeDepth_++ == 0;
    if (outermost_)
        history_->ForgetIfChangedUnseen();
}

ChangeScope::~ChangeScope() {
    if (!history_)
        return;
    --history_->scopeDepth_;
    if (!outermost_)
        return;
    // Whatever happened inside, even a change cut short by an error, becomes one step.
    try {
        history_->Record(text_, mergeKey_);
    } catch (...) {
        history_->Reset();
    }
}

} // namespace cw
