#include "Application.h"

#include "LocationCodes.h"
#include "Prompter.h"
#include "SystemInfo.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace cw {

namespace {

SystemInfo MachineInfo(int16_t twipsPerPixel) {
    int width = 0, height = 0;
    if (auto* screen = QGuiApplication::primaryScreen()) {
        width = screen->geometry().width();
        height = screen->geometry().height();
    }
    return CurrentSystemInfo(width, height, twipsPerPixel);
}

} // namespace

Application::Application(const fs::path& root, Prompter& prompter)
    : prompter_(prompter), trap_(prompter, forward_) {
    context_ = std::make_unique<AppContext>(root, prompter, trap_);
    context_->TwipsPerPixel = ScreenTwipsPerPixel();
    log_ = std::make_unique<ErrorLog>(root, context_->AppVersion,
                                      MachineInfo(context_->TwipsPerPixel));
    log_->ReportErrorsTo(&trap_);
    trap_.SetAfterErrorShown([this] { context_->View.ResetZoom(); });
}

Application::~Application() = default;

int16_t Application::ScreenTwipsPerPixel() {
    auto* screen = QGuiApplication::primaryScreen();
    if (!screen || screen->logicalDotsPerInchX() <= 0)
        return 15;
    return int16_t(std::lround(1440.0 / screen->logicalDotsPerInchX()));
}

bool Application::RunStartup(StartupMode mode) {
    AppContext& ctx = *context_;
    if (mode == StartupMode::Command)
        ctx.KeepSettingsUnchanged = true;
    fonts_.RegisterFonts(ctx.paths.FontsDir, true);
    bool ok = trap_.Guard(loc::Main, [&] {
        log_->CheckErrorLog();
        BusyScope busy(prompter_);
        // A command resolves the paths it was given from the folder it was started in.
        if (!ctx.KeepSettingsUnchanged)
            fs::current_path(ctx.paths.ProgramFolder);
        if (!ExistsAnyCase(ctx.paths.TempBmpsDir))
            fs::create_directories(ctx.paths.TempBmpsDir);
        ctx.ReadSystemSettings();
        ctx.CurrentFormat = ctx.Settings.DefaultFormat;
        if (!ctx.KeepSettingsUnchanged && (ctx.Settings.SystemFlags & SystemSettings::NoticeFlag)) {
            prompter_.Message("Please click 'Special Notices' on the main form", "NOTICE",
                              Buttons::Ok);
            ctx.Settings.SystemFlags &= 253;
            ctx.SaveSystemSettings();
        }
    });
    CreateFolderQuietly(ctx.paths.DataSysDir);
    return ok;
}

void Application::UnregisterFonts() {
    fonts_.RegisterFonts(context_->paths.FontsDir, false);
}

} // namespace cw
