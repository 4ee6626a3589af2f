#include <cstdio>

#include "app/front_ends.h"

#if defined(_WIN32)
#include "ui/win32/win32_front_end.h"
#elif defined(LAUNCHER_HAS_FLTK)
#include "ui/fltk/fltk_front_end.h"
#endif

namespace app {

std::unique_ptr<ui::FrontEnd> makeWindowFrontEnd(Launcher& launcher) {
#if defined(_WIN32)
    return ui::win32::makeFrontEnd(launcher.ui);
#elif defined(LAUNCHER_HAS_FLTK)
    if (ui::fltk::displayAvailable()) {
        return ui::fltk::makeFrontEnd(launcher.ui);
    }
    std::fprintf(stderr,
                 "launcher: no display to open the window on; run it with --headless\n"
                 "(see docs/automation.md)\n");
#else
    (void)launcher;
    std::fprintf(stderr,
                 "launcher: this build has no window front end; run it with --headless\n"
                 "(see docs/automation.md)\n");
#endif
    return nullptr;
}

}  // namespace app
