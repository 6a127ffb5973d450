#include "CardHistoryCommands.h"

#include "AppContext.h"
#include "CardFile.h"
#include "CardHistoryDialog.h"
#include "CardRenderer.h"
#include "CardToolLocations.h"
#include "DeletedCards.h"
#include "DeletedCardsDialog.h"
#include "ErrorTrap.h"
#include "FillInController.h"
#include "FormatChooser.h"
#include "MainWindow.h"
#include "PagePictures.h"
#include "UndoablePageChanger.h"
#include "VersionRestore.h"

namespace cw {

namespace {

// Pictures of the history: small ones for the list, larger ones side by side.
constexpr double kListPicturePixels = 96;
constexpr double kPicturePixels = 390;

} // namespace

CardHistoryCommands::CardHistoryCommands(MainWindow& window, AppContext& context,
                                         UndoablePageChanger& changer)
    : QObject(&window), window_(window), context_(context), changer_(changer) {}

CardHistoryCommands::~CardHistoryCommands() = default;

CardHistoryDialog* CardHistoryCommands::historyDialog() const {
    return historyDialog_;
}
DeletedCardsDialog* CardHistoryCommands::deletedCardsDialog() const {
    return deletedCardsDialog_;
}

const TextCodec& CardHistoryCommands::Codec() const {
    return window_.Renderer().Text().Codec();
}

CardPage CardHistoryCommands::VersionPage(const ArchivedVersion& version) const {
    CardPage page;
    page.CardHeader = context_.Card.Page().CardHeader;
    CardFile::ParsePage(page, ReadFileBytes(version.file), context_.Card.BackSide());
    return page;
}

RenderRequest CardHistoryCommands::ShownSide(const CardPage& page) {
    return context_.RequestFor(page, context_.Card.BackSide(), RenderTarget::Screen);
}

void CardHistoryCommands::OpenHistory() {
    if (!window_.Session().Changed().CardOpen())
        return;
    window_.FillIn().CommitOpenEditor();
    if (!historyDialog_) {
        historyDialog_ = new CardHistoryDialog(&window_);
        connect(historyDialog_, &CardHistoryDialog::versionChosen, this,
                &CardHistoryCommands::ShowChosenVersion);
        connect(historyDialog_, &CardHistoryDialog::restoreClicked, this,
                [this](int index) { RestoreVersion(index); });
    }
    ShowHistory();
    historyDialog_->open();
}

void CardHistoryCommands::ShowChosenVersion(int index) {
    context_.errorTrap.Guard(loc::CardHistoryList, [&] {
        if (index < 0 || index >= int(versions_.size()))
            return;
        const double scale =
            kPicturePixels * context_.TwipsPerPixel / context_.Format.Defaults().NaturalWidth;
        historyDialog_->ShowChosen(
            pictures_->Draw(ShownSide(VersionPage(versions_[size_t(index)])), scale),
            "Kept " + QString::fromStdString(versions_[size_t(index)].when));
    });
}

void CardHistoryCommands::ShowHistory() {
    context_.errorTrap.Guard(loc::CardHistoryList, [&] {
        BusyScope busy(context_.prompter);
        if (!pictures_)
            pictures_ = std::make_unique<PagePictures>(context_.errorTrap);
        const std::string pageFile =
            context_.Card.Location().CurrentCardName + context_.Card.Location().CardExt;
        versions_ =
            context_.Archive.Versions(context_.ArchiveFormat(), context_.ArchiveCard(), pageFile);
        const double width = context_.Format.Defaults().NaturalWidth > 0
                                 ? context_.Format.Defaults().NaturalWidth
                                 : 11520;
        std::vector<QImage> small;
        for (const ArchivedVersion& version : versions_)
            small.push_back(pictures_->Draw(ShownSide(VersionPage(version)),
                                            kListPicturePixels * context_.TwipsPerPixel / width));
        QString title = QString("History of the %1 page of %2")
                            .arg(context_.Card.BackSide() ? "back" : "front",
                                 Codec().Decode(context_.ArchiveCard()).toUpper());
        historyDialog_->ShowVersions(title, versions_, small);
        historyDialog_->ShowCurrent(pictures_->Draw(
            ShownSide(context_.Card.Page()), kPicturePixels * context_.TwipsPerPixel / width));
    });
}

bool CardHistoryCommands::RestoreVersion(int index) {
    if (index < 0 || index >= int(versions_.size()))
        return false;
    window_.FillIn().CommitOpenEditor();
    bool restored = RestorePageVersion(context_, window_.Session().Changed(), changer_,
                                       versions_[size_t(index)]);
    if (historyDialog_ && historyDialog_->isVisible())
        ShowHistory();
    return restored;
}

void CardHistoryCommands::OpenDeletedCards() {
    if (!deletedCardsDialog_) {
        deletedCardsDialog_ = new DeletedCardsDialog(&window_);
        connect(deletedCardsDialog_, &DeletedCardsDialog::restoreClicked, this,
                [this](const QString& card) { RestoreDeletedCard(Codec().Encode(card)); });
    }
    ShowDeletedCards();
    deletedCardsDialog_->open();
}

void CardHistoryCommands::ShowDeletedCards() {
    deletedCardsDialog_->ShowCards(DecodeDisplayName(context_.Format.Column(ColDisplayName)),
                                   DeletedCardsOfFormat(context_));
}

bool CardHistoryCommands::RestoreDeletedCard(const std::string& card) {
    bool restored = window_.Session().Library().RestoreDeletedCard(card);
    if (deletedCardsDialog_)
        ShowDeletedCards();
    return restored;
}

} // namespace cw
