#pragma once

#include <windows.h>

#include "ui/win32/control_records.h"

namespace ui::win32 {

// Paints a container whole: its background (the window's picture or colour, a picture
// box's picture, a panel's fill and frame, a tab page's colour) and the transparent labels
// on it.
void paintContainer(const ContainerRecord& self);

// The rectangle of a transparent label in its container's client area.
RECT labelRect(const ContainerRecord& container, const ControlSpec& label);

}  // namespace ui::win32
