// Writes the manual pages and the bash completion of the command line into
// the folder given, from the same definitions as its --help.
#include "CliApp.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    using namespace tessaly::cli;
    if (argc != 2) {
        std::fprintf(stderr, "usage: tessaly-cli-docs FOLDER\n");
        return 2;
    }
    CLI::App app;
    int exitCode = 0;
    BuildCliApp(app, exitCode);
    const std::string folder = argv[1];
    for (const auto& [name, text] : {std::pair{"tessaly-cli.1", CliManPage(app)},
                                     std::pair{"tessaly.1", GuiManPage()},
                                     std::pair{"tessaly-cli.bash", BashCompletion(app)}}) {
        std::ofstream out(folder + "/" + name, std::ios::binary);
        out << text;
        if (!out.flush()) {
            std::fprintf(stderr, "%s/%s: cannot be written\n", folder.c_str(), name);
            return 1;
        }
    }
    return 0;
}
