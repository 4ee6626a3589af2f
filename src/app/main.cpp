#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "app/front_ends.h"
#include "app/launcher.h"
#include "app/patch_key.h"
#include "check/run_check.h"
#include "platform/directories.h"
#include "platform/standard_output.h"
#include "ui/headless/headless_front_end.h"
#include "ui/headless/reported_program_starter.h"

namespace {

struct Options {
    bool headless = false;
    bool check = false;
    bool json = false;
    std::string operatorHost = LAUNCHER_OPERATOR_HOST;
};

void usage() {
    platform::writeStandardError(
        "usage: launcher [--headless] [--operator HOST[:PORT]]\n"
        "       launcher --check [--json] [--operator HOST[:PORT]]\n"
        "  --headless   no window: read commands on standard input and write every\n"
        "               interface effect as JSON lines (see docs/automation.md)\n"
        "  --check      no window: check the operator's pages, zones and patch site (and\n"
        "               the patch's signature, in a build with a patch key) as a player's\n"
        "               launcher would use them, one line per check (see\n"
        "               docs/operator.md); exit code 0 when all pass, 1 when any fails\n"
        "  --json       with --check: one JSON object per check and line\n"
        "  --operator   web server of the configuration and server pages\n"
        "               (built-in default: " LAUNCHER_OPERATOR_HOST ")\n");
}

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--headless") == 0) {
            options.headless = true;
        } else if (std::strcmp(argv[i], "--check") == 0) {
            options.check = true;
        } else if (std::strcmp(argv[i], "--json") == 0) {
            options.json = true;
        } else if (std::strcmp(argv[i], "--operator") == 0 && i + 1 < argc) {
            options.operatorHost = argv[++i];
        } else {
            return false;
        }
    }
    // A check opens no window, so it cannot be driven as one; JSON lines belong to it.
    return !(options.check && options.headless) && (options.check || !options.json);
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        usage();
        return 2;
    }
    if (options.check) {
        check::CheckRun run =
            check::runCheck(options.operatorHost, app::builtInPatchKey(),
                            options.json ? check::ReportFormat::Json : check::ReportFormat::Text,
                            platform::writeStandardOutput);
        if (run.workLeftRunning) {
            // The report is out (each line is flushed as written); a check still waiting
            // must neither hold the process nor see its page fetch torn down under it.
            std::_Exit(run.exitCode);
        }
        return run.exitCode;
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
