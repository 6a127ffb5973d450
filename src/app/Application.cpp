#include "Application.h"

#include "FileNameText.h"
#include "LocationCodes.h"
#include "Prompter.h"
#include "SystemInfo.h"

#include <QGuiApplication>
#include <QScreen>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

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
        ctx.OnlyReadsDataRoot = true;
    fonts_.RegisterFonts(ctx.paths.FontsDir, true);
    std::string readOnly = WriteProblem(ctx.paths.ProgramFolder);
    ctx.RootReadOnly = !readOnly.empty();
    if (mode == StartupMode::Program)
        TellStartupProblems(readOnly);
    bool ok = trap_.Guard(loc::Main, [&] {
        // A data root that cannot be written still opens: its cards can be read and printed.
        if (!ctx.RootReadOnly && !ctx.OnlyReadsDataRoot)
            log_->CheckErrorLog();
        BusyScope busy(prompter_);
        // A command resolves the paths it was given from the folder it was started in.
        if (!ctx.OnlyReadsDataRoot)
            fs::current_path(ctx.paths.ProgramFolder);
        ctx.ReadSystemSettings();
        ctx.Format.MakeCurrent(ctx.Settings.DefaultFormat);
        if (!ctx.OnlyReadsDataRoot && (ctx.Settings.SystemFlags & SystemSettings::NoticeFlag)) {
            prompter_.Message("Please click 'Special Notices' on the main form", "NOTICE",
                              Buttons::Ok);
            ctx.Settings.SystemFlags &= 253;
            if (!ctx.RootReadOnly)
                ctx.SaveSystemSettings();
        }
    });
    if (!ctx.OnlyReadsDataRoot)
        CreateFolderQuietly(ctx.paths.DataSysDir);
    return ok;
}

std::string Application::WriteProblem(const fs::path& folder) {
    // Only trying tells: permissions, a read-only mount and root's privileges all count.
    const fs::path probe = folder / ".cardwright-write-test";
    int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        int error = errno;
        return error == EEXIST ? std::string() : std::strerror(error);
    }
    ::close(fd);
    ::unlink(probe.c_str());
    return {};
}

void Application::TellStartupProblems(const std::string& readOnly) {
    if (!readOnly.empty())
        prompter_.Message("The data folder " +
                              FileNameToUtf8(context_->paths.ProgramFolder.string()) +
                              " cannot be written to (" + readOnly +
                              ").\nCards can be opened, looked at and printed, but nothing can "
                              "be saved there.",
                          "Cardwright", Buttons::Ok, Icon::Warning);
    if (!fonts_.Unusable().isEmpty())
        prompter_.Message("These font files in " +
                              FileNameToUtf8(context_->paths.FontsDir.string()) +
                              " could not be used (damaged, or not TrueType fonts): " +
                              fonts_.Unusable().join(QStringLiteral(", ")).toStdString() +
                              ".\nText in their fonts is drawn in a similar font.",
                          "Cardwright", Buttons::Ok, Icon::Warning);
}

void Application::UnregisterFonts() {
    fonts_.RegisterFonts(context_->paths.FontsDir, false);
}

} // namespace cw
