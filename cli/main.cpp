// tessaly-cli: the tag editor's core, driven from the command line.
#include "CliApp.h"

int main(int argc, char** argv) { return tessaly::cli::RunCommandLine(argc, argv); }
