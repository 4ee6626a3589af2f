#pragma once

#include <windows.h>

#include "ui/win32/control_records.h"

namespace ui::win32 {

// The kind of the launcher control at a point of a container's client area: a child
// control there (disabled ones and those that leave presses to the container included,
// cut-out pixels of a picture button not), else a transparent label drawn there, else the
// container's own kind (`Kind::Window` for the window's background).
Kind kindAt(const ContainerRecord& container, POINT point);

// A left-button press that reached the container: moves the window if its properties say
// a press there does, as if its title bar had been grabbed.
void pressOnContainer(const ContainerRecord& container, POINT point);

// Sets the pointer the window's properties give the part of the container under it.
void showPointerOver(const ContainerRecord& container);

}  // namespace ui::win32
