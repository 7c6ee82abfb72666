// The analysis window driven through its widgets: opened from the main window, a backtest and a
// sweep over a draw file on the worker thread while the event loop goes on, a cancelled run, and
// the refusal when the program holds too few draws.
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <fstream>
#include <random>

#include "core/Text.h"
#include "core/controls/Ffenxi.h"
#include "core/controls/Fmain.h"
#include "session/AfterDraw.h"
#include "ui/ChartView.h"
#include "ui/support/UiTest.h"

namespace lumora {
namespace {

struct AnalysisWindowTest : uitest::WindowTest {
  QTemporaryDir dir;
  QWidget* fenxi = nullptr;

  void SetUp() override {
    UseShippedData();
    WindowTest::SetUp();
    StartProgram();
    window->show();
    fenxi = window->findChild<QWidget*>(ObjectName(ffenxi::window));
    ASSERT_NE(fenxi, nullptr);
    EXPECT_FALSE(fenxi->isVisible());
    Click(fmain::C_sst_fenxi);
    ASSERT_TRUE(uitest::Eventually([&] { return fenxi->isVisible(); }));
  }

  // A seeded draw file of `count` draws.
  QString DrawFile(int count) {
    const QString path = dir.filePath(QString("draws-%1.txt").arg(count));
    std::ofstream out(path.toStdString());
    std::mt19937 rng(11);
    for (int i = 0; i < count; ++i)
      out << Pad(i % 120 + 1, 3) << "-" << Pad(static_cast<int>(rng() % 100000), 5) << "\n";
    return path;
  }
  template <typename W>
  W* In(const ControlRef& control) {
    return uitest::Find<W>(fenxi, control);
  }
  void Start(const QString& file, const QString& sweep = {}) {
    In<QRadioButton>(ffenxi::Op_fenxi_laiyuan[1])->setChecked(true);
    In<QLineEdit>(ffenxi::T_fenxi_wenjian)->setText(file);
    In<QLineEdit>(ffenxi::T_fenxi_saomiao)->setText(sweep);
    uitest::Click(fenxi, ffenxi::C_fenxi_kaishi);
  }
  bool Idle() { return In<QPushButton>(ffenxi::C_fenxi_kaishi)->isEnabled(); }
  // Waits for the run to end; the window's status line for the failure message.
  void AwaitIdle(int ms) {
    ASSERT_TRUE(uitest::Eventually([&] { return Idle(); }, ms)) << AnalysisStatus().toStdString();
  }
  // The analysis window's own status line (the main window's is Status()).
  QString AnalysisStatus() { return In<QLabel>(ffenxi::L_fenxi_zhuangtai)->text(); }
  QString Risk() { return In<QLabel>(ffenxi::L_fenxi_fengxian)->text(); }
};

TEST_F(AnalysisWindowTest, BacktestAndSweepRunBesideTheEventLoopAndShowResults) {
  Start(DrawFile(400));
  EXPECT_FALSE(Idle());
  EXPECT_TRUE(In<QPushButton>(ffenxi::C_fenxi_quxiao)->isEnabled());
  // The program's own work goes on meanwhile: a timer ticks, an engine operation runs at once.
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start(20);
  bool ran = false;
  shell->run([&](Session&) { ran = true; });
  EXPECT_TRUE(ran);
  AwaitIdle(120000);
  EXPECT_GT(ticks, 0);

  auto* table = In<QTableWidget>(ffenxi::Tab_fenxi);
  ASSERT_EQ(table->rowCount(), 1) << AnalysisStatus().toStdString();
  EXPECT_EQ(table->item(0, 1)->text(), "280");  // 400 draws, the first 120 warm up
  const Scene& report = In<ChartView>(ffenxi::Pic_fenxi)->scene();
  EXPECT_GT(report.items.size(), 100u);
  ASSERT_TRUE(std::holds_alternative<SceneText>(report.items.back()));
  EXPECT_NE(std::get<SceneText>(report.items.back()).text.find("止损概率 ruin "), std::string::npos);
  for (const char* part : {"capital 130, stop-loss 5, take-profit 300", "止损概率 ruin ", " draws)"})
    EXPECT_TRUE(Risk().contains(part)) << Risk().toStdString();
  EXPECT_EQ(In<QProgressBar>(ffenxi::P_fenxi_jindu)->value(), In<QProgressBar>(ffenxi::P_fenxi_jindu)->maximum());

  // A small sweep of one control: a row per value, Holm-adjusted, a risk line each.
  Start(DrawFile(200), "T_jh_dadi_chongfu_cs=6,9");
  AwaitIdle(120000);
  ASSERT_EQ(table->rowCount(), 2) << AnalysisStatus().toStdString();
  EXPECT_EQ(table->horizontalHeaderItem(table->columnCount() - 1)->text(), "Holm p");
  EXPECT_TRUE(table->item(1, 0)->text().contains("T_jh_dadi_chongfu_cs=9"));
  EXPECT_TRUE(Risk().contains("#2 T_jh_dadi_chongfu_cs=9: ")) << Risk().toStdString();

  // A swept name no control has is refused before any run, and says so.
  Start(DrawFile(200), "T_no_such_box=1,2");
  AwaitIdle(60000);
  EXPECT_TRUE(AnalysisStatus().contains("T_no_such_box")) << AnalysisStatus().toStdString();
  EXPECT_EQ(table->rowCount(), 0);
}

TEST_F(AnalysisWindowTest, CancelStopsTheRunAndShowsNothing) {
  Start(DrawFile(6000));
  auto* bar = In<QProgressBar>(ffenxi::P_fenxi_jindu);
  ASSERT_TRUE(uitest::Eventually([&] { return bar->value() > 0; }, 60000));
  QElapsedTimer clock;
  clock.start();
  uitest::Click(fenxi, ffenxi::C_fenxi_quxiao);
  AwaitIdle(30000);
  EXPECT_LT(clock.elapsed(), 10000);
  EXPECT_EQ(AnalysisStatus(), "已取消");
  EXPECT_EQ(In<QTableWidget>(ffenxi::Tab_fenxi)->rowCount(), 0);
  EXPECT_TRUE(Risk().isEmpty());
}

TEST_F(AnalysisWindowTest, TooFewHeldDrawsAndBadInputAreRefusedWithAReason) {
  shell->run([](Session& s) {
    for (int i = 1; i <= 120; ++i)
      s.cx.draws.history[static_cast<size_t>(i)] = {Pad(i, 3), Pad((i * 7919) % 100000, 5)};
  });
  In<QRadioButton>(ffenxi::Op_fenxi_laiyuan[0])->setChecked(true);
  uitest::Click(fenxi, ffenxi::C_fenxi_kaishi);
  AwaitIdle(30000);
  EXPECT_TRUE(AnalysisStatus().contains("只有 120 期开奖")) << AnalysisStatus().toStdString();

  const QString bad = dir.filePath("bad.txt");
  std::ofstream(bad.toStdString()) << "001-12345\nthis is not a draw 12345\n";
  Start(bad);
  AwaitIdle(30000);
  EXPECT_TRUE(AnalysisStatus().contains(":2: not a draw line")) << AnalysisStatus().toStdString();

  Start(DrawFile(200), "T_jh_dadi_chongfu_cs=");
  EXPECT_TRUE(Idle());
  EXPECT_TRUE(AnalysisStatus().contains("NAME=V1,V2")) << AnalysisStatus().toStdString();
}

TEST_F(AnalysisWindowTest, Screenshot) {
  if (uitest::ShotDir().isEmpty()) GTEST_SKIP() << "set LUMORA_SHOT_DIR";
  Start(DrawFile(600));
  AwaitIdle(120000);
  fenxi->resize(1000, 760);
  QTest::qWait(300);
  fenxi->grab().save(uitest::ShotDir() + "/analysis-window.png");
}

}  // namespace
}  // namespace lumora
