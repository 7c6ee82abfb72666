#include "analysis/Report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/SceneSvg.h"
#include "core/Text.h"

namespace lumora {
namespace {

constexpr double kWidth = 1120;
constexpr Bgr kInk = Rgb(0x22, 0x22, 0x22), kGreyInk = Rgb(0x44, 0x44, 0x44), kGrid = Rgb(0xe4, 0xe4, 0xe4),
              kFrame = Rgb(0x55, 0x55, 0x55), kRunRed = Rgb(0xc8, 0x10, 0x2e), kChanceBlue = Rgb(0x3a, 0x5a, 0x8c),
              kBandBlue = Rgb(0xcf, 0xd8, 0xe6), kBarBlue = Rgb(0x9a, 0xa7, 0xbd), kZero = Rgb(0x88, 0x88, 0x88),
              kMeanGrey = Rgb(0x77, 0x77, 0x77);
constexpr Bgr kColours[] = {Rgb(0xc8, 0x10, 0x2e), Rgb(0x1f, 0x7a, 0x1f), Rgb(0x8a, 0x4f, 0xbf),
                            Rgb(0xd9, 0x82, 0x2b), Rgb(0x0f, 0x7b, 0x8a), Rgb(0x7a, 0x5c, 0x1f)};
constexpr int kText = 9, kSmall = 8, kTitle = 13;
constexpr double kLine = 16;  // pixels a line of kText takes

std::string Num(double v, int decimals = 0) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
  std::string s = buf;
  if (s == "-0") s = "0";
  return s;
}

// A "nice" tick step for a span, about `ticks` ticks.
double TickStep(double span, int ticks) {
  if (span <= 0) return 1;
  const double raw = span / ticks, mag = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
    if (raw <= m * mag) return m * mag;
  return 10 * mag;
}

// Splits a text into lines no wider than `pixels` at `pointSize`: at blanks where it can, inside
// a word (or between wide characters) where it must. Nothing is cut off.
std::vector<std::string> Wrap(const std::string& text, double pixels, int pointSize) {
  std::vector<std::string> lines;
  std::string line;
  size_t i = 0;
  auto fits = [&](const std::string& t) { return TextPixels(t, pointSize) <= pixels; };
  while (i < text.size()) {
    // The next piece: a blank-delimited word with its leading blank, or one wide character.
    size_t j = i;
    const auto lead = static_cast<unsigned char>(text[j]);
    if (lead >= 0xE0) {
      j += lead >= 0xF0 ? 4 : 3;
    } else {
      if (text[j] == ' ') ++j;
      while (j < text.size() && text[j] != ' ' && static_cast<unsigned char>(text[j]) < 0xE0) ++j;
    }
    j = std::min(j, text.size());
    std::string piece = text.substr(i, j - i);
    if (fits(line + piece)) {
      line += piece;
    } else if (!line.empty() && fits(Trim(piece))) {
      lines.push_back(line);
      line = Trim(piece);
    } else {
      // A piece wider than a line on its own: broken by characters.
      for (size_t k = 0; k < piece.size();) {
        const auto b = static_cast<unsigned char>(piece[k]);
        const size_t len = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
        const std::string ch = piece.substr(k, len);
        if (!line.empty() && !fits(line + ch)) {
          lines.push_back(line);
          line.clear();
        }
        if (!(line.empty() && ch == " ")) line += ch;
        k += len;
      }
    }
    i = j;
  }
  if (!line.empty() || lines.empty()) lines.push_back(line);
  return lines;
}

// Writes `text` wrapped to `pixels` at (x, y); returns the y below it.
double Paragraph(Scene& s, double x, double y, const std::string& text, double pixels, Bgr colour = kInk,
                 int pointSize = kText) {
  const double step = pointSize == kTitle ? 22 : pointSize == kSmall ? 14 : kLine;
  for (const std::string& line : Wrap(text, pixels, pointSize)) {
    s.text(x, y, line, colour, pointSize);
    y += step;
  }
  return y;
}

// One plotting area: data ranges mapped into a pixel rectangle.
struct Panel {
  double left, top, width, height;
  double x0, x1, y0, y1;
  double X(double x) const { return left + (x - x0) / (x1 - x0) * width; }
  double Y(double y) const { return top + height - (y - y0) / (y1 - y0) * height; }
};

// Frame, grid, tick labels and axis titles of a panel.
void Axes(Scene& s, const Panel& p, const std::string& xTitle, const std::string& yTitle) {
  const double xs = TickStep(p.x1 - p.x0, 8), ys = TickStep(p.y1 - p.y0, 6);
  for (double x = std::ceil(p.x0 / xs) * xs; x <= p.x1 + 1e-9; x += xs) {
    s.line(p.X(x), p.top, p.X(x), p.top + p.height, kGrid);
    const std::string t = Num(x, xs < 1 ? 1 : 0);
    s.text(p.X(x) - TextPixels(t, kSmall) / 2, p.top + p.height + 4, t, kInk, kSmall);
  }
  for (double y = std::ceil(p.y0 / ys) * ys; y <= p.y1 + 1e-9; y += ys) {
    s.line(p.left, p.Y(y), p.left + p.width, p.Y(y), kGrid);
    const std::string t = Num(y, ys < 1 ? 1 : 0);
    s.text(p.left - 6 - TextPixels(t, kSmall), p.Y(y) - 7, t, kInk, kSmall);
  }
  s.line(p.left, p.top, p.left + p.width, p.top, kFrame);
  s.line(p.left + p.width, p.top, p.left + p.width, p.top + p.height, kFrame);
  s.line(p.left + p.width, p.top + p.height, p.left, p.top + p.height, kFrame);
  s.line(p.left, p.top + p.height, p.left, p.top, kFrame);
  s.text(p.left + p.width / 2 - TextPixels(xTitle, kText) / 2, p.top + p.height + 20, xTitle, kInk, kText);
  s.text(p.left, p.top - 18, yTitle, kInk, kText);
}

// A polyline as joined lines (the SVG writer joins them again).
void Polyline(Scene& s, const std::vector<std::pair<double, double>>& pts, Bgr colour, int width) {
  for (size_t i = 1; i < pts.size(); ++i)
    s.line(pts[i - 1].first, pts[i - 1].second, pts[i].first, pts[i].second, colour, width);
}

// A legend entry at the right of a panel: a swatch, its label and figure, wrapped to the legend's
// width. Returns the y below it.
constexpr double kLegendX = 766, kLegendWidth = kWidth - kLegendX - 40;
double LegendEntry(Scene& s, double y, Bgr swatch, bool box, const std::string& label, const std::string& figure,
                   Bgr figureColour) {
  if (box) {
    s.box(kLegendX, y + 3, kLegendX + 24, y + 13, swatch);
  } else {
    s.line(kLegendX, y + 8, kLegendX + 24, y + 8, swatch, 2);
  }
  y = Paragraph(s, kLegendX + 30, y, label, kLegendWidth - 30);
  if (!figure.empty()) y = Paragraph(s, kLegendX + 30, y, figure, kLegendWidth - 30, figureColour);
  return y + 8;
}

struct Path {
  std::vector<double> x, y;
};

// The profit panel's frame from everything it shows; returns the panel.
Panel ProfitFrame(Scene& s, double top, double xMax, const std::vector<const std::vector<double>*>& series,
                  const std::string& xTitle) {
  double lo = 0, hi = 0;
  for (const auto* v : series)
    for (double y : *v) lo = std::min(lo, y), hi = std::max(hi, y);
  if (hi - lo < 1) hi = lo + 1;
  const double pad = (hi - lo) * 0.05;
  Panel p{90, top, 660, 250, 0, std::max(1.0, xMax), lo - pad, hi + pad};
  Axes(s, p, xTitle, "累计利润 cumulative profit (units)");
  s.line(p.left, p.Y(0), p.left + p.width, p.Y(0), kZero);
  return p;
}

// At most one point per pixel column: index ranges of the columns.
std::vector<size_t> Columns(size_t n) {
  const size_t step = std::max<size_t>(1, n / 660);
  std::vector<size_t> at;
  for (size_t i = 0; i < n; i += step) at.push_back(std::min(n - 1, i + step - 1));
  return at;
}

// Shades a band between `low` and `high` (one value per x = index + 1) and draws `mid` over it.
void Band(Scene& s, const Panel& p, const std::vector<double>& low, const std::vector<double>& high) {
  double xPrev = p.X(0);
  for (size_t j : Columns(low.size())) {
    const double x = p.X(static_cast<double>(j + 1));
    s.box(xPrev, p.Y(high[j]), std::max(x, xPrev + 0.5), p.Y(low[j]), kBandBlue);
    xPrev = x;
  }
}

void Curve(Scene& s, const Panel& p, const std::vector<double>& xs, const std::vector<double>& ys, Bgr colour,
           int width) {
  std::vector<std::pair<double, double>> pts{{p.X(0), p.Y(0)}};
  for (size_t j : Columns(ys.size())) pts.emplace_back(p.X(xs[j]), p.Y(ys[j]));
  Polyline(s, pts, colour, width);
}

// The bottom panel: hit rate against pool size, the chance line and its +-2 SD per point, each
// point numbered without labels overlapping, and a legend of every point below the panel.
// Returns the y below the legend.
double HitRatePanel(Scene& s, const std::vector<HitRatePoint>& points, double top) {
  double xMax = 10, yMax = 1;
  for (const HitRatePoint& pt : points) {
    if (pt.chance.periods == 0) continue;
    const double rate = 100.0 * static_cast<double>(pt.chance.hits) / static_cast<double>(pt.chance.periods);
    const double sd = 100.0 * std::sqrt(pt.chance.variance) / static_cast<double>(pt.chance.periods);
    xMax = std::max(xMax, pt.meanPool);
    yMax = std::max({yMax, rate, pt.meanPool / 10 + 2 * sd});
  }
  Panel p{90, top, 660, 250, 0, std::ceil(xMax * 1.08 / 50) * 50, 0, std::ceil(yMax * 1.08 / 5) * 5};
  Axes(s, p, "平均注数 mean pool size (numbers)", "命中率 hit rate (%)");
  s.line(p.X(0), p.Y(0), p.X(p.x1), p.Y(p.x1 / 10), kChanceBlue, 2);
  double ly = top;
  ly = LegendEntry(s, ly, kChanceBlue, false, "机会 chance = 注数/1000", "", kInk);
  ly = LegendEntry(s, ly, kBarBlue, true, "竖线 bars: chance ±2 SD", "", kInk);

  struct Rect {
    double x1, y1, x2, y2;
    bool meets(const Rect& o) const { return x1 < o.x2 && o.x1 < x2 && y1 < o.y2 && o.y1 < y2; }
  };
  std::vector<Rect> taken;
  std::vector<std::pair<double, double>> at(points.size());
  for (size_t i = 0; i < points.size(); ++i) {
    const HitRatePoint& pt = points[i];
    if (pt.chance.periods == 0) continue;
    const double rate = 100.0 * static_cast<double>(pt.chance.hits) / static_cast<double>(pt.chance.periods);
    at[i] = {p.X(pt.meanPool), p.Y(rate)};
    taken.push_back(Rect{at[i].first - 4, at[i].second - 4, at[i].first + 4, at[i].second + 4});
  }
  for (size_t i = 0; i < points.size(); ++i) {
    const HitRatePoint& pt = points[i];
    if (pt.chance.periods == 0) continue;
    const Bgr colour = kColours[i % 6];
    const double sd = 100.0 * std::sqrt(pt.chance.variance) / static_cast<double>(pt.chance.periods);
    const double expect = 100.0 * pt.chance.expectedHits / static_cast<double>(pt.chance.periods);
    s.line(at[i].first, p.Y(expect - 2 * sd), at[i].first, p.Y(expect + 2 * sd), kBarBlue, 3);
    s.circle(at[i].first, at[i].second, 4, colour, true);
  }
  // Number labels: the first free place on rings around the point; a leader line when away from it.
  for (size_t i = 0; i < points.size(); ++i) {
    if (points[i].chance.periods == 0) continue;
    const std::string label = std::to_string(i + 1);
    const double w = TextPixels(label, kSmall) + 2, h = 12;
    const auto [px, py] = at[i];
    Rect chosen{px + 6, py - 6 - h, px + 6 + w, py - 6};
    bool found = false;
    for (int ring = 1; ring <= 12 && !found; ++ring) {
      const double d = 6 + (ring - 1) * 10;
      for (int k = 0; k < 8 && !found; ++k) {
        const double a = k * 3.14159265358979 / 4;
        const double cx = px + std::cos(a) * (d + w / 2), cy = py - std::sin(a) * (d + h / 2);
        const Rect r{cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2};
        if (r.x1 < p.left || r.x2 > p.left + p.width || r.y1 < p.top || r.y2 > p.top + p.height) continue;
        if (std::any_of(taken.begin(), taken.end(), [&](const Rect& o) { return r.meets(o); })) continue;
        chosen = r;
        found = true;
        if (ring > 1) s.line(px, py, cx, cy, kBarBlue);
      }
    }
    taken.push_back(chosen);
    s.text(chosen.x1 + 1, chosen.y1, label, kColours[i % 6], kSmall);
  }

  // Every point in the legend below the panel, in two columns, labels wrapped, none cut.
  double y = std::max(top + p.height + 44, ly);
  const double columnWidth = (kWidth - 2 * 24) / 2 - 16;
  double rowTop = y, rowBottom = y;
  int column = 0;
  for (size_t i = 0; i < points.size(); ++i) {
    const HitRatePoint& pt = points[i];
    if (pt.chance.periods == 0) continue;
    const double rate = 100.0 * static_cast<double>(pt.chance.hits) / static_cast<double>(pt.chance.periods);
    const double expect = 100.0 * pt.chance.expectedHits / static_cast<double>(pt.chance.periods);
    const double x = 24 + column * (columnWidth + 16);
    s.circle(x + 4, rowTop + 7, 4, kColours[i % 6], true);
    const double below =
        Paragraph(s, x + 12, rowTop,
                  std::to_string(i + 1) + " " + pt.label + ": " + Num(rate, 2) + "% (chance " + Num(expect, 2) + "%)",
                  columnWidth - 12, kInk, kSmall);
    rowBottom = std::max(rowBottom, below);
    if (++column == 2) {
      column = 0;
      rowTop = rowBottom;
    }
  }
  return std::max(rowBottom, rowTop) + 16;
}

Scene Canvas() {
  Scene s;
  s.background = kWhite;
  return s;
}

void Finish(Scene& s, double height) { s.setScale(0, 0, kWidth, std::ceil(height)); }

}  // namespace

std::string PValueText(double p) {
  if (p < 0.0001) return "p < 0.0001";
  return "p " + Num(p, 4);
}

std::string ChanceHeadline(int odds, int highestOdds) {
  auto loss = [](int o) { return 2.0 - o / 1000.0; };
  if (highestOdds <= odds) {
    return "Every pool of k numbers " + std::string(loss(odds) >= 0 ? "loses " : "wins ") +
           Num(std::fabs(loss(odds)), 3) + " k units a draw on average at odds " + std::to_string(odds) +
           ", whatever its curve (a number costs 2, a hit pays " + std::to_string(odds) + ").";
  }
  return "Every pool of k numbers loses " + Num(loss(highestOdds), 3) + " to " + Num(loss(odds), 3) +
         " k units a draw on average at the swept odds " + std::to_string(odds) + "–" + std::to_string(highestOdds) +
         " (a negative loss is a gain), whatever its curve (a number costs 2, a hit pays the odds).";
}

std::vector<HitRatePoint> PoolSizeGroups(const std::vector<JudgedPeriod>& periods, int groups) {
  std::vector<JudgedPeriod> sorted = periods;
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const JudgedPeriod& a, const JudgedPeriod& b) { return a.poolSize < b.poolSize; });
  std::vector<HitRatePoint> points;
  const size_t n = sorted.size(), g = static_cast<size_t>(std::max(1, groups));
  for (size_t k = 0; k < g; ++k) {
    const size_t from = n * k / g, to = n * (k + 1) / g;
    if (from >= to) continue;
    std::vector<JudgedPeriod> part(sorted.begin() + static_cast<std::ptrdiff_t>(from),
                                   sorted.begin() + static_cast<std::ptrdiff_t>(to));
    HitRatePoint pt;
    double sum = 0;
    for (const JudgedPeriod& p : part) sum += p.poolSize;
    pt.meanPool = sum / static_cast<double>(part.size());
    pt.chance = SummariseHits(part);
    pt.label = "注数 " + std::to_string(part.front().poolSize) + "–" + std::to_string(part.back().poolSize);
    points.push_back(pt);
  }
  return points;
}

Scene BacktestReportScene(const ReportRun& run) {
  Scene s = Canvas();
  const ChanceSummary chance = SummariseHits(run.periods);
  double y = Paragraph(s, 24, 14, "回测报告 backtest: " + run.title, kWidth - 48, kInk, kTitle);
  y = Paragraph(s, 24, y,
                "命中 hits " + std::to_string(chance.hits) + " / 机会 chance " + Num(chance.expectedHits, 1) + " (z " +
                    Num(chance.z, 2) + ", two-sided " + PValueText(chance.p) +
                    (chance.exact ? ", exact" : ", a bound never below the exact p") + ")",
                kWidth - 48, kGreyInk);
  y = Paragraph(s, 24, y, ChanceHeadline(run.odds), kWidth - 48, kGreyInk);

  const size_t n = run.periods.size();
  const ChanceBand band = ChanceBandOf(run.periods, run.odds);
  std::vector<double> xs(n), profit(n), low(n), high(n);
  for (size_t i = 0; i < n; ++i) {
    xs[i] = static_cast<double>(i + 1);
    profit[i] = static_cast<double>(run.periods[i].profit);
    low[i] = band.mean[i] - 2 * band.sd[i];
    high[i] = band.mean[i] + 2 * band.sd[i];
  }
  const double top = y + 28;
  const Panel p = ProfitFrame(s, top, static_cast<double>(n), {&profit, &low, &high}, "已判期数 judged periods");
  Band(s, p, low, high);
  Curve(s, p, xs, band.mean, kChanceBlue, 1);
  Curve(s, p, xs, profit, kRunRed, 2);

  const double endProfit = n ? profit.back() : 0, endMean = n ? band.mean.back() : 0, endSd = n ? band.sd.back() : 0;
  double ly = top;
  ly = LegendEntry(s, ly, kRunRed, false, "本次累计利润 run", Num(endProfit), kRunRed);
  ly = LegendEntry(s, ly, kChanceBlue, false, "机会均值 chance mean", Num(endMean), kChanceBlue);
  ly = LegendEntry(s, ly, kBandBlue, true, "机会 ±2 SD band",
                   Num(endMean - 2 * endSd) + " … " + Num(endMean + 2 * endSd), kChanceBlue);
  const double z = endSd > 0 ? (endProfit - endMean) / endSd : 0;
  ly = Paragraph(s, kLegendX, ly, "差 difference: " + Num(z, 2) + " SD", kLegendWidth);
  ly = Paragraph(s, kLegendX, ly, "periods: " + std::to_string(n), kLegendWidth);

  const double bottom = HitRatePanel(s, PoolSizeGroups(run.periods, 6), std::max(p.top + p.height + 70, ly + 30));
  Finish(s, bottom);
  return s;
}

Scene SweepReportScene(const SweepSetup& setup, const SweepResult& result, const std::string& drawsName) {
  Scene s = Canvas();
  std::string names;
  for (const SweepAxis& axis : setup.axes) names += (names.empty() ? "" : " / ") + axis.name;
  const size_t runs = result.runs.size();
  double y = Paragraph(s, 24, 14,
                       "参数扫描 sweep: " + std::to_string(result.rows.size()) + " × " + std::to_string(setup.seeds) +
                           " seeds, " + drawsName + " — " + names,
                       kWidth - 48, kInk, kTitle);
  const SweepRun* best = result.luckiest >= 0 ? &result.runs[static_cast<size_t>(result.luckiest)] : nullptr;
  std::string top = "上图 top: 最高利润的一次 the most profitable of " + std::to_string(runs) + " runs";
  if (best) {
    const SweepRow& row = result.rows[best->combination];
    top += ": " + row.label + " seed " + std::to_string(best->seed) + ", against the band of the best of " +
           std::to_string(runs) + " runs on " + std::to_string(result.replicas) +
           " fair replays of these periods; selection-adjusted " + PValueText(result.bestRunSelectionP) +
           " (its combination's hits: Holm " + PValueText(row.holm) + ")";
  }
  y = Paragraph(s, 24, y, top, kWidth - 48, kGreyInk);
  y = Paragraph(s, 24, y, ChanceHeadline(result.odds, result.highestOdds), kWidth - 48, kGreyInk);

  // The best run by draw, the band of the best of N by draw.
  const std::vector<JudgedPeriod> none;
  const std::vector<JudgedPeriod>& periods = best ? best->outcome.periods : none;
  std::vector<double> xs, profit, mean;
  const ChanceBand single = ChanceBandOf(periods, best ? best->outcome.odds : result.odds);
  for (size_t i = 0; i < periods.size(); ++i) {
    xs.push_back(static_cast<double>(periods[i].draw - result.firstDraw + 1));
    profit.push_back(static_cast<double>(periods[i].profit));
    mean.push_back(single.mean[i]);
  }
  const BestOfBand& band = result.band;
  const double xMax = std::max(static_cast<double>(band.low.size()), xs.empty() ? 1.0 : xs.back());
  const double panelTop = y + 28;
  const Panel p =
      ProfitFrame(s, panelTop, xMax, {&profit, &band.low, &band.high, &mean}, "期 periods after the first 120 draws");
  if (!band.low.empty()) {
    Band(s, p, band.low, band.high);
    std::vector<double> bx(band.median.size());
    for (size_t i = 0; i < bx.size(); ++i) bx[i] = static_cast<double>(i + 1);
    Curve(s, p, bx, band.median, kChanceBlue, 1);
  }
  Curve(s, p, xs, mean, kMeanGrey, 1);
  Curve(s, p, xs, profit, kRunRed, 2);

  double ly = panelTop;
  ly = LegendEntry(s, ly, kRunRed, false, "最高利润的一次 the most profitable run",
                   profit.empty() ? "" : Num(profit.back()), kRunRed);
  if (!band.low.empty()) {
    ly = LegendEntry(s, ly, kChanceBlue, false, "机会 chance: median of the best of " + std::to_string(runs) + " runs",
                     Num(band.median.back()), kChanceBlue);
    ly = LegendEntry(s, ly, kBandBlue, true, "机会 chance: 95 % of the best of " + std::to_string(runs) + " runs",
                     Num(band.low.back()) + " … " + Num(band.high.back()), kChanceBlue);
  }
  ly = LegendEntry(s, ly, kMeanGrey, false, "one run's chance mean (no selection)",
                   mean.empty() ? "" : Num(mean.back()), kMeanGrey);
  ly = Paragraph(s, kLegendX, ly, "selection-adjusted " + PValueText(result.bestRunSelectionP), kLegendWidth);

  std::vector<HitRatePoint> points;
  for (const SweepRow& r : result.rows)
    points.push_back(HitRatePoint{Join(r.values, " / "),
                                  r.chance.periods ? r.poolSum / static_cast<double>(r.chance.periods) : 0, r.chance});
  const double bottom = HitRatePanel(s, points, std::max(p.top + p.height + 70, ly + 30));
  Finish(s, bottom);
  return s;
}

std::string BacktestReportSvg(const ReportRun& run) { return SceneSvg(BacktestReportScene(run)); }

std::string SweepReportSvg(const SweepSetup& setup, const SweepResult& result, const std::string& drawsName) {
  return SceneSvg(SweepReportScene(setup, result, drawsName));
}

}  // namespace lumora
