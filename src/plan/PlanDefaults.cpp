#include "plan/PlanDefaults.h"

#include "core/Text.h"
#include "core/controls/Fmain.h"

namespace lumora {

const ControlTexts& PlanDesignTexts() {
  static const ControlTexts texts = [] {
    ControlTexts t = {
        {fmain::T_jiankong_rc, "01.02.03"},
        {fmain::T_jiankong_15di_geshu, "0"},
        {fmain::T_duoqi, "3"},
        {fmain::T_jh_qi_baoliu, "20"},
        {fmain::T_bj, "中中挂挂挂"},
        {fmain::T_zdy_yongyu[0], "中中中"},
        {fmain::T_zdy_yongyu[1], "------"},
        {fmain::T_zdy_yongyu[2], "Lumora计划"},
        {fmain::T_jihua_qianming, "签名档位置"},
        {fmain::T_jihua_jj_dadi_zhushu, "0"},
        {fmain::T_jh_dadi_chongfu_cs, "18"},
        {fmain::T_jh_dadi_chongfu_rc, "08.09.10.11.12.13.14"},
        {fmain::T_moshier_input, "01.02.03.04.05=12345\r\n01.03.05.07.09.11=1234\r\n10.11.12.13=12\r\n"},
        {fmain::T_moshier_input_rc, "01.02.03"},
        {fmain::T_beiyong_rc, "0"},
        {fmain::T_jihua_danma, "12345=123\r\n5678=12\r\n4562=12\r\n23688=123"},
        {fmain::T_jihua_danma_rc, "012345"},
        {fmain::T_szzx_canshu[0], "1940"},
        {fmain::T_szzx_canshu[1], "1"},
        {fmain::T_szzx_canshu[2], "1-2-4-8"},
        {fmain::T_szzx_canshu[3], "3"},
        {fmain::T_szzx_canshu[4], "0.01"},
    };
    for (int i = 0; i < 15; ++i) t.emplace_back(fmain::T_quxian_zhushu[i], std::to_string(110 + 10 * i));
    for (int i = 0; i < 7; ++i) t.emplace_back(fmain::L_jjdi_zhushu[i], "0");
    t.emplace_back(fmain::L_jjdi_zhushu1[7], "0");
    return t;
  }();
  return texts;
}

void ApplyPlanDesignValues(Form& form) {
  for (const auto& [key, text] : PlanDesignTexts()) form.setText(key, text);
  form.setChecked(fmain::Op_jiankong_zihui, true);
  form.setChecked(fmain::Op_jiankong_shougong, false);
}

}  // namespace lumora
