#pragma once
// The controls of the main window, each with its kind (Form keys "<name>").
// A widget the window builds is listed here, or the binder refuses the window.
#include "core/controls/Declare.h"

#define LUMORA_FMAIN_CONTROLS(ONE, ARRAY, P)     \
  ONE(P, Button, C_charu)                        \
  ONE(P, Button, C_copy)                         \
  ONE(P, Button, C_copy_1)                       \
  ONE(P, Button, C_copy_fanji)                   \
  ONE(P, Button, C_dadi_k)                       \
  ONE(P, Button, C_dadi_look)                    \
  ONE(P, Button, C_danma_gengxin)                \
  ONE(P, Button, C_daochu_xh_di)                 \
  ONE(P, Button, C_dsf_cs)                       \
  ARRAY(P, Button, C_dsf_sb, 0, 1)               \
  ONE(P, Button, C_duanzu_charu)                 \
  ARRAY(P, Button, C_duqu, 0, 14)                \
  ONE(P, Button, C_dz_jj_gx)                     \
  ARRAY(P, Button, C_fuzhu_cls, 0, 6)            \
  ARRAY(P, Button, C_fuzhu_copy, 0, 7)           \
  ARRAY(P, Button, C_fuzhu_tie, 0, 6)            \
  ARRAY(P, Button, C_gengxin, 0, 14)             \
  ONE(P, Button, C_gx_jh)                        \
  ONE(P, Button, C_huaxian_ks)                   \
  ONE(P, Button, C_huaxian_line)                 \
  ONE(P, Button, C_jiankong_di_cls)              \
  ONE(P, Button, C_jihua_cls)                    \
  ONE(P, Button, C_jihua_jj_copy)                \
  ONE(P, Button, C_jihua_ks)                     \
  ONE(P, Button, C_k_yulan_cls)                  \
  ONE(P, Button, C_k_yulan_shou)                 \
  ONE(P, Button, C_kjh_shanchu)                  \
  ONE(P, Button, C_paixu_add)                    \
  ONE(P, Button, C_paixu_add_02)                 \
  ONE(P, Button, C_paixu_copy)                   \
  ONE(P, Button, C_paixu_go)                     \
  ARRAY(P, Button, C_paixu_qishu, 0, 1)          \
  ONE(P, Button, C_paixu_qishu_jia)              \
  ONE(P, Button, C_paixu_qishu_jian)             \
  ONE(P, Button, C_paixu_shuaxin)                \
  ONE(P, Button, C_paixu_shuaxin_02)             \
  ARRAY(P, Button, C_pt_id_shibie, 0, 5)         \
  ONE(P, Button, C_qm_show)                      \
  ONE(P, Button, C_qun_all)                      \
  ONE(P, Button, C_qunfa_find)                   \
  ONE(P, Button, C_qunfa_shoudong)               \
  ONE(P, Button, C_qunfa_shuoming)               \
  ONE(P, CheckBox, C_qunfa_sx)                   \
  ONE(P, Button, C_rc_gx)                        \
  ONE(P, Button, C_rulu_kjh)                     \
  ONE(P, Button, C_save_yongyu)                  \
  ONE(P, Button, C_shoudong_xiazhu)              \
  ARRAY(P, Button, C_sst_0, 1, 5)                \
  ONE(P, Button, C_sst_fenxi)                    \
  ONE(P, Button, C_sst_tool)                     \
  ONE(P, Button, C_sz_sx_0)                      \
  ONE(P, Button, C_sz_touzhu)                    \
  ARRAY(P, Button, C_sz_zhongxin, 0, 7)          \
  ONE(P, Button, C_sz_zx_off)                    \
  ONE(P, Button, C_touzhu_gx)                    \
  ARRAY(P, Button, C_xiaodi_cp, 0, 14)           \
  ARRAY(P, Button, C_xl_all, 0, 1)               \
  ONE(P, Button, C_yj_5d_cls)                    \
  ONE(P, CheckBox, Cauto)                        \
  ARRAY(P, CheckBox, Ch_jiankong_jj, 0, 14)      \
  ONE(P, CheckBox, Check_baojing)                \
  ONE(P, CheckBox, Check_baozi)                  \
  ONE(P, CheckBox, Check_bd)                     \
  ONE(P, CheckBox, Check_beiyong_canyu)          \
  ONE(P, CheckBox, Check_duanzu_canyu)           \
  ONE(P, CheckBox, Check_duoqi)                  \
  ONE(P, CheckBox, Check_dz_auto)                \
  ONE(P, CheckBox, Check_hang_lr)                \
  ONE(P, CheckBox, Check_jh_dadi_chongfu)        \
  ONE(P, CheckBox, Check_jh_dadi_fenzu)          \
  ONE(P, CheckBox, Check_jihua_jilu_haoma)       \
  ONE(P, CheckBox, Check_jihua_sx)               \
  ONE(P, CheckBox, Check_pszj_sx)                \
  ONE(P, CheckBox, Check_pt_tz_sx)               \
  ONE(P, CheckBox, Check_qf_min)                 \
  ONE(P, CheckBox, Check_touzhu_sx)              \
  ARRAY(P, CheckBox, Check_xl_md, 0, 14)         \
  ONE(P, Button, Cshoudong)                      \
  ONE(P, Frame, Fr_ms1)                          \
  ONE(P, Frame, Fr_ms2)                          \
  ONE(P, Frame, Fr_qianming)                     \
  ONE(P, Frame, Frame_baojing)                   \
  ARRAY(P, Frame, Frame_canshu, 0, 1)            \
  ONE(P, Frame, Frame_dadi_look)                 \
  ARRAY(P, Frame, Frame_ding, 1, 5)              \
  ONE(P, Widget, Frame_main_area)                \
  ONE(P, Frame, Frame_mos)                       \
  ONE(P, Frame, Frame_paixu_guolv)               \
  ONE(P, Frame, Frame_qunfa)                     \
  ONE(P, Frame, Frame_sz_zx)                     \
  ONE(P, Frame, Frame_xl_md)                     \
  ONE(P, Frame, Frame_zijin)                     \
  ONE(P, Widget, Frame_zijin_area)               \
  ONE(P, Label, L_djs)                           \
  ONE(P, Label, L_jindu_news)                    \
  ONE(P, Label, L_journal)                       \
  ONE(P, Label, L_zijin_fengxian)                \
  ARRAY(P, Label, L_jjdi_zhushu, 0, 6)           \
  ARRAY(P, Label, L_jjdi_zhushu1, 7, 7)          \
  ARRAY(P, Label, L_xl_zhushu, 0, 14)            \
  ONE(P, Button, Labe_daochu_dadi)               \
  ONE(P, Label, Label_huaxian_bangzhu)           \
  ONE(P, Label, Label_huaxian_shuoming)          \
  ONE(P, Label, Label_paixu_zhushu)              \
  ONE(P, ListBox, List01)                        \
  ONE(P, ListBox, List02)                        \
  ONE(P, ListBox, List_touzhu)                   \
  ONE(P, ListBox, List_tz_new)                   \
  ARRAY(P, OptionButton, Op_3x_moshi, 0, 2)      \
  ONE(P, OptionButton, Op_jiankong_shougong)     \
  ONE(P, OptionButton, Op_jiankong_zihui)        \
  ARRAY(P, OptionButton, Op_mos, 0, 2)           \
  ARRAY(P, OptionButton, Option_touzhu_sz, 0, 2) \
  ONE(P, Picture, Pic)                           \
  ONE(P, Picture, Pic_jiangkong)                 \
  ONE(P, Frame, Pic_jindu)                       \
  ONE(P, ListBox, qf_list)                       \
  ARRAY(P, TextBox, T_beishu_xy, 0, 1)           \
  ONE(P, TextBox, T_beiyong_rc)                  \
  ONE(P, TextBox, T_bj)                          \
  ONE(P, IntBox, T_dadi_zhushu)                  \
  ARRAY(P, TextBox, T_dd_beiyong, 0, 7)          \
  ARRAY(P, TextBox, T_dsf_canshu, 0, 1)          \
  ONE(P, NumberBox, T_duoqi)                     \
  ONE(P, IntBox, T_jh_dadi_chongfu_cs)           \
  ONE(P, TextBox, T_jh_dadi_chongfu_rc)          \
  ONE(P, TextBox, T_jh_dadi_jilu)                \
  ONE(P, TextBox, T_jh_dadi_jilu_rc)             \
  ONE(P, IntBox, T_jh_qi_baoliu)                 \
  ONE(P, TextBox, T_jiankong_15di_geshu)         \
  ONE(P, TextBox, T_jiankong_rc)                 \
  ONE(P, TextBox, T_jihua_danma)                 \
  ONE(P, TextBox, T_jihua_danma_rc)              \
  ONE(P, TextBox, T_jihua_jj_dadi)               \
  ONE(P, IntBox, T_jihua_jj_dadi_zhushu)         \
  ONE(P, TextBox, T_jihua_qianming)              \
  ONE(P, TextBox, T_moshier_input)               \
  ONE(P, TextBox, T_moshier_input_rc)            \
  ONE(P, TextBox, T_paixu_dadi)                  \
  ONE(P, TextBox, T_paixu_fenjie_houbei)         \
  ONE(P, TextBox, T_paixu_fenjie_houbei_02)      \
  ONE(P, TextBox, T_paixu_fenjie_houbei_cs)      \
  ONE(P, TextBox, T_paixu_fenjie_houbei_cs_02)   \
  ONE(P, TextBox, T_paixu_fenjiemoshi)           \
  ONE(P, TextBox, T_paixu_fenjiemoshi_02)        \
  ONE(P, TextBox, T_paixu_input)                 \
  ONE(P, TextBox, T_paixu_input_rc)              \
  ONE(P, IntBox, T_paixu_qishu)                  \
  ONE(P, IntBox, T_paixu_qishu_02)               \
  ARRAY(P, NumberBox, T_qf_yanshi, 0, 1)         \
  ARRAY(P, IntBox, T_quxian_zhushu, 0, 14)       \
  ONE(P, TextBox, T_rj_jh_dd)                    \
  ARRAY(P, NumberBox, T_szzx_canshu, 0, 4)       \
  ARRAY(P, TextBox, T_touzhu_dd, 0, 1)           \
  ARRAY(P, TextBox, T_xl_muduan, 0, 14)          \
  ONE(P, TextBox, T_xy)                          \
  ARRAY(P, TextBox, T_zd_touzhu_beitou, 0, 1)    \
  ARRAY(P, TextBox, T_zdy_yongyu, 0, 2)          \
  ONE(P, TextBox, T_zhushu_ag)                   \
  ARRAY(P, NumberBox, T_zijin, 0, 4)             \
  ONE(P, TextBox, Tdadi)                         \
  ARRAY(P, TextBox, Tid, 0, 2)                   \
  ONE(P, TextBox, Tkjh)                          \
  ONE(P, Label, Tnew)                            \
  ONE(P, Timer, Timer_gx)                        \
  ONE(P, Timer, Timer_lj)                        \
  ONE(P, Timer, Timer_qf_dd)                     \
  ONE(P, Timer, Timer_jiesuo)                    \
  ONE(P, Timer, Timer_shubiao)                   \
  ONE(P, Timer, Timer_tz_djs)                    \
  ONE(P, Timer, Timer_dianji)                    \
  ONE(P, Timer, Timer_jiaoben)                   \
  ONE(P, Timer, Timer_sz_zx)                     \
  ONE(P, Timer, Timer_zijin_fengxian)            \
  ARRAY(P, Timer, Timer_pt_id, 0, 2)             \
  ARRAY(P, Timer, Timer_dsf_sb, 0, 1)

LUMORA_DECLARE_WINDOW(fmain, "Fmain", "", LUMORA_FMAIN_CONTROLS)
