#include "MainSession.h"

#include "AppContext.h"
#include "ErrorTrap.h"
#include "LocationCodes.h"
#include "ProgramTexts.h"

namespace cw {

MainSession::MainSession(AppContext& context, CardFormatView& formatView,
                         CardLibraryView& libraryView, TransferFolderChooser& chooser)
    : context_(context), formatView_(formatView), libraryView_(libraryView), changed_(context),
      library_(context, changed_, formatView, libraryView, chooser) {}

bool MainSession::Load() {
    AppContext& ctx = context_;
    ctx.MainWindowLoaded = true;
    return ctx.errorTrap.Guard(loc::MainWindowLoad, [&] {
        ctx.View.ZoomSetByUser = false;
        ctx.DrawingBaseText = false;
        ctx.PageOffsetX = 0;
        ctx.ReadSystemSettings();
        if (ctx.Catalogue.IsValidSlot(ctx.Settings.DefaultFormat))
            ctx.View.ViewScale =
                float(ctx.Catalogue.Number(ctx.Settings.DefaultFormat, ColViewScale));
        for (int slot = 0; slot < ctx.Catalogue.FormatCount; ++slot)
            CreateFolderQuietly(ctx.paths.CardFolder(ctx.Catalogue.Column(slot, ColFolder)));
        ctx.SetupCardFormat(ctx.Settings.DefaultFormat, formatView_);
        ctx.LoadedFormat = ctx.CurrentFormat;
        libraryView_.ShowCardStatus(GetProgramText(TextId::NoCardOpened) +
                                    ctx.Location.CurrentCardName);
        changed_.SetChangedState(ChangedState::CardSavedCode);
        changed_.SetChangedState(ChangedState::NoCardCode);
        library_.CancelNameDialog();
    });
}

void MainSession::ResetZoom() {
    context_.View.ResetZoom();
    context_.SetUpViewScale();
}

MainSession::CloseResult MainSession::QueryUnload(bool cardFaceShown) {
    if (cardFaceShown) {
        ResetZoom();
        return CloseResult::ReturnedToStartFace;
    }
    if (changed_.AskSaveChanges() == Answer::Cancel) {
        ResetZoom();
        return CloseResult::Cancelled;
    }
    if (context_.CurrentFormat != context_.LoadedFormat)
        context_.PatchDefaultFormat();
    RemoveEmptyCardFolders();
    return CloseResult::Closed;
}

void MainSession::RemoveEmptyCardFolders() {
    const FormatCatalogue& catalogue = context_.Catalogue;
    for (int slot = 0; slot < catalogue.FormatCount; ++slot) {
        fs::path folder = context_.paths.CardFolder(catalogue.Column(slot, ColFolder));
        std::error_code ec;
        if (!fs::is_directory(folder, ec))
            continue;
        // Like a search for "*.*": only files count, so a folder holding only folders is
        // tried too, and its removal fails quietly.
        if (ListFolder(folder, "*").empty())
            fs::remove(folder, ec);
    }
}

void MainSession::SaveChanges() {
    if (!changed_.CardOpen()) {
        context_.prompter.Beep();
        context_.prompter.Message(GetProgramText(TextId::NoCardOpened),
                                  GetProgramText(TextId::ProgramName), Buttons::Ok);
        return;
    }
    changed_.SaveCard();
}

bool MainSession::PrepareFormatChoice() {
    return changed_.AskSaveChanges() != Answer::Cancel;
}

bool MainSession::ChooseFormat(int16_t selection) {
    if (selection == context_.CurrentFormat)
        return true;
    return context_.errorTrap.Guard(loc::CardsListDone, [&] {
        changed_.SetChangedState(ChangedState::NoCardCode);
        context_.Location.CurrentCardName.clear();
        context_.SetupCardFormat(selection, formatView_);
        changed_.SetChangedState(ChangedState::NoCardCode);
        libraryView_.ShowCardStatus(GetProgramText(TextId::NoCardOpened));
    });
}

} // namespace cw
