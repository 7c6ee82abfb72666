#include "plan/PlanDefaults.h"

#include "core/Text.h"

namespace lumora {

const std::vector<std::pair<std::string, std::string>>& PlanDesignTexts() {
  static const std::vector<std::pair<std::string, std::string>> texts = [] {
    std::vector<std::pair<std::string, std::string>> t = {
        {"T_jiankong_rc", "01.02.03"},
        {"T_jiankong_15di_geshu", "0"},
        {"T_duoqi", "3"},
        {"T_jh_qi_baoliu", "20"},
        {"T_bj", "中中挂挂挂"},
        {"T_zdy_yongyu_0", "中中中"},
        {"T_zdy_yongyu_1", "------"},
        {"T_zdy_yongyu_2", "Lumora计划"},
        {"T_jihua_qianming", "签名档位置"},
        {"T_jihua_jj_dadi_zhushu", "0"},
        {"T_jh_dadi_chongfu_cs", "18"},
        {"T_jh_dadi_chongfu_rc", "08.09.10.11.12.13.14"},
        {"T_moshier_input", "01.02.03.04.05=12345\r\n01.03.05.07.09.11=1234\r\n10.11.12.13=12\r\n"},
        {"T_moshier_input_rc", "01.02.03"},
        {"T_beiyong_rc", "0"},
        {"T_jihua_danma", "12345=123\r\n5678=12\r\n4562=12\r\n23688=123"},
        {"T_jihua_danma_rc", "012345"},
        {"T_szzx_canshu_0", "1940"},
        {"T_szzx_canshu_1", "1"},
        {"T_szzx_canshu_2", "1-2-4-8"},
        {"T_szzx_canshu_3", "3"},
        {"T_szzx_canshu_4", "0.01"},
    };
    for (int i = 0; i < 15; ++i) t.emplace_back(Indexed("T_quxian_zhushu", i), std::to_string(110 + 10 * i));
    for (int i = 0; i < 7; ++i) t.emplace_back(Indexed("L_jjdi_zhushu", i), "0");
    t.emplace_back("L_jjdi_zhushu1_7", "0");
    return t;
  }();
  return texts;
}

void ApplyPlanDesignValues(Form& form) {
  for (const auto& [key, text] : PlanDesignTexts()) form.setText(key, text);
  form.setChecked("Op_jiankong_zihui", true);
  form.setChecked("Op_jiankong_shougong", false);
}

}  // namespace lumora
