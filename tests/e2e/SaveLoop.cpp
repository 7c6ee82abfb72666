// lumora-save-loop FOLDER [--once VERSION]: saves the curve store, a scheme file, the phrase file
// zdy.txt and the settings service's state over and over with the program's own save code,
// switching between two versions of every file (0, 1, 0, ...). After the first round it writes
// "ready" to standard output. With --once it saves one version of each file and exits. The
// crash-safety test kills it at random moments and checks what is left.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/Context.h"
#include "core/RecordingPorts.h"
#include "core/Text.h"
#include "core/controls/Fk.h"
#include "core/controls/Fmain.h"
#include "curves/CurveStore.h"
#include "plan/PlanCopies.h"
#include "plan/PlanDefaults.h"
#include "services/SettingsStore.h"
#include "settings/Schemes.h"

namespace {

using namespace lumora;

// Version v of every file. The two versions differ in length and in every line, so a mixed or
// cut file is never taken for one of them.
void SaveAll(Context& cx, feed::SettingsStore& state, int v) {
  CurveState curves;
  for (int s = 0; s < kCurveSlots; ++s) {
    std::string trend;
    for (int x = 0; x < kTrendLength + v * 7; ++x)
      trend += (x ? "*" : "") + std::to_string((x * 37 + s * 11 + v * 500) % 1700 - 850);
    curves.slots[static_cast<size_t>(s)] = trend;
  }
  WriteCurveStore(cx, curves);

  for (int i = 0; i < 15; ++i) cx.form.set(fmain::T_quxian_zhushu[i], 100 + 10 * i + v * (1 + i));
  cx.form.setText(fmain::T_moshier_input,
                  v ? "01.02.03=12\r\n04.05=1" : "01.02.03.04.05=12345\r\n10.11.12.13=12\r\n07.08=2");
  cx.form.setText(fk::T_fangan_name, "准准准方案");
  SaveScheme(cx);

  cx.form.setText(fmain::T_jihua_qianming, v ? "专业直选" : "专业直选 第二版签名");
  cx.form.setText(fmain::T_zdy_yongyu[0], v ? "准准准" : "中中中中");
  cx.form.setText(fmain::T_zdy_yongyu[1], "没");
  SaveSignature(cx);

  state.put("张三", v ? "*sz*110/120*18/08.09*01.02=12@03.04=1/01*1/0/1*01.02*sz*" : "*sz*old*sz*");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--once")) {
    std::fprintf(stderr, "usage: lumora-save-loop FOLDER [--once VERSION]\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder / "fa");
  Context cx;
  RecordingPrompter prompter;  // emptied every round: the loop must not collect notices without end
  cx.ports.prompter = &prompter;
  cx.data = DataFolder(folder);
  ApplyPlanDesignValues(cx.form);
  feed::SettingsStore state(folder / "state");
  if (argc == 4) {
    SaveAll(cx, state, std::atoi(argv[3]));
    return 0;
  }
  // Bounded: a helper nobody kills ends by itself.
  for (int round = 0; round < 100000; ++round) {
    SaveAll(cx, state, round % 2);
    prompter.notices.clear();
    if (round == 0) {
      std::fputs("ready\n", stdout);
      std::fflush(stdout);
    }
  }
  return 0;
}
