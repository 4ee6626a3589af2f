#pragma once

#include "ui/control.h"

class Fl_Window;

namespace ui::fltk {

// The kind of the launcher control under the pointer of the current event: the innermost
// one where controls hold others (a panel's field, not the panel), `Kind::Window` over the
// window's own background. Hidden controls and the cut-out pixels of a picture button are
// not there; disabled controls are.
Kind kindUnderPointer(const Fl_Window& window);

}  // namespace ui::fltk
