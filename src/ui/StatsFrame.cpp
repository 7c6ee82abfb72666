// The statistics frame "投注参数设置" (Frame_canshu_0): odds, start multiple, multiple sequence,
// push-wave periods and rebate, the three schemes, and the confirm button.
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QWidget>

#include "core/controls/Fmain.h"
#include "plan/PlanRecord.h"
#include "session/PlanSession.h"
#include "ui/Pages.h"
#include "ui/PlanWidgets.h"
#include "ui/Shell.h"
#include "ui/Widgets.h"

namespace lumora {

using namespace plan_ui;

QWidget* BuildStatsFrame(Shell& shell, QWidget* parent) {
  auto* frame = new QGroupBox(QString::fromUtf8("投注参数设置"), parent);
  frame->setObjectName(ObjectName(fmain::Frame_canshu[0]));
  auto* grid = new QGridLayout(frame);
  const char* labels[5] = {"奖金", "起始倍数", "倍数设置", "推波期数", "返点"};
  for (int i = 0; i < 5; ++i) {
    grid->addWidget(new QLabel(QString::fromUtf8(labels[i]), frame), i, 0);
    grid->addWidget(Line(frame, fmain::T_szzx_canshu[i]), i, 1);
  }
  const char* schemes[3] = {"平刷模式", "倍投模式", "推波模式"};
  auto* group = new QButtonGroup(frame);
  for (int i = 0; i < 3; ++i) {
    auto* o = new QRadioButton(QString::fromUtf8(schemes[i]), frame);
    o->setObjectName(ObjectName(fmain::Option_touzhu_sz[i]));
    o->setChecked(i == 0);
    group->addButton(o);
    grid->addWidget(o, 5 + i, 0, 1, 2);
  }
  grid->addWidget(new QLabel(QString::fromUtf8("备注：严格按格式来输入，否则软件会识别失败。"), frame), 8, 0, 1, 2);
  grid->addWidget(new QLabel(QString::fromUtf8("设置变化后，统计数据\n会被重置清零"), frame), 9, 0, 1, 2);
  grid->addWidget(NewButton(frame, fmain::C_sz_sx_0, "修改参数后确认生效"), 10, 0, 1, 2);
  shell.onClick(frame, fmain::C_sz_sx_0, [](Session& s) {
    PlanEnv env = PlanEnvOf(s);
    ConfirmStatsSettings(env);
  });
  return frame;
}

}  // namespace lumora
