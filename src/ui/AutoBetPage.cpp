// "附加功能": the automation frame (capturing the betting client, recording and replaying the
// step list, the external betting tool), the group send, and the money frame beside them.
#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>
#include <memory>

#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "output/BetRun.h"
#include "output/Driving.h"
#include "output/Executor.h"
#include "output/GroupSend.h"
#include "plan/PlanCopies.h"
#include "ui/Pages.h"
#include "ui/PlanWidgets.h"
#include "ui/Shell.h"
#include "ui/Widgets.h"

namespace lumora {

namespace {

QLineEdit* Line(QWidget* parent, ControlRef name, const char* text = "", int width = 0) {
  auto* e = new QLineEdit(text, parent);
  e->setObjectName(ObjectName(name));
  if (width > 0) e->setMaximumWidth(width);
  return e;
}

QLabel* Note(QWidget* parent, const char* text) {
  auto* l = new QLabel(text, parent);
  l->setWordWrap(true);
  return l;
}

// Only the digits 0-9 can be typed; every other key press is dropped, Backspace included.
class DigitsOnly final : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::KeyPress) {
      auto* k = static_cast<QKeyEvent*>(e);
      if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) return false;  // focus moves, nothing typed
      const QString t = k->text();
      return !(t.size() == 1 && t[0] >= '0' && t[0] <= '9');
    }
    return QObject::eventFilter(watched, e);
  }
};

// Owns the system desktop for the program's life and frees the pointer whenever the main window
// closes or the program ends.
class DesktopKeeper final : public QObject {
 public:
  DesktopKeeper(Shell& shell, QWidget* mainWindow) : QObject(mainWindow), shell_(shell) {
#ifdef LUMORA_HAS_DESKTOP_BACKEND
    if (!shell.session().output.desktop) {
      desktop_ = CreateSystemDesktop();
      shell.session().output.desktop = desktop_.get();
    }
#endif
    mainWindow->installEventFilter(this);
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { free(); });
  }
  ~DesktopKeeper() override {
    free();
    if (desktop_ && shell_.session().output.desktop == desktop_.get()) shell_.session().output.desktop = nullptr;
  }
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::Close) free();
    return QObject::eventFilter(watched, e);
  }

 private:
  void free() {
    Session& s = shell_.session();
    if (s.output.desktop) LockMouse(s.cx, s.output, 0);
  }
  Shell& shell_;
  std::unique_ptr<Desktop> desktop_;
};

QGroupBox* BuildAutomationFrame(Shell& shell, QWidget* page) {
  auto* g = new QGroupBox("自动投注设置[默认右键确认]", page);
  g->setObjectName(ObjectName(fmain::Frame_canshu[1]));
  auto* box = new QVBoxLayout(g);
  box->addWidget(Note(g, "备注：为了兼容大大小小不同的各类需求，采用模拟点击的思路来做，目的是通用各个平台。"));

  auto* grid = new QGridLayout;
  const char* labels[3] = {"投注框识别：", "倍数识别：", "平台位置识别"};
  for (int k = 0; k < 3; ++k) {
    grid->addWidget(new QLabel(labels[k], g), k, 0);
    grid->addWidget(Line(g, fmain::Tid[k]), k, 1);
    if (k < 2) grid->addWidget(Line(g, fmain::T_beishu_xy[k], "", 90), k, 2);
    grid->addWidget(NewButton(g, fmain::C_pt_id_shibie[2 * k], "开始识别"), k, 3);
    grid->addWidget(NewButton(g, fmain::C_pt_id_shibie[2 * k + 1], "发送测试"), k, 4);
  }
  box->addLayout(grid);
  auto* hint = new QHBoxLayout;
  hint->addWidget(Note(g, "右键结束"));
  auto* xy = new QPlainTextEdit("x-y", g);
  xy->setObjectName(ObjectName(fmain::T_xy));
  xy->setReadOnly(true);
  xy->setMaximumHeight(48);
  xy->setMaximumWidth(120);
  hint->addWidget(xy);
  box->addLayout(hint);

  auto* steps = new QHBoxLayout;
  auto* stepList = new QListWidget(g);
  stepList->setObjectName(ObjectName(fmain::List_touzhu));
  stepList->setMinimumHeight(110);
  steps->addWidget(stepList, 1);
  auto* stepButtons = new QVBoxLayout;
  stepButtons->addWidget(NewButton(g, fmain::C_sz_touzhu, "开始设置"));
  stepButtons->addWidget(NewButton(g, fmain::C_shoudong_xiazhu, "手动强制下注启动"));
  stepButtons->addStretch(1);
  steps->addLayout(stepButtons);
  box->addLayout(steps);

  auto* bets = new QGridLayout;
  auto* numbers = new QLineEdit(g);
  numbers->setObjectName(ObjectName(fmain::T_touzhu_dd[0]));
  bets->addWidget(numbers, 0, 0, 1, 3);
  bets->addWidget(new QLabel("要投注的注数：", g), 1, 0);
  bets->addWidget(Line(g, fmain::T_touzhu_dd[1], "0", 60), 1, 1);
  box->addLayout(bets);
  auto* autoBet = new QCheckBox("自动投注(开奖后1分钟自动投注)", g);
  autoBet->setObjectName(ObjectName(fmain::Check_touzhu_sx));
  box->addWidget(autoBet);
  auto* tool = new QCheckBox("第三方投注，本方停住[请确认第三方端开启]", g);
  tool->setObjectName(ObjectName(fmain::Check_pt_tz_sx));
  box->addWidget(tool);

  auto* ext = new QGridLayout;
  ext->addWidget(NewButton(g, fmain::C_dsf_sb[0], "大底框设别[传递大底号码]"), 0, 0);
  ext->addWidget(Line(g, fmain::T_dsf_canshu[0]), 0, 1);
  ext->addWidget(NewButton(g, fmain::C_dsf_sb[1], "下注倍数设别[传递倍数]"), 1, 0);
  ext->addWidget(Line(g, fmain::T_dsf_canshu[1]), 1, 1);
  ext->addWidget(NewButton(g, fmain::C_dsf_cs, "测试"), 0, 2, 2, 1);
  box->addLayout(ext);

  for (int k = 0; k < 3; ++k) {
    shell.onClick(g, fmain::C_pt_id_shibie[2 * k], [k](Session& s) { CaptureTarget(s.cx, s.output, k); });
    shell.onClick(g, fmain::C_pt_id_shibie[2 * k + 1], [k](Session& s) { SendTest(s.cx, s.output, 2 * k + 1); });
  }
  shell.onClick(g, fmain::C_sz_touzhu, [](Session& s) { RecordSteps(s.cx, s.output); });
  shell.onClick(g, fmain::C_shoudong_xiazhu, [](Session& s) { StartCountdownByHand(s.cx); });
  for (int k = 0; k < 2; ++k)
    shell.onClick(g, fmain::C_dsf_sb[k], [k](Session& s) { CaptureToolWindow(s.cx, s.output, k); });
  shell.onClick(g, fmain::C_dsf_cs, [](Session& s) { TestToolWindows(s.cx, s.output); });
  return g;
}

QGroupBox* BuildGroupSendFrame(Shell& shell, QWidget* page) {
  auto* g = new QGroupBox("QQ群发", page);
  g->setObjectName(ObjectName(fmain::Frame_qunfa));
  auto* box = new QHBoxLayout(g);
  auto* list = new QListWidget(g);
  list->setObjectName(ObjectName(fmain::qf_list));
  list->setSelectionMode(QAbstractItemView::MultiSelection);
  list->setMinimumHeight(120);
  auto* column = new QVBoxLayout;
  column->addWidget(list, 1);
  // The signature frame sits under the target list, shown and hidden by "打开设置签名档". The
  // signature may span several lines: it follows the message untrimmed.
  auto* sign = new QGroupBox("签名档设置", g);
  sign->setObjectName(ObjectName(fmain::Fr_qianming));
  auto* sh = new QHBoxLayout(sign);
  sh->addWidget(plan_ui::Text(sign, fmain::T_jihua_qianming, 56), 1);
  sh->addWidget(plan_ui::NewButton(sign, fmain::C_save_yongyu, "保存签名"));
  column->addWidget(sign);
  box->addLayout(column, 1);

  auto* side = new QVBoxLayout;
  side->addWidget(NewButton(g, fmain::C_qunfa_find, "刷新群列表"));
  side->addWidget(NewButton(g, fmain::C_qun_all, "列表全选"));
  auto* autoSend = new QCheckBox("自动群发", g);
  autoSend->setObjectName(ObjectName(fmain::C_qunfa_sx));
  side->addWidget(autoSend);
  side->addWidget(NewButton(g, fmain::C_qunfa_shoudong, "手动发送"));
  side->addWidget(NewButton(g, fmain::C_qunfa_shuoming, "设置说明"));
  auto* delay = new QHBoxLayout;
  auto* digits = new DigitsOnly(g);
  for (int i = 0; i < 2; ++i) {
    QLineEdit* e = Line(g, fmain::T_qf_yanshi[i], i == 0 ? "60" : "0", 50);
    e->installEventFilter(digits);
    delay->addWidget(e);
  }
  side->addLayout(delay);
  auto* minimise = new QCheckBox("群发后最小化QQ发言窗口", g);
  minimise->setObjectName(ObjectName(fmain::Check_qf_min));
  side->addWidget(minimise);
  side->addWidget(NewButton(g, fmain::C_qm_show, "打开设置签名档"));
  side->addStretch(1);
  box->addLayout(side);

  shell.onClick(g, fmain::C_qunfa_find, [](Session& s) { RefreshQqTargets(s.cx, s.output); });
  shell.onClick(g, fmain::C_qun_all, [](Session& s) { SelectAllQqTargets(s.cx); });
  shell.onClick(g, fmain::C_qunfa_shoudong, [](Session& s) { SendToQqGroupsLocked(s.cx, s.output); });
  shell.onClick(g, fmain::C_qunfa_shuoming, [](Session& s) { ShowGroupSendHelp(s.cx); });
  shell.onClick(g, fmain::C_qm_show, [](Session& s) { ToggleSignatureFrame(s.cx); });
  shell.onClick(g, fmain::C_save_yongyu, [](Session& s) { SaveSignature(s.cx); });
  return g;
}

void ConnectTimers(Shell& shell) {
  for (int k = 0; k < 3; ++k) shell.onTimer(fmain::Timer_pt_id[k], [k](Session& s) { CaptureTick(s.cx, s.output, k); });
  for (int k = 0; k < 2; ++k)
    shell.onTimer(fmain::Timer_dsf_sb[k], [k](Session& s) { CaptureToolTick(s.cx, s.output, k); });
  shell.onTimer(fmain::Timer_shubiao, [](Session& s) { RecordTick(s.cx, s.output); });
  shell.onTimer(fmain::Timer_tz_djs, [](Session& s) { BetCountdown(s.cx, s.output, s.money); });
  shell.onTimer(fmain::Timer_dianji, [](Session& s) { StepTick(s.cx, s.output, s.money); });
  shell.onTimer(fmain::Timer_qf_dd, [](Session& s) { GroupSendTick(s.cx, s.output); });
  shell.onTimer(fmain::Timer_jiesuo, [](Session& s) { UnlockTick(s.cx, s.output); });
  shell.onTimer(kScriptTimer, [](Session& s) { ScriptTick(s.cx, s.output); });
}

}  // namespace

void BuildAutoBetPage(Shell& shell, QWidget* page) {
  new DesktopKeeper(shell, page->window());
  auto* outer = new QHBoxLayout(page);
  auto* left = new QVBoxLayout;
  left->addWidget(BuildAutomationFrame(shell, page));
  left->addWidget(BuildGroupSendFrame(shell, page));
  outer->addLayout(left, 3);

  auto* capital = new QWidget(page);
  capital->setObjectName(ObjectName(fmain::Frame_zijin_area));
  BuildCapitalFrame(shell, capital);
  if (!capital->layout()) {
    auto* column = new QVBoxLayout(capital);
    column->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w : capital->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) column->addWidget(w);
    column->addStretch(1);
  }
  outer->addWidget(capital, 2);
  ConnectTimers(shell);
}

}  // namespace lumora
