#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

namespace cw {

class AppContext;

// The format a card command works on: the one whose code is given (compared without regard
// to case), else the default format. nullopt, with one line on err, when there is none.
std::optional<int16_t> ChooseCommandFormat(const AppContext& ctx,
                                           const std::optional<std::string>& code,
                                           std::ostream& err);

// Chooses the format and sets it up without a window (front side); false after saying why.
bool SetUpCommandFormat(AppContext& ctx, const std::optional<std::string>& code, std::ostream& err);

// Whether card (a name in the format's card folder) has its front page there; says so on err
// when it has not.
bool CommandCardExists(const AppContext& ctx, const std::string& card, std::ostream& err);

} // namespace cw
