#pragma once

#include "ProgramTexts.h"

#include <QString>

namespace cw {

// A program text as the widgets show it.
inline QString UiText(TextId id) {
    return QString::fromStdString(GetProgramText(id));
}

} // namespace cw
