#pragma once

#include "AppContext.h"
#include "MainWindow.h"
#include "ScriptedPrompter.h"
#include "SessionFakes.h"
#include "TestFiles.h"

#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace cw::test {

// The main window on a temporary data root, with scripted answers and recorded errors.
class MainWindowFixture : public ::testing::Test {
protected:
    // Shows the window on the data root as it is and waits until it is active.
    void ShowWindow() {
        ctx.ReadSystemSettings();
        window = std::make_unique<MainWindow>(ctx, &chooser);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    TempDir dir;
    ScriptedPrompter prompter;
    TrapRecorder errors;
    ErrorTrap trap{prompter, errors};
    AppContext ctx{dir.Path(), prompter, trap};
    FakeFolderChooser chooser;
    std::unique_ptr<MainWindow> window;
};

} // namespace cw::test
