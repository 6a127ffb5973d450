#pragma once

// Location codes of the card options window, for the error trap (3000s).
namespace cw::loc {

inline constexpr int OpenCardOptions = 3000;
inline constexpr int ShowFormatDefaults = 3001;
inline constexpr int SelectOptionsFormat = 3002;
inline constexpr int OptionsSwatchClick = 3003;
inline constexpr int OptionsCheckBoxStyle = 3004;
inline constexpr int OptionsSetFont = 3005;
inline constexpr int SaveCardOptions = 3006;
inline constexpr int OptionsDone = 3007;
inline constexpr int OptionsSideClick = 3008;

} // namespace cw::loc
