#pragma once

#include <FL/Enumerations.H>

#include "ui/control.h"

namespace ui::fltk {

// Registers the launcher's face with FLTK: SimSun where the machine has it, otherwise the
// CJK face the setup installs. Safe to call more than once.
void registerFonts();

Fl_Font fontFace(bool bold);
// Character height in pixels; size 0 is the system's default interface font.
int fontSize(const Font& font);
// Selects face and size for the next fl_draw calls.
void useFont(const Font& font);

Fl_Color toFl(const Color& color);

}  // namespace ui::fltk
