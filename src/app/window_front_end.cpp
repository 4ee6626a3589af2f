#include <cstdio>

#include "app/front_ends.h"

namespace app {

std::unique_ptr<ui::FrontEnd> makeWindowFrontEnd(Launcher&) {
    std::fprintf(stderr,
                 "launcher: this build has no window front end yet; run it with --headless\n"
                 "(see docs/automation.md)\n");
    return nullptr;
}

}  // namespace app
