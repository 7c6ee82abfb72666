#pragma once
// `lumora-cli COMMAND --help`: what each command's options mean, printed on standard output.
#include <string>

namespace lumora::cli {

// The whole help of `command`: its usage line (`usage`, the command's synopsis) and what its
// options mean.
std::string CommandHelp(const std::string& command, const std::string& usage);

// feed's own usage text (FeedCommand.cpp), which it also prints when its options are wrong.
std::string FeedUsage();
// risk's usage text (RiskCommand.cpp).
std::string RiskUsage();

// Whether the words after the command ask for help (--help or -h in the place of an option).
bool AsksForHelp(int argc, char** argv);

}  // namespace lumora::cli
