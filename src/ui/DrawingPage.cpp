// The drawing tab "画线界面": the trend chart, the save and load rows of the fifteen stored trends,
// the demonstration fit with its K-line plot, and the per-slot pool sizes and end-control masks.
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QWidget>

#include "alarm/Notices.h"
#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "curves/Texts.h"
#include "curves/TrendChart.h"
#include "curves/TrendMatching.h"
#include "ui/ChartView.h"
#include "ui/Pages.h"
#include "ui/Shell.h"
#include "ui/Widgets.h"

namespace lumora {

namespace {

namespace t = curves_text;

QString Q(const std::string& s) { return QString::fromStdString(s); }

// A row of fifteen small buttons "01".."15" in the given text colour on light grey.
QHBoxLayout* SlotButtons(QWidget* parent, ControlArray<ControlKind::Button> name, const char* caption,
                         const char* color) {
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(caption, parent));
  for (int i = 0; i < kCurveSlots; ++i) {
    auto* b = NewButton(parent, name[i], Q(Pad(i + 1, 2)));
    b->setFixedWidth(38);
    b->setStyleSheet(QString("color: %1; background-color: #e0e0e0; font-weight: bold;").arg(color));
    row->addWidget(b);
  }
  row->addStretch(1);
  return row;
}

QWidget* BuildChartArea(Shell& shell, QWidget* page) {
  auto* area = new QWidget(page);
  auto* v = new QVBoxLayout(area);
  v->setContentsMargins(0, 0, 0, 0);

  auto* top = new QHBoxLayout;
  auto* start = NewButton(area, fmain::C_huaxian_ks, t::kStartDrawing);
  auto* flat = NewButton(area, fmain::C_huaxian_line, t::kHorizontalLine);
  top->addWidget(start);
  top->addWidget(flat);
  auto* instruction = new QLabel(t::kInstruction, area);
  instruction->setObjectName(ObjectName(fmain::Label_huaxian_shuoming));
  top->addWidget(instruction, 1);
  v->addLayout(top);
  auto* help = new QLabel(t::kHelp, area);
  help->setObjectName(ObjectName(fmain::Label_huaxian_bangzhu));
  help->setWordWrap(true);
  v->addWidget(help);

  auto* chart = new ChartView(area);
  chart->setObjectName(ObjectName(kTrendChart));
  chart->setMinimumSize(720, 420);
  chart->setCursor(Qt::CrossCursor);
  v->addWidget(chart, 1);

  v->addLayout(SlotButtons(area, fmain::C_gengxin, t::kSaveRow, "#ff0000"));
  v->addLayout(SlotButtons(area, fmain::C_duqu, t::kLoadRow, "#00a000"));

  shell.onClick(area, fmain::C_huaxian_ks, [](Session& s) { PrepareDrawingGrid(s.cx); });
  shell.onClick(area, fmain::C_huaxian_line, [](Session& s) { ArmHorizontalLine(s.cx); });
  QObject::connect(chart, &ChartView::mousePressed, &shell, [&shell](double x, double y, int) {
    shell.run([x, y](Session& s) { PressTrendChart(s.cx, s.curves, x, y); });
  });
  QObject::connect(chart, &ChartView::mouseMoved, &shell, [&shell](double x, double y, int) {
    if (shell.session().curves.clickCounter != 1) return;  // idle: nothing to record
    shell.run([x, y](Session& s) { MoveOverTrendChart(s.cx, s.curves, x, y); });
  });
  for (int i = 0; i < kCurveSlots; ++i) {
    shell.onClick(area, fmain::C_gengxin[i], [i](Session& s) { SaveTrendToSlot(s.cx, s.curves, i); });
    // A store that cannot be read is reported and the chart stays as it was: a damaged file never
    // ends the running program (its draw cycle goes on).
    shell.onClick(area, fmain::C_duqu[i], [i](Session& s) { LoadTrendFromSlot(s.cx, s.curves, i); });
  }
  return area;
}

QGroupBox* BuildDemoFit(Shell& shell, QWidget* page) {
  auto* box = new QGroupBox(t::kLookForPool, page);
  box->setObjectName(ObjectName(fmain::Frame_dadi_look));
  auto* v = new QVBoxLayout(box);
  auto* sizeRow = new QHBoxLayout;
  sizeRow->addWidget(new QLabel("注数：", box));
  auto* size = new QLineEdit(t::kDefaultPoolSize, box);
  size->setObjectName(ObjectName(fmain::T_dadi_zhushu));
  size->setFixedWidth(60);
  sizeRow->addWidget(size);
  sizeRow->addWidget(NewButton(box, fmain::C_dadi_look, t::kLookForPool));
  sizeRow->addWidget(NewButton(box, fmain::C_dadi_k, t::kKLine));
  v->addLayout(sizeRow);
  auto* pool = new QPlainTextEdit(box);
  pool->setObjectName(ObjectName(fmain::Tdadi));
  pool->setMinimumHeight(120);
  v->addWidget(pool, 1);
  v->addWidget(NewButton(box, fmain::C_copy, t::kCopyPool));
  v->addWidget(new QLabel(t::kDemoOnly, box));

  shell.onClick(box, fmain::C_dadi_look, [](Session& s) { LookForPool(s.cx, s.curves); });
  shell.onClick(box, fmain::C_dadi_k, [](Session& s) { ShowPoolCurve(s.cx, s.curves); });
  shell.onClick(box, fmain::C_copy, [](Session& s) {
    if (CopyPoolText(s.cx)) ShowCopyNotice(s.cx);
  });
  return box;
}

QGroupBox* BuildModes(QWidget* page) {
  auto* box = new QGroupBox(t::kModeGroup, page);
  box->setObjectName(ObjectName(fmain::Frame_mos));
  auto* v = new QVBoxLayout(box);
  auto* group = new QButtonGroup(box);
  const char* captions[3] = {t::kMode0, t::kMode1, t::kMode2};
  for (int i : {2, 0, 1}) {
    auto* option = new QRadioButton(captions[i], box);
    option->setObjectName(ObjectName(fmain::Op_mos[i]));
    option->setChecked(i == 2);
    group->addButton(option);
    v->addWidget(option);
  }
  v->addWidget(new QLabel(t::kNotInPlan, box));
  return box;
}

// Per slot: end control on/off, its mask, and the pool size with its mirror label.
QGroupBox* BuildSlotSettings(Shell& shell, QWidget* page) {
  auto* box = new QGroupBox("末端控制", page);
  box->setObjectName(ObjectName(fmain::Frame_xl_md));
  auto* grid = new QGridLayout(box);
  grid->addWidget(new QLabel(t::kMaskLegend, box), 0, 0, 1, 4);
  grid->addWidget(new QLabel(t::kMaskRange, box), 1, 0, 1, 4);
  grid->addWidget(new QLabel("线", box), 2, 0);
  grid->addWidget(new QLabel("末端", box), 2, 1);
  grid->addWidget(new QLabel("注数", box), 2, 2);
  for (int i = 0; i < kCurveSlots; ++i) {
    auto* check = new QCheckBox(QString::number(i + 1), box);
    check->setObjectName(ObjectName(fmain::Check_xl_md[i]));
    auto* mask = new QLineEdit(t::kDefaultMask, box);
    mask->setObjectName(ObjectName(fmain::T_xl_muduan[i]));
    mask->setFixedWidth(96);
    auto* count = new QLineEdit(QString::number(110 + 10 * i), box);
    count->setObjectName(ObjectName(fmain::T_quxian_zhushu[i]));
    count->setFixedWidth(44);
    auto* mirror = new QLabel(QString::number(110 + 10 * i), box);
    mirror->setObjectName(ObjectName(fmain::L_xl_zhushu[i]));
    mirror->setMinimumWidth(30);
    grid->addWidget(check, 3 + i, 0);
    grid->addWidget(mask, 3 + i, 1);
    grid->addWidget(count, 3 + i, 2);
    grid->addWidget(mirror, 3 + i, 3);
    shell.onUserChange(fmain::T_xl_muduan[i], [i](Session& s) { CheckEndControlMask(s.cx, i); });
    shell.onUserChange(fmain::T_quxian_zhushu[i], [i](Session& s) { CheckCurveCount(s.cx, i); });
  }
  grid->setRowStretch(3 + kCurveSlots, 1);
  return box;
}

}  // namespace

void BuildDrawingPage(Shell& shell, QWidget* page) {
  auto* h = new QHBoxLayout(page);
  h->addWidget(BuildChartArea(shell, page), 1);
  auto* side = new QVBoxLayout;
  side->addWidget(BuildDemoFit(shell, page), 1);
  side->addWidget(BuildModes(page));
  h->addLayout(side);
  h->addWidget(BuildSlotSettings(shell, page));
}

}  // namespace lumora
