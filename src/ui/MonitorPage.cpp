// The monitor tab "监控界面": the fifteen pools' selection and copy buttons, the coverage list,
// the recompute mode, the alarm pattern, and the monitor board of the last twenty draws.
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QWidget>

#include "alarm/Texts.h"
#include "core/controls/Fmain.h"
#include "plan/MonitorPools.h"
#include "session/PlanSession.h"
#include "ui/ChartView.h"
#include "ui/Pages.h"
#include "ui/PlanWidgets.h"
#include "ui/Shell.h"
#include "ui/Widgets.h"

namespace lumora {

using namespace plan_ui;

void BuildMonitorPage(Shell& shell, QWidget* page) {
  auto* outer = new QHBoxLayout(page);

  auto* pools = new QGroupBox(QString::fromUtf8("15条线的小底"), page);
  auto* grid = new QGridLayout(pools);
  for (int i = 0; i < kMonitorPoolCount; ++i) {
    auto* box = Check(pools, fmain::Ch_jiankong_jj[i], std::to_string(i + 1).c_str());
    grid->addWidget(box, i / 3, (i % 3) * 2);
    grid->addWidget(NewButton(pools, fmain::C_xiaodi_cp[i], "复"), i / 3, (i % 3) * 2 + 1);
    shell.onUserChange(fmain::Ch_jiankong_jj[i], [](Session& s) { RecountMonitorSelection(s.cx); });
    shell.onClick(pools, fmain::C_xiaodi_cp[i], [i](Session& s) {
      PlanEnv env = PlanEnvOf(s);
      CopyMonitorPool(env, i);
    });
  }
  auto* all = new QHBoxLayout;
  all->addWidget(NewButton(pools, fmain::C_xl_all[0], "全选"));
  all->addWidget(NewButton(pools, fmain::C_xl_all[1], "全清"));
  all->addWidget(plan_ui::Label(pools, "已选："));
  all->addWidget(Line(pools, fmain::T_jiankong_15di_geshu, 40));
  grid->addLayout(all, 5, 0, 1, 6);
  for (int k = 0; k < 2; ++k) shell.onClick(pools, fmain::C_xl_all[k], [k](Session& s) { SelectAllMonitors(s.cx, k); });

  auto* acc = new QHBoxLayout;
  acc->addWidget(plan_ui::Label(pools, "交集容对"));
  acc->addWidget(Line(pools, fmain::T_jiankong_rc));
  grid->addLayout(acc, 6, 0, 1, 6);

  auto* mode = new QHBoxLayout;
  auto* every = new QRadioButton(QString::fromUtf8("每期算号"), pools);
  every->setObjectName(ObjectName(fmain::Op_jiankong_zihui));
  every->setChecked(true);
  auto* keep = new QRadioButton(QString::fromUtf8("保持当前底"), pools);
  keep->setObjectName(ObjectName(fmain::Op_jiankong_shougong));
  auto* group = new QButtonGroup(pools);
  group->addButton(every);
  group->addButton(keep);
  mode->addWidget(every);
  mode->addWidget(keep);
  grid->addLayout(mode, 7, 0, 1, 6);

  auto* exportPools = NewButton(pools, fmain::Labe_daochu_dadi, "<导出小底>");
  exportPools->setFlat(true);
  grid->addWidget(exportPools, 8, 0, 1, 3);
  shell.onClick(pools, fmain::Labe_daochu_dadi, [](Session& s) { ExportBasePools(s.cx, s.plan); });

  // The alarm pattern that the plan judgement tests after every draw.
  auto* alarm = new QGroupBox(QString::fromUtf8(alarm_text::kAlarmFrame), page);
  alarm->setObjectName(ObjectName(fmain::Frame_baojing));
  auto* ag = new QGridLayout(alarm);
  ag->addWidget(Check(alarm, fmain::Check_baojing, alarm_text::kAlarmSwitch), 0, 0);
  ag->addWidget(Line(alarm, fmain::T_bj, 110), 0, 1);
  ag->addWidget(plan_ui::Label(alarm, alarm_text::kPatternNoteRight), 1, 0, 1, 2);
  ag->addWidget(plan_ui::Label(alarm, alarm_text::kPatternNoteMax), 2, 0, 1, 2);

  auto* left = new QVBoxLayout;
  left->addWidget(pools);
  left->addWidget(alarm);
  left->addStretch();
  outer->addLayout(left);

  auto* boardBox = new QGroupBox(QString::fromUtf8("监控记录"), page);
  auto* bv = new QVBoxLayout(boardBox);
  auto* board = new ChartView(boardBox);
  board->setObjectName(ObjectName(fmain::Pic_jiangkong));
  board->setMinimumSize(520, 420);
  bv->addWidget(board, 1);
  bv->addWidget(NewButton(boardBox, fmain::C_jiankong_di_cls, "清空监控记录"));
  shell.onClick(boardBox, fmain::C_jiankong_di_cls, [](Session& s) { ClearMonitorBoard(s.cx, s.plan); });
  outer->addWidget(boardBox, 1);
}

}  // namespace lumora
