#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "app/front_ends.h"
#include "app/launcher.h"
#include "platform/directories.h"
#include "ui/headless/headless_front_end.h"
#include "ui/headless/reported_program_starter.h"

namespace {

struct Options {
    bool headless = false;
    std::string operatorHost = LAUNCHER_OPERATOR_HOST;
};

void usage() {
    std::fprintf(stderr,
                 "usage: launcher [--headless] [--operator HOST[:PORT]]\n"
                 "  --headless   no window: read commands on standard input and write every\n"
                 "               interface effect as JSON lines (see docs/automation.md)\n"
                 "  --operator   web server of the configuration and server pages\n"
                 "               (built-in default: %s)\n",
                 LAUNCHER_OPERATOR_HOST);
}

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--headless") == 0) {
            options.headless = true;
        } else if (std::strcmp(argv[i], "--operator") == 0 && i + 1 < argc) {
            options.operatorHost = argv[++i];
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        usage();
        return 2;
    }

    app::Launcher launcher;
    launcher.directory = platform::executableDirectory();
    platform::setCurrentDirectory(launcher.directory);
    launcher.operatorHost = options.operatorHost;
    app::bindHandlers(launcher);

    std::unique_ptr<ui::HeadlessFrontEnd> headless;
    std::unique_ptr<ui::ReportedProgramStarter> reportedStarts;
    std::unique_ptr<ui::FrontEnd> window;
    if (options.headless) {
        headless = std::make_unique<ui::HeadlessFrontEnd>(launcher.ui, STDIN_FILENO, stdout);
        launcher.ui.attach(headless.get());
        reportedStarts =
            std::make_unique<ui::ReportedProgramStarter>(*headless, launcher.systemPrograms);
        launcher.programs = reportedStarts.get();
        headless->start();
    } else {
        window = app::makeWindowFrontEnd(launcher);
        if (!window) {
            return 1;
        }
        launcher.ui.attach(window.get());
    }

    launcher.ui.openMainWindow();
    launcher.loop.runUntil([&] { return !launcher.ui.isOpen(ui::WindowId::Main); });
    app::exitRoutine(launcher);
    if (headless) {
        headless->exited(0);
    }
    launcher.ui.attach(nullptr);
    return 0;
}
