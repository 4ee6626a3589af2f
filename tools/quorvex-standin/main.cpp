// Stands in for the game client: appends one line with its command line (program name and
// arguments, separated by one blank) to quorvex-started.txt in the current directory, and
// says so on standard error.
#include <fstream>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    std::string line;
    for (int i = 0; i < argc; ++i) {
        if (i > 0) {
            line += ' ';
        }
        line += argv[i];
    }
    // One write of the whole line, so a reader never sees half of it.
    std::ofstream record("quorvex-started.txt", std::ios::app | std::ios::binary);
    record << line + "\n" << std::flush;
    if (!record) {
        std::cerr << "quorvex stand-in: cannot write quorvex-started.txt\n";
        return 1;
    }
    // Standard error: the launcher keeps its standard output to itself.
    std::cerr << "Quorvex stand-in started: " << line << std::endl;
    return 0;
}
