// Ftool "Lumora画线缩水区": the shrink tool. Each filter group sits in its own titled frame with
// its "全"/"清" buttons at the end of its row; the junk box, the result and the three action
// buttons form the right-hand column.
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

#include "core/Text.h"
#include "core/controls/Ftool.h"
#include "tools/ShrinkTool.h"
#include "tools/Texts.h"
#include "ui/ChartView.h"
#include "ui/Pages.h"
#include "ui/Shell.h"
#include "ui/Watchers.h"
#include "ui/Widgets.h"

namespace lumora {

namespace {

namespace tt = tools_text;

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }

QString Grey() { return QString("background-color: %1;").arg(ToQColor(tt::kGrey).name()); }

// A "全" or "清" button of C_all.
QPushButton* AllButton(Shell& shell, QWidget* parent, int item) {
  auto* b = new QPushButton(Q(ShrinkAllCaption(item)), parent);
  b->setObjectName(ObjectName(ftool::C_all[item]));
  b->setFixedSize(30, 24);
  shell.onClick(b, ftool::C_all[item], [item](Session& s) { PressShrinkAll(s.cx, item); });
  return b;
}

// A mark button: a caption, grey until clicked.
QPushButton* MarkButton(Shell& shell, QWidget* parent, ControlArray<ControlKind::Button> control, int item,
                        const QString& caption) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(ObjectName(control[item]));
  b->setFixedSize(28, 24);
  b->setStyleSheet(Grey());
  shell.onClick(b, control[item], [control, item](Session& s) { ToggleShrinkMark(s.cx, control, item); });
  return b;
}

QCheckBox* Check(QWidget* parent, ControlArray<ControlKind::CheckBox> control, int item, const QString& caption) {
  auto* c = new QCheckBox(caption, parent);
  c->setObjectName(ObjectName(control[item]));
  return c;
}

const char* const kPositions[3] = {"百位", "十位", "个位"};

// "排除复式" or "定位杀": three rows of digit buttons, one per position.
QGroupBox* DigitRows(Shell& shell, QWidget* w, const char* title, const char* note,
                     ControlArray<ControlKind::Button> control, int firstAll) {
  auto* g = new QGroupBox(title, w);
  auto* grid = new QGridLayout(g);
  grid->setHorizontalSpacing(3);
  if (note) grid->addWidget(new QLabel(note, g), 0, 0, 1, 13);
  for (int p = 0; p < 3; ++p) {
    grid->addWidget(new QLabel(kPositions[p], g), p + 1, 0);
    for (int d = 0; d < 10; ++d)
      grid->addWidget(MarkButton(shell, g, control, p * 10 + d, QString::number(d)), p + 1, d + 1);
    grid->addWidget(AllButton(shell, g, firstAll + p * 2), p + 1, 11);
    grid->addWidget(AllButton(shell, g, firstAll + p * 2 + 1), p + 1, 12);
  }
  grid->setColumnStretch(13, 1);
  return g;
}

QGroupBox* RouteBoxes(Shell& shell, QWidget* w) {
  auto* g = new QGroupBox("012路排除", w);
  auto* grid = new QGridLayout(g);
  grid->setHorizontalSpacing(6);
  for (int i = 0; i < 27; ++i) {
    QString caption = QString("%1%2%3").arg(i / 9).arg(i / 3 % 3).arg(i % 3);
    grid->addWidget(Check(g, ftool::Check_012_paichu, i, caption), i / 9, i % 9);
  }
  grid->addWidget(AllButton(shell, g, 12), 0, 9);
  grid->addWidget(AllButton(shell, g, 13), 1, 9);
  return g;
}

QGroupBox* ShapeBoxes(Shell& shell, QWidget* w) {
  auto* g = new QGroupBox("杀形态排列", w);
  auto* grid = new QGridLayout(g);
  grid->setHorizontalSpacing(6);
  grid->addWidget(new QLabel("(打钩表示删除)", g), 0, 0, 1, 10);
  struct Row {
    ControlArray<ControlKind::CheckBox> control;
    const std::array<std::string_view, 8>* patterns;
    int firstAll;
  };
  const Row rows[3] = {{ftool::Check_pailie_daxiao, &tt::kSizePatterns, 18},
                       {ftool::Check_pailie_jiou, &tt::kParityPatterns, 20},
                       {ftool::Check_pailie_zhihe, &tt::kPrimePatterns, 22}};
  for (int r = 0; r < 3; ++r) {
    for (int i = 0; i < 8; ++i) grid->addWidget(Check(g, rows[r].control, i, Q((*rows[r].patterns)[i])), r + 1, i);
    grid->addWidget(AllButton(shell, g, rows[r].firstAll), r + 1, 8);
    grid->addWidget(AllButton(shell, g, rows[r].firstAll + 1), r + 1, 9);
  }
  return g;
}

QGroupBox* BankerGroups(Shell& shell, QWidget* w) {
  auto* g = new QGroupBox("胆组", w);
  auto* grid = new QGridLayout(g);
  grid->setHorizontalSpacing(3);
  grid->addWidget(new QLabel("胆码开出个数[不选默认123]", g), 0, 12, 1, 5);
  for (int grp = 0; grp < kBankerGroups; ++grp) {
    grid->addWidget(new QLabel(QString("胆组%1").arg(grp + 1), g), grp + 1, 0);
    for (int d = 0; d < 10; ++d)
      grid->addWidget(MarkButton(shell, g, ftool::C_danzu, grp * 10 + d, QString::number(d)), grp + 1, d + 1);
    grid->addItem(new QSpacerItem(14, 1), grp + 1, 11);
    for (int c = 0; c < 4; ++c)
      grid->addWidget(MarkButton(shell, g, ftool::C_danzu_gs, grp * 4 + c, QString::number(c)), grp + 1, 12 + c);
    grid->addWidget(AllButton(shell, g, 14 + grp), grp + 1, 16);
  }
  auto* repeat = new QCheckBox("胆码计重", g);
  repeat->setObjectName(ObjectName(ftool::Check_danma_jc));
  grid->addWidget(repeat, 5, 1, 1, 6);
  grid->setRowStretch(6, 1);
  grid->setColumnStretch(17, 1);
  return g;
}

// "杀和尾" or "杀跨度": ten boxes in one row.
QGroupBox* DigitChecks(Shell& shell, QWidget* w, const char* title, ControlArray<ControlKind::CheckBox> control,
                       int firstAll) {
  auto* g = new QGroupBox(title, w);
  auto* row = new QHBoxLayout(g);
  for (int d = 0; d < 10; ++d) row->addWidget(Check(g, control, d, QString::number(d)));
  row->addStretch(1);
  row->addWidget(AllButton(shell, g, firstAll));
  row->addWidget(AllButton(shell, g, firstAll + 1));
  return g;
}

}  // namespace

void BuildToolWindow(Shell& shell, QWidget* main) {
  auto* w = new QWidget(main, Qt::Window);
  w->setObjectName(ObjectName(ftool::window));
  w->setWindowTitle("Lumora画线缩水区");
  w->setAttribute(Qt::WA_DeleteOnClose, false);
  w->installEventFilter(new WindowHideWatcher(shell.form(), ftool::window, w));
  ShrinkToolDefaults(shell.form());

  auto* outer = new QHBoxLayout(w);
  auto* left = new QGridLayout;
  left->addWidget(DigitRows(shell, w, "排除复式", "(点击号码表示删除)", ftool::C_fushi_paichu, 0), 0, 0);
  left->addWidget(DigitRows(shell, w, "定位杀", nullptr, ftool::C_dingwei_sha, 6), 0, 1);
  left->addWidget(RouteBoxes(shell, w), 1, 0);
  left->addWidget(ShapeBoxes(shell, w), 1, 1);
  left->addWidget(BankerGroups(shell, w), 2, 0);
  auto* sums = new QVBoxLayout;
  sums->addWidget(DigitChecks(shell, w, "杀和尾", ftool::Check_hewei_sha, 24));
  sums->addWidget(DigitChecks(shell, w, "杀跨度", ftool::Check_kuadu_sha, 26));
  sums->addStretch(1);
  left->addLayout(sums, 2, 1);
  outer->addLayout(left, 3);

  auto* right = new QVBoxLayout;
  auto* junk = new QPlainTextEdit(Q(ToLf(shell.form().text(ftool::T_lj_dd))), w);
  junk->setObjectName(ObjectName(ftool::T_lj_dd));
  junk->setToolTip("双击清空");
  right->addWidget(junk, 1);
  auto* start = new QPushButton("【开始缩水】", w);
  start->setObjectName(ObjectName(ftool::C_guolv_ks[0]));
  start->setMinimumHeight(36);
  right->addWidget(start);
  auto* result = new QPlainTextEdit(Q(ToLf(shell.form().text(ftool::Tdd))), w);
  result->setObjectName(ObjectName(ftool::Tdd));
  right->addWidget(result, 2);
  auto* countRow = new QHBoxLayout;
  countRow->addWidget(new QLabel("最后注数", w));
  auto* count = new QLabel("0", w);
  count->setObjectName(ObjectName(ftool::L_zhushu));
  count->setMinimumWidth(50);
  countRow->addWidget(count);
  countRow->addStretch(1);
  right->addLayout(countRow);
  auto* actions = new QHBoxLayout;
  auto* copy = new QPushButton("复制号码", w);
  copy->setObjectName(ObjectName(ftool::C_guolv_ks[1]));
  auto* clear = new QPushButton("清空所有条件", w);
  clear->setObjectName(ObjectName(ftool::C_guolv_ks[2]));
  actions->addWidget(copy);
  actions->addWidget(clear);
  right->addLayout(actions);
  outer->addLayout(right, 1);

  shell.onClick(w, ftool::C_guolv_ks[0], [](Session& s) { ks_suoshui(s.cx); });
  shell.onClick(w, ftool::C_guolv_ks[1], [](Session& s) { CopyShrinkResult(s.cx); });
  shell.onClick(w, ftool::C_guolv_ks[2], [](Session& s) { ClearAllShrinkConditions(s.cx); });
  OnDoubleClick(junk, [&shell] { shell.run([](Session& s) { ClearJunkBox(s.cx); }); });
  shell.binder().bind(w, ftool::window, true);
}

}  // namespace lumora
