#pragma once
// The program's version (project(VERSION) in CMake) and the commit it was built from; both are
// stamped at build time into the lumora_version library (cmake/Version.cmake).
#include <string>

namespace lumora {

extern const char* const kVersion;  // "0.1"
extern const char* const kCommit;   // abbreviated hash, "-modified" after it for a changed tree, or "unknown"

// "PROGRAM VERSION (commit COMMIT)": what --version prints and the About text begins with.
inline std::string VersionLine(const std::string& program) {
  return program + " " + kVersion + " (commit " + kCommit + ")";
}

// What the program's About box says: the version line, what the program is, and its licence.
inline std::string AboutText() {
  return VersionLine("Lumora") +
         "\n\n五位数开奖的计划、走势曲线与投注辅助。\n"
         "本程序是自由软件，按 GNU 通用公共许可证第 3 版或（由您选择）任何更新版本"
         "（GPL-3.0-or-later）发布，不提供任何担保；许可证全文随程序一同提供。\n\n"
         "Plans, trend curves and betting help for a five-digit draw.\n"
         "Free software under the GNU General Public License, version 3 or (at your option) any later "
         "version (GPL-3.0-or-later), with no warranty; the licence's full text comes with the program.";
}

}  // namespace lumora
