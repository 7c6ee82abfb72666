#pragma once
// `lumora-cli COMMAND --help`: what each command's options mean, printed on standard output.
#include <string>

namespace lumora::cli {

// The text after the usage line for `command` ("" for a command without one).
std::string CommandHelp(const std::string& command);

// Whether the words after the command ask for help (--help or -h in the place of an option).
bool AsksForHelp(int argc, char** argv);

}  // namespace lumora::cli
