#include "UndoCommands.h"

#include "AppContext.h"
#include "EditLocations.h"
#include "ErrorTrap.h"
#include "FillInController.h"
#include "LayoutController.h"
#include "MainWindow.h"
#include "UndoHistory.h"

#include <QAction>
#include <QMenu>
#include <QUndoStack>

namespace cw {

UndoCommands::UndoCommands(MainWindow& window, AppContext& context)
    : QObject(&window), window_(window), context_(context) {}

void UndoCommands::AddCommands(QMenu* edit) {
    undoAction_ = edit->addAction("Undo");
    undoAction_->setObjectName("undoAction");
    undoAction_->setShortcuts(QKeySequence::Undo);
    redoAction_ = edit->addAction("Redo");
    redoAction_->setObjectName("redoAction");
    redoAction_->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    connect(undoAction_, &QAction::triggered, this, [this] { Step(false); });
    connect(redoAction_, &QAction::triggered, this, [this] { Step(true); });
    QUndoStack& stack = window_.EditHistory().Stack();
    connect(&stack, &QUndoStack::indexChanged, this, &UndoCommands::Update);
    connect(&stack, &QUndoStack::cleanChanged, this, &UndoCommands::Update);
    connect(&window_.Layout(), &LayoutController::stateChanged, this, &UndoCommands::Update);
    Update();
}

void UndoCommands::Update() {
    if (!undoAction_)
        return;
    const bool shown = window_.CardFaceShown();
    const bool pending = window_.Layout().Session().State().ActionPending;
    QUndoStack& stack = window_.EditHistory().Stack();
    QString undone = pending ? QStringLiteral("Placing") : stack.undoText();
    undoAction_->setText(undone.isEmpty() ? QStringLiteral("Undo") : "Undo " + undone);
    undoAction_->setEnabled(shown && (pending || stack.canUndo()));
    QString redone = stack.redoText();
    redoAction_->setText(redone.isEmpty() ? QStringLiteral("Redo") : "Redo " + redone);
    redoAction_->setEnabled(shown && stack.canRedo());
}

void UndoCommands::Step(bool redo) {
    if (!window_.CardFaceShown())
        return;
    context_.errorTrap.Guard(redo ? loc::RedoStep : loc::UndoStep, [&] {
        LayoutController& layout = window_.Layout();
        FillInController& fillIn = window_.FillIn();
        UndoHistory& history = window_.EditHistory();
        if (redo) {
            // The page is about to change under the field being placed: it is kept or
            // dropped as the user says, as "Done" asks.
            if (!history.CanRedo() || !layout.Session().SettlePending())
                return;
        } else if (layout.Session().CancelPendingForUndo()) {
            // The field being placed is what an undo takes back first.
            return;
        }
        const int field = fillIn.Session().CurrentField;
        // Typing not yet stored becomes a step of its own, so that nothing typed is lost.
        fillIn.CommitOpenEditor();
        const std::vector<CardField> before = context_.Card.Page().Fields(TextField);
        if (redo)
            history.Redo();
        else
            history.Undo();
        // The open field stays open on the same field, wherever the step moved it in the
        // table (fields added or removed before it).
        if (!layout.Editing() && field != FillInSession::NoField) {
            const int same = FollowTextField(before, context_.Card.Page().Fields(TextField), field);
            if (same >= 0)
                fillIn.Session().OpenTextEditor(same);
        }
    });
    Update();
}

} // namespace cw
