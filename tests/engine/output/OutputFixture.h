#pragma once
// The engine's automation over a recording desktop.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Context.h"
#include "core/RecordingPorts.h"
#include "core/Text.h"
#include "money/BetLog.h"
#include "money/MoneyState.h"
#include "output/Executor.h"
#include "output/OutputState.h"
#include "output/fake/FakeDesktop.h"

namespace lumora {

class OutputTest : public ::testing::Test {
 protected:
  Context cx;
  OutputState out;
  MoneyState money;
  FakeDesktop desk;
  RecordingPrompter prompter;
  FixedClock clock;

  OutputTest() {
    cx.ports.clipboard = &desk.clipboard();
    cx.ports.prompter = &prompter;
    cx.ports.clock = &clock;
    out.desktop = &desk;
  }

  // The bet log without the time stamps.
  std::vector<std::string> log() const {
    std::vector<std::string> lines;
    for (const std::string& l : cx.form.items(kBetLogList)) lines.push_back(l.substr(0, l.find("::")));
    return lines;
  }
  bool logged(const std::string& line) const {
    for (const std::string& l : log())
      if (l == line) return true;
    return false;
  }
  void runScripts() { RunScriptsToEnd(cx, out, desk); }
  // Events between the first event equal to `from` and the next equal to `to`, both included.
  static std::vector<std::string> Between(const std::vector<std::string>& all, const std::string& from,
                                          const std::string& to) {
    std::vector<std::string> part;
    bool in = false;
    for (const std::string& e : all) {
      if (e == from) in = true;
      if (in) part.push_back(e);
      if (in && e == to && part.size() > 1) break;
    }
    return part;
  }
};

}  // namespace lumora
