#pragma once
// Design values of the controls a scheme or settings record carries, and a context on a fresh data
// folder at those values.
#include <string>

#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "engine/support/EngineFixture.h"

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

// A context on a data folder of its own, the form at its design values, notices recorded.
struct DataFolderContext : testing::DataFolderContext {
  DataFolderContext() { SetDesignValues(cx.form); }
};

}  // namespace lumora::test
