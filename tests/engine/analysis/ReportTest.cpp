// The reports as Scenes: every legend entry shown and never cut, point labels apart, p-values
// that never read 0, a headline true to swept odds, and the one SVG writer.
#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "analysis/Report.h"
#include "core/SceneSvg.h"
#include "core/Text.h"
#include "core/controls/Fmain.h"

namespace lumora {
namespace {

std::vector<SceneText> TextsOf(const Scene& s) {
  std::vector<SceneText> out;
  for (const SceneItem& item : s.items)
    if (const auto* t = std::get_if<SceneText>(&item)) out.push_back(*t);
  return out;
}

// A sweep of 30 combinations with long Chinese and Latin labels whose points crowd together.
SweepResult CrowdedSweep(SweepSetup& setup) {
  setup.axes = {SweepAxis{fmain::T_jh_dadi_chongfu_rc.name(), {}}, SweepAxis{fmain::T_jiankong_rc.name(), {}}};
  setup.seeds = 1;
  SweepResult r;
  for (int c = 0; c < 30; ++c) {
    SweepRow row;
    row.values = {"容对 " + std::to_string(c) + " 04.05.06.07.08.09.10.11.12.13.14.15.16",
                  "01.02.03 监控 " + std::to_string(c)};
    row.label = setup.axes[0].name + "=" + row.values[0] + " " + setup.axes[1].name + "=" + row.values[1];
    row.chance.periods = 1000;
    row.chance.hits = 400 + c % 3;
    row.chance.expectedHits = 400;
    row.chance.variance = 240;
    row.poolSum = 400.0 * 1000 + c;  // mean pool sizes 400.000 .. 400.029: one spot
    r.rows.push_back(row);
    SweepRun run;
    run.combination = static_cast<size_t>(c);
    run.seed = 1;
    r.runs.push_back(run);
  }
  auto& best = r.runs[7];
  for (int t = 0; t < 50; ++t)
    best.outcome.periods.push_back(JudgedPeriod{400, t % 2 == 0, t * 10, (t + 1) * 800, 120 + t});
  best.finalProfit = 490;
  best.judged = true;
  r.luckiest = 7;
  r.firstDraw = 120;
  r.replicas = 200;
  r.bestRunSelectionP = 0.00001;
  for (int t = 0; t < 50; ++t) {
    r.band.low.push_back(-100.0 * t);
    r.band.median.push_back(5.0 * t);
    r.band.high.push_back(100.0 * t);
  }
  r.odds = 1900;
  r.highestOdds = 1990;
  return r;
}

TEST(ReportTest, SweepLegendShowsEveryEntryWholeAndPointLabelsDoNotOverlap) {
  SweepSetup setup;
  const SweepResult result = CrowdedSweep(setup);
  const Scene scene = SweepReportScene(setup, result, "draws.txt");
  const std::vector<SceneText> texts = TextsOf(scene);
  // Every entry's number and both of its values appear in the legend, and no text runs past
  // the picture's right edge (a long label is wrapped, not cut).
  std::string all;
  for (const SceneText& t : texts) {
    all += t.text + "\n";
    EXPECT_LE(t.x + TextPixels(t.text, t.pointSize), scene.width + 0.5) << t.text;
    EXPECT_LE(t.y, scene.height) << t.text;
  }
  for (int c = 0; c < 30; ++c) {
    EXPECT_NE(all.find(std::to_string(c + 1) + " 容对 " + std::to_string(c) + " "), std::string::npos) << c;
    EXPECT_NE(all.find("监控 " + std::to_string(c) + ": "), std::string::npos) << c;
  }
  // The points' number labels: small, coloured, digits only. No two overlap.
  struct Box {
    double x1, y1, x2, y2;
  };
  std::vector<Box> labels;
  for (const SceneText& t : texts)
    if (t.pointSize == 8 && t.color != Rgb(0x22, 0x22, 0x22) && IsDigits(t.text))
      labels.push_back(Box{t.x, t.y, t.x + TextPixels(t.text, 8), t.y + 11});
  ASSERT_EQ(labels.size(), 30u);
  for (size_t i = 0; i < labels.size(); ++i)
    for (size_t j = i + 1; j < labels.size(); ++j) {
      const Box &a = labels[i], &b = labels[j];
      EXPECT_FALSE(a.x1 < b.x2 && b.x1 < a.x2 && a.y1 < b.y2 && b.y1 < a.y2) << i + 1 << " and " << j + 1;
    }
  // Odds were swept: the headline names the range and no single odds.
  EXPECT_EQ(all.find("at odds "), std::string::npos);
  EXPECT_NE(all.find("swept odds 1900–1990"), std::string::npos);
  // The best run stands against the band of the best of 30 with its selection-adjusted p.
  EXPECT_NE(all.find("95 % of the best of 30 runs"), std::string::npos);
  EXPECT_NE(all.find("selection-adjusted p < 0.0001"), std::string::npos);
  EXPECT_EQ(all.find("0.0000"), std::string::npos);
}

TEST(ReportTest, TinyPValuesAndTheBacktestHeadline) {
  EXPECT_EQ(PValueText(0.0123456), "p 0.0123");
  EXPECT_EQ(PValueText(0.0001), "p 0.0001");
  EXPECT_EQ(PValueText(0.00004999), "p < 0.0001");
  EXPECT_EQ(PValueText(0), "p < 0.0001");
  // A run far above chance: its p is tiny and must not print as 0.
  ReportRun run{"draws.txt", {}, 1940};
  for (int t = 0; t < 400; ++t) run.periods.push_back(JudgedPeriod{100, t % 3 == 0, 0, (t + 1) * 200, 120 + t});
  std::string all;
  for (const SceneText& t : TextsOf(BacktestReportScene(run))) all += t.text + "\n";
  EXPECT_NE(all.find("p < 0.0001, exact"), std::string::npos) << all;
  EXPECT_EQ(all.find("p 0.0000"), std::string::npos);
  EXPECT_NE(all.find("at odds 1940"), std::string::npos);
}

TEST(ReportTest, SvgWriterJoinsLinesAndPlacesTextByItsTopLeft) {
  Scene s;
  s.setScale(0, 0, 200, 100);
  s.line(0, 0, 10, 10, kRed, 2);
  s.line(10, 10, 20, 5, kRed, 2);
  s.line(20, 5, 30, 5, kBlue, 2);  // another colour: a line of its own
  s.text(5, 50, "a < b & 注", kBlack, 9);
  s.box(1, 2, 3, 4, kGreen);
  const std::string svg = SceneSvg(s);
  EXPECT_NE(svg.find("<polyline fill=\"none\" stroke=\"#ff0000\" stroke-width=\"2\" points=\"0,0 10,10 20,5\"/>"),
            std::string::npos)
      << svg;
  EXPECT_NE(svg.find("<line x1=\"20\" y1=\"5\" x2=\"30\" y2=\"5\" stroke=\"#0000ff\""), std::string::npos) << svg;
  EXPECT_NE(svg.find(">a &lt; b &amp; 注</text>"), std::string::npos);
  EXPECT_NE(svg.find("width=\"200\" height=\"100\""), std::string::npos);
  EXPECT_NE(svg.find("<rect x=\"1\" y=\"2\" width=\"2\" height=\"2\" fill=\"#00ff00\"/>"), std::string::npos) << svg;
  // Columns a terminal gives a text: wide characters two.
  EXPECT_EQ(DisplayColumns("abc"), 3);
  EXPECT_EQ(DisplayColumns("注数 12"), 7);
  EXPECT_EQ(DisplayColumns("ＡＢ·"), 5);
}

}  // namespace
}  // namespace lumora
