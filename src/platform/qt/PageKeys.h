#pragma once

#include <QAbstractSlider>

class QKeyEvent;

namespace cw {

// What a key does to a text page shown a page at a time through a scroll bar: the arrows go a
// line, Page Up and Page Down a page, Home and End to the ends. SliderNoAction for any other
// key.
QAbstractSlider::SliderAction PageKeyAction(const QKeyEvent& event);

} // namespace cw
