// The drawing tab driven with real mouse events: draw a line, save it, restart, load it, fit a pool.
#include <QCheckBox>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "core/controls/Ftishi.h"
#include "curves/CurveStore.h"
#include "curves/Texts.h"
#include "curves/TrendChart.h"
#include "support/ScratchFolder.h"
#include "ui/ChartView.h"
#include "ui/Pages.h"
#include "ui/support/UiTest.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;

// One run of the program's drawing tab over a data folder.
struct Program {
  Session session;
  RecordingPrompter prompter;
  RecordingClipboard clipboard;
  std::unique_ptr<Shell> shell;
  std::unique_ptr<QWidget> page;

  explicit Program(const fs::path& data) {
    session.cx.data = DataFolder(data);
    session.cx.ports.prompter = &prompter;
    session.cx.ports.clipboard = &clipboard;
    shell = std::make_unique<Shell>(session);
    page = std::make_unique<QWidget>();
    BuildDrawingPage(*shell, page.get());
    shell->binder().bind(page.get());
    EXPECT_TRUE(ReadCurveStore(session.cx, session.curves));
    PrepareDrawingGrid(session.cx);
    shell->binder().push();
    page->resize(1500, 900);
    page->show();
  }
  ChartView* chart() { return page->findChild<ChartView*>(ObjectName(fmain::Pic)); }
  void click(Button button) {
    auto* b = page->findChild<QPushButton*>(ObjectName(button));
    ASSERT_NE(b, nullptr) << button.name();
    QTest::mouseClick(b, Qt::LeftButton);
  }
  QPoint at(double x, double y) { return chart()->toPixel(x, y).toPoint(); }
  void shot(const char* name) {
    if (!uitest::ShotDir().isEmpty()) page->grab().save(uitest::ShotDir() + "/" + name);
  }
};

fs::path Store() { return fs::path(std::getenv("LUMORA_DATA")) / "data.mdb"; }

struct DrawingPageTest : ::testing::Test {
  void SetUp() override {
    uitest::App();
    fs::copy_file(Store(), dir_ / "data.mdb");
  }
  lumora::testing::ScratchFolder dir_{"drawing"};
};

TEST_F(DrawingPageTest, ALoadFromADamagedStoreSaysSoAndTheProgramGoesOn) {
  Program p(dir_);
  std::ofstream(dir_ / "data.mdb", std::ios::binary | std::ios::trunc) << "1*2\r\n3*4\r\n";
  // The event loop stands for the program's: ending the program would end it with status 1.
  QEventLoop loop;
  QTimer::singleShot(0, &loop, [&] { p.click(fmain::C_duqu[2]); });
  QTimer::singleShot(300, &loop, [&] { loop.exit(0); });
  EXPECT_EQ(loop.exec(), 0);
  ASSERT_EQ(p.prompter.notices.size(), 1u);
  EXPECT_EQ(p.prompter.notices[0].text, curves_text::kStoreMissing);
  // The page still works: a good store loads again.
  fs::copy_file(Store(), dir_ / "data.mdb", fs::copy_options::overwrite_existing);
  p.click(fmain::C_duqu[2]);
  EXPECT_EQ(p.prompter.notices.size(), 1u);
}

TEST_F(DrawingPageTest, DrawSaveRestartLoadAndFit) {
  auto first = std::make_unique<Program>(dir_);
  Program& p = *first;
  ChartView* chart = p.chart();
  ASSERT_NE(chart, nullptr);
  const size_t gridItems = chart->scene().items.size();
  ASSERT_GT(gridItems, 20u);

  // A climbing stroke: press, move in small steps across the chart, press again.
  QTest::mouseClick(chart, Qt::LeftButton, {}, p.at(0.5, 0));
  EXPECT_EQ(p.session.curves.clickCounter, 1);
  for (double x = 0.5; x <= 121; x += 0.5) QTest::mouseMove(chart, p.at(x, 8 * x));
  QTest::mouseClick(chart, Qt::LeftButton, {}, p.at(121, 8 * 121));
  EXPECT_EQ(p.session.curves.clickCounter, 0);
  EXPECT_GT(chart->scene().items.size(), gridItems + 100);  // the stroke is on the chart
  for (int x = 2; x <= 118; ++x) EXPECT_NEAR(p.session.curves.trend[x], 8 * x + 4, 40) << x;
  const TrendLine drawn = p.session.curves.trend;
  p.shot("drawing-chart.png");

  p.click(fmain::C_gengxin[2]);  // "03"
  EXPECT_TRUE(p.prompter.notices.empty());
  first.reset();

  Program again(dir_);
  EXPECT_EQ(again.page->findChild<QPushButton*>(ObjectName(fmain::C_duqu[2]))->text(), "03");
  again.click(fmain::C_duqu[2]);
  for (int x = 1; x <= 120; ++x) EXPECT_EQ(again.session.curves.trend[x], drawn[x]) << x;
  int polyline = 0;
  for (const SceneItem& item : again.chart()->scene().items)
    if (auto* l = std::get_if<SceneLine>(&item); l && l->width == 4 && l->color == kRed) ++polyline;
  EXPECT_EQ(polyline, 119);

  // "按线寻找大底" without draws refuses; with draws its K-line climbs like the line.
  again.click(fmain::C_dadi_look);
  EXPECT_EQ(again.prompter.lastText(), "没有开奖数据，请先更新");
  DrawStore& d = again.session.cx.draws;
  for (int row = 1; row <= 120; ++row) d.history[row] = DrawRecord{Pad(row, 3), "12" + Pad((row * 389 + 17) % 1000, 3)};
  d.rebuildSubSeries();
  again.session.cx.form.setText(fmain::Tkjh, "001-12345");
  again.page->findChild<QLineEdit*>(ObjectName(fmain::T_dadi_zhushu))->setText("200");
  again.click(fmain::C_dadi_look);
  const std::string pool =
      again.page->findChild<QPlainTextEdit*>(ObjectName(fmain::Tdadi))->toPlainText().toStdString();
  EXPECT_EQ(pool, again.session.cx.form.text(fmain::Tdadi));
  EXPECT_GE(pool.size(), 200u * 4 - 1);
  const ProfitCurve& y = again.session.curves.profit;
  for (int k = 10; k <= 119; k += 10) EXPECT_NEAR(y[k], drawn[k], 200) << k;
  EXPECT_EQ(again.chart()->scene().top, ChooseProfitScale(y).range);
  again.shot("kline-plot.png");

  again.click(fmain::C_copy);
  EXPECT_EQ(again.clipboard.content, pool);
  EXPECT_TRUE(again.session.cx.form.visible(ftishi::window));
}

TEST_F(DrawingPageTest, HorizontalLineAndSlotBoxes) {
  Program p(dir_);
  auto* flat = p.page->findChild<QPushButton*>(ObjectName(fmain::C_huaxian_line));
  p.click(fmain::C_huaxian_line);
  EXPECT_FALSE(flat->isEnabled());
  QTest::mouseClick(p.chart(), Qt::LeftButton, {}, p.at(60, 600));
  EXPECT_TRUE(flat->isEnabled());
  EXPECT_NEAR(p.session.curves.trend[1], 600, 15);
  EXPECT_EQ(p.session.curves.trend[1], p.session.curves.trend[120]);

  auto* count = p.page->findChild<QLineEdit*>(ObjectName(fmain::T_quxian_zhushu[4]));
  ASSERT_NE(count, nullptr);
  EXPECT_EQ(count->text(), "150");
  count->clear();
  QTest::keyClicks(count, "981");
  EXPECT_EQ(p.prompter.lastText(), "注数不能多于980注");
  EXPECT_EQ(count->text(), "400");
  EXPECT_EQ(p.page->findChild<QLabel*>(ObjectName(fmain::L_xl_zhushu[4]))->text(), "400");

  auto* mask = p.page->findChild<QLineEdit*>(ObjectName(fmain::T_xl_muduan[0]));
  EXPECT_EQ(mask->text(), "1111111111");
  QTest::keyClicks(mask, "0");
  EXPECT_EQ(mask->text(), "");
  EXPECT_EQ(p.prompter.notices.back().title, "出错拉");
  EXPECT_TRUE(p.page->findChild<QWidget*>(ObjectName(fmain::Op_mos[2]))->property("checked").toBool());
}

}  // namespace
}  // namespace lumora
