#pragma once
// Design values of the controls a scheme or settings record carries, and a fresh data folder.
#include <filesystem>
#include <random>
#include <string>

#include "core/Context.h"
#include "core/RecordingPorts.h"
#include "core/Text.h"
#include "core/controls/Fmain.h"

namespace lumora::test {

inline const char* const kDesignGroups = "01.02.03.04.05=12345\r\n01.03.05.07.09.11=1234\r\n10.11.12.13=12";

inline void SetDesignValues(Form& f) {
  for (int i = 0; i < 15; ++i) {
    f.set(fmain::T_quxian_zhushu[i], 110 + 10 * i);
    f.setText(fmain::T_xl_muduan[i], "1111111111");
    f.setChecked(fmain::Check_xl_md[i], false);
    f.setChecked(fmain::Ch_jiankong_jj[i], true);
  }
  f.setChecked(fmain::Check_jh_dadi_chongfu, true);
  f.setText(fmain::T_jh_dadi_chongfu_cs, "18");
  f.setText(fmain::T_jh_dadi_chongfu_rc, "08.09.10.11.12.13.14");
  f.setText(fmain::T_jiankong_rc, "01.02.03");
  f.setChecked(fmain::Check_jh_dadi_fenzu, false);
  f.setText(fmain::T_moshier_input, kDesignGroups);
  f.setText(fmain::T_moshier_input_rc, "01.02.03");
}

// A temporary data folder with an empty "fa/", removed at the end of the test.
struct TempDataFolder {
  std::filesystem::path root;
  TempDataFolder() {
    std::random_device rd;
    root = std::filesystem::temp_directory_path() / ("lumora-scheme-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(root / "fa");
  }
  ~TempDataFolder() {
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
  }
};

// A context on a data folder of its own, the form at its design values, notices recorded.
struct DataFolderContext {
  TempDataFolder folder;
  Context cx;
  RecordingPrompter prompter;
  DataFolderContext() {
    cx.data = DataFolder(folder.root);
    cx.ports.prompter = &prompter;
    SetDesignValues(cx.form);
  }
};

}  // namespace lumora::test
