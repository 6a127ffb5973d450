#pragma once

#include "CardArchive.h"
#include "CardPage.h"
#include "RenderRequest.h"

#include <QObject>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

namespace cw {

class AppContext;
class CardHistoryDialog;
class DeletedCardsDialog;
class MainWindow;
class PagePictures;
class TextCodec;
class UndoablePageChanger;

// "Card History..." and "Restore a Deleted Card...": the kept versions of the shown page,
// each restorable as one step of the undo history, and the cards deleted from the format.
class CardHistoryCommands : public QObject {
    Q_OBJECT

public:
    // changer: how a restored version replaces the page (one undoable step).
    CardHistoryCommands(MainWindow& window, AppContext& context, UndoablePageChanger& changer);
    ~CardHistoryCommands() override;

    // "Card History...": the kept versions of the shown page.
    void OpenHistory();
    CardHistoryDialog* historyDialog() const;
    const std::vector<ArchivedVersion>& ListedVersions() const { return versions_; }
    bool RestoreVersion(int index);

    // "Restore a Deleted Card...".
    void OpenDeletedCards();
    DeletedCardsDialog* deletedCardsDialog() const;
    bool RestoreDeletedCard(const std::string& card);

private:
    void ShowHistory();
    void ShowChosenVersion(int index);
    void ShowDeletedCards();
    // A drawing of page on the side the screen shows.
    RenderRequest ShownSide(const CardPage& page);
    CardPage VersionPage(const ArchivedVersion& version) const;
    const TextCodec& Codec() const;

    MainWindow& window_;
    AppContext& context_;
    UndoablePageChanger& changer_;
    std::unique_ptr<PagePictures> pictures_;
    std::vector<ArchivedVersion> versions_;
    QPointer<CardHistoryDialog> historyDialog_;
    QPointer<DeletedCardsDialog> deletedCardsDialog_;
};

} // namespace cw
