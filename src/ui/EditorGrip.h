#pragma once

#include "DragHandle.h"

namespace cw {

// The handle at the top left corner of the editor being placed: dragging it moves the editor
// (a drag inside the editor selects its text, as in any text box).
class EditorGrip : public DragHandle {
    Q_OBJECT

public:
    explicit EditorGrip(QWidget* parent = nullptr);

    // Its side in pixels; it stands just above and left of the editor.
    static constexpr int Size = 10;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace cw
