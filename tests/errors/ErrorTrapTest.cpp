#include "ErrorTrap.h"

#include "RuntimeError.h"
#include "ScriptedPrompter.h"

#include <gtest/gtest.h>

namespace cw {
namespace {

// Records what the dialog would have been shown, and the state of the prompter at that time.
class FakePresenter : public ErrorPresenter {
public:
    FakePresenter(ScriptedPrompter& prompter, std::vector<std::string>& events)
        : prompter_(prompter), events_(events) {}
    void ShowError(const ErrorState& state) override {
        shown.push_back(state);
        beepsWhenShown = prompter_.BeepCount();
        busyWhenShown = prompter_.BusyDepth();
        events_.push_back("shown");
    }
    std::vector<ErrorState> shown;
    int beepsWhenShown = -1;
    int busyWhenShown = -1;

private:
    ScriptedPrompter& prompter_;
    std::vector<std::string>& events_;
};

class ErrorTrapTest : public ::testing::Test {
protected:
    ScriptedPrompter prompter;
    std::vector<std::string> events;
    FakePresenter presenter{prompter, events};
    ErrorTrap trap{prompter, presenter};
};

TEST_F(ErrorTrapTest, GuardTrapsAnErrorOfTheBody) {
    trap.SetAfterErrorShown([this] { events.push_back("after"); });
    prompter.SetBusy(true);
    prompter.SetBusy(true);
    std::string cardName = "before";
    bool finished = trap.Guard(
        2042,
        [&] {
            cardName = "FRED";
            throw RuntimeError(RuntimeError::FileNotFound, "File not found");
            cardName = "never";
        },
        [&] {
            return std::vector<ErrValue>{cardName, 3, 2.5, true};
        });

    EXPECT_FALSE(finished);
    ASSERT_EQ(presenter.shown.size(), 1u);
    const ErrorState& state = presenter.shown[0];
    EXPECT_EQ(state.Location, 2042);
    EXPECT_EQ(state.ErrDescription, "File not found");
    ASSERT_EQ(state.AdditionalData.size(), 4u);
    // The values are taken when the error happens, not when Guard was called.
    EXPECT_EQ(state.AdditionalData[0].Text(), "FRED");
    EXPECT_EQ(state.AdditionalData[1].Text(), "3");
    EXPECT_EQ(state.AdditionalData[2].Text(), "2.5");
    EXPECT_EQ(state.AdditionalData[3].Text(), "True");
    EXPECT_EQ(presenter.beepsWhenShown, 1);
    EXPECT_EQ(presenter.busyWhenShown, 0);
    EXPECT_EQ(events, (std::vector<std::string>{"shown", "after"}));
    EXPECT_EQ(trap.TrapCount(), 1);
    EXPECT_EQ(trap.State().Location, 2042);
}

TEST_F(ErrorTrapTest, GuardWithoutErrorShowsNothing) {
    bool ran = false;
    trap.SetAfterErrorShown([this] { events.push_back("after"); });
    EXPECT_TRUE(trap.Guard(1001, [&] { ran = true; }));
    EXPECT_TRUE(ran);
    EXPECT_TRUE(presenter.shown.empty());
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(prompter.BeepCount(), 0);
}

TEST_F(ErrorTrapTest, GuardTrapsForeignExceptionsWithoutData) {
    EXPECT_FALSE(trap.Guard(3004, [] { throw 17; }));
    EXPECT_FALSE(trap.Guard(3005, [] { throw std::out_of_range("vector index"); }));
    ASSERT_EQ(presenter.shown.size(), 2u);
    EXPECT_EQ(presenter.shown[0].Location, 3004);
    EXPECT_TRUE(presenter.shown[0].AdditionalData.empty());
    EXPECT_EQ(presenter.shown[1].ErrDescription, "vector index");
}

} // namespace
} // namespace cw
