#include "analysis/Report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/Text.h"

namespace lumora {
namespace {

constexpr double kWidth = 1120, kHeight = 760;
constexpr const char* kFont = "WenQuanYi Micro Hei, Noto Sans CJK SC, sans-serif";

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

// One plotting area: data ranges mapped into a pixel rectangle.
struct Panel {
  double left, top, width, height;
  double x0, x1, y0, y1;
  double X(double x) const { return left + (x - x0) / (x1 - x0) * width; }
  double Y(double y) const { return top + height - (y - y0) / (y1 - y0) * height; }
};

class Svg {
 public:
  Svg() {
    out_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Num(kWidth) +
           "\" height=\"" + Num(kHeight) + "\" viewBox=\"0 0 " + Num(kWidth) + " " + Num(kHeight) + "\" font-family=\"" + kFont +
           "\">\n<rect x=\"0\" y=\"0\" width=\"" + Num(kWidth) + "\" height=\"" + Num(kHeight) + "\" fill=\"#ffffff\"/>\n";
  }
  void text(double x, double y, const std::string& t, int size = 12, const std::string& anchor = "start",
            const std::string& fill = "#222222", const std::string& extra = "") {
    out_ += "<text x=\"" + Num(x, 1) + "\" y=\"" + Num(y, 1) + "\" font-size=\"" + std::to_string(size) + "\" text-anchor=\"" +
            anchor + "\" fill=\"" + fill + "\"" + extra + ">" + XmlEscape(t) + "</text>\n";
  }
  void line(double x1, double y1, double x2, double y2, const std::string& stroke, double width = 1, const std::string& dash = "") {
    out_ += "<line x1=\"" + Num(x1, 1) + "\" y1=\"" + Num(y1, 1) + "\" x2=\"" + Num(x2, 1) + "\" y2=\"" + Num(y2, 1) +
            "\" stroke=\"" + stroke + "\" stroke-width=\"" + Num(width, 1) + "\"" +
            (dash.empty() ? "" : " stroke-dasharray=\"" + dash + "\"") + "/>\n";
  }
  void polyline(const std::vector<std::pair<double, double>>& pts, const std::string& stroke, double width,
                const std::string& dash = "") {
    out_ += "<polyline fill=\"none\" stroke=\"" + stroke + "\" stroke-width=\"" + Num(width, 1) + "\"" +
            (dash.empty() ? "" : " stroke-dasharray=\"" + dash + "\"") + " points=\"";
    for (const auto& [x, y] : pts) out_ += Num(x, 1) + "," + Num(y, 1) + " ";
    out_ += "\"/>\n";
  }
  void polygon(const std::vector<std::pair<double, double>>& pts, const std::string& fill) {
    out_ += "<polygon fill=\"" + fill + "\" stroke=\"none\" points=\"";
    for (const auto& [x, y] : pts) out_ += Num(x, 1) + "," + Num(y, 1) + " ";
    out_ += "\"/>\n";
  }
  void circle(double x, double y, double r, const std::string& fill) {
    out_ += "<circle cx=\"" + Num(x, 1) + "\" cy=\"" + Num(y, 1) + "\" r=\"" + Num(r, 1) + "\" fill=\"" + fill + "\"/>\n";
  }
  void rect(double x, double y, double w, double h, const std::string& fill) {
    out_ += "<rect x=\"" + Num(x, 1) + "\" y=\"" + Num(y, 1) + "\" width=\"" + Num(w, 1) + "\" height=\"" + Num(h, 1) +
            "\" fill=\"" + fill + "\"/>\n";
  }
  std::string finish() { return out_ + "</svg>\n"; }

  // Frame, grid, tick labels and axis titles of a panel.
  void axes(const Panel& p, const std::string& xTitle, const std::string& yTitle, int yDecimals = 0) {
    const double xs = TickStep(p.x1 - p.x0, 8), ys = TickStep(p.y1 - p.y0, 6);
    for (double x = std::ceil(p.x0 / xs) * xs; x <= p.x1 + 1e-9; x += xs) {
      line(p.X(x), p.top, p.X(x), p.top + p.height, "#e4e4e4");
      text(p.X(x), p.top + p.height + 16, Num(x, xs < 1 ? 1 : 0), 11, "middle");
    }
    for (double y = std::ceil(p.y0 / ys) * ys; y <= p.y1 + 1e-9; y += ys) {
      line(p.left, p.Y(y), p.left + p.width, p.Y(y), "#e4e4e4");
      text(p.left - 6, p.Y(y) + 4, Num(y, yDecimals), 11, "end");
    }
    out_ += "<rect x=\"" + Num(p.left, 1) + "\" y=\"" + Num(p.top, 1) + "\" width=\"" + Num(p.width, 1) + "\" height=\"" +
            Num(p.height, 1) + "\" fill=\"none\" stroke=\"#555555\"/>\n";
    text(p.left + p.width / 2, p.top + p.height + 34, xTitle, 12, "middle");
    text(p.left - 62, p.top + p.height / 2, yTitle, 12, "middle", "#222222",
         " transform=\"rotate(-90 " + Num(p.left - 62, 1) + " " + Num(p.top + p.height / 2, 1) + ")\"");
  }

 private:
  std::string out_;
};

// The top panel: cumulative profit against the chance band.
void ProfitPanel(Svg& svg, const ReportRun& run, double top) {
  const ChanceBand band = ChanceBandOf(run.periods, run.odds);
  const size_t n = run.periods.size();
  double lo = 0, hi = 0;
  for (size_t i = 0; i < n; ++i) {
    lo = std::min({lo, static_cast<double>(run.periods[i].profit), band.mean[i] - 2 * band.sd[i]});
    hi = std::max({hi, static_cast<double>(run.periods[i].profit), band.mean[i] + 2 * band.sd[i]});
  }
  if (hi - lo < 1) hi = lo + 1;
  const double pad = (hi - lo) * 0.05;
  Panel p{90, top, 660, 250, 0, std::max<double>(1, static_cast<double>(n)), lo - pad, hi + pad};
  svg.axes(p, "已判期数 judged periods", "累计利润 cumulative profit (units)");
  // Decimated to at most ~1000 points per line: a pixel column holds several periods anyway.
  const size_t step = std::max<size_t>(1, n / 1000);
  std::vector<std::pair<double, double>> upper, lower, mean, profit;
  upper.emplace_back(p.X(0), p.Y(0));
  lower.emplace_back(p.X(0), p.Y(0));
  mean.emplace_back(p.X(0), p.Y(0));
  profit.emplace_back(p.X(0), p.Y(0));
  for (size_t i = 0; i < n; i += step) {
    const size_t j = std::min(n - 1, i + step - 1);
    const double x = p.X(static_cast<double>(j + 1));
    upper.emplace_back(x, p.Y(band.mean[j] + 2 * band.sd[j]));
    lower.emplace_back(x, p.Y(band.mean[j] - 2 * band.sd[j]));
    mean.emplace_back(x, p.Y(band.mean[j]));
    profit.emplace_back(x, p.Y(static_cast<double>(run.periods[j].profit)));
  }
  std::vector<std::pair<double, double>> area = upper;
  area.insert(area.end(), lower.rbegin(), lower.rend());
  svg.polygon(area, "#cfd8e6");
  svg.line(p.left, p.Y(0), p.left + p.width, p.Y(0), "#888888", 1);
  svg.polyline(mean, "#3a5a8c", 1.5, "6,4");
  svg.polyline(profit, "#c8102e", 1.8);

  // Legend with the figures at the end of the run.
  const double lx = p.left + p.width + 16;
  double ly = top + 14;
  const double endProfit = n ? static_cast<double>(run.periods.back().profit) : 0;
  const double endMean = n ? band.mean.back() : 0, endSd = n ? band.sd.back() : 0;
  svg.line(lx, ly - 4, lx + 24, ly - 4, "#c8102e", 2);
  svg.text(lx + 30, ly, "本次累计利润 run", 12);
  svg.text(lx + 30, ly + 16, Num(endProfit), 12, "start", "#c8102e", " class=\"profit\"");
  ly += 42;
  svg.line(lx, ly - 4, lx + 24, ly - 4, "#3a5a8c", 1.5, "6,4");
  svg.text(lx + 30, ly, "机会均值 chance mean", 12);
  svg.text(lx + 30, ly + 16, Num(endMean), 12, "start", "#3a5a8c", " class=\"chance-mean\"");
  ly += 42;
  svg.rect(lx, ly - 10, 24, 10, "#cfd8e6");
  svg.text(lx + 30, ly, "机会 ±2 SD band", 12);
  svg.text(lx + 30, ly + 16, Num(endMean - 2 * endSd) + " … " + Num(endMean + 2 * endSd), 12, "start", "#3a5a8c",
           " class=\"chance-band\"");
  ly += 42;
  const double z = endSd > 0 ? (endProfit - endMean) / endSd : 0;
  svg.text(lx, ly, "差 difference: " + Num(z, 2) + " SD", 12, "start", "#222222", " class=\"profit-z\"");
  svg.text(lx, ly + 18, "periods: " + std::to_string(n), 12);
}

// The bottom panel: hit rate against pool size, chance line and its +-2 SD per point.
void HitRatePanel(Svg& svg, const std::vector<HitRatePoint>& points, double top) {
  double xMax = 10, yMax = 1;
  for (const HitRatePoint& pt : points) {
    if (pt.chance.periods == 0) continue;
    const double rate = 100.0 * static_cast<double>(pt.chance.hits) / static_cast<double>(pt.chance.periods);
    const double sd = 100.0 * std::sqrt(pt.chance.variance) / static_cast<double>(pt.chance.periods);
    xMax = std::max(xMax, pt.meanPool);
    yMax = std::max({yMax, rate, pt.meanPool / 10 + 2 * sd});
  }
  Panel p{90, top, 660, 250, 0, std::ceil(xMax * 1.08 / 50) * 50, 0, std::ceil(yMax * 1.08 / 5) * 5};
  svg.axes(p, "平均注数 mean pool size (numbers)", "命中率 hit rate (%)", 0);
  svg.line(p.X(0), p.Y(0), p.X(p.x1), p.Y(p.x1 / 10), "#3a5a8c", 1.5, "6,4");
  const char* colours[] = {"#c8102e", "#1f7a1f", "#8a4fbf", "#d9822b", "#0f7b8a", "#7a5c1f"};
  const double lx = p.left + p.width + 16;
  double ly = top + 14;
  svg.line(lx, ly - 4, lx + 24, ly - 4, "#3a5a8c", 1.5, "6,4");
  svg.text(lx + 30, ly, "机会 chance = 注数/1000", 12);
  ly += 16;
  svg.text(lx + 30, ly, "竖线 bars: chance ±2 SD", 11, "start", "#555555");
  ly += 20;
  for (size_t i = 0; i < points.size(); ++i) {
    const HitRatePoint& pt = points[i];
    if (pt.chance.periods == 0) continue;
    const std::string colour = colours[i % 6];
    const double rate = 100.0 * static_cast<double>(pt.chance.hits) / static_cast<double>(pt.chance.periods);
    const double sd = 100.0 * std::sqrt(pt.chance.variance) / static_cast<double>(pt.chance.periods);
    const double expect = 100.0 * pt.chance.expectedHits / static_cast<double>(pt.chance.periods);
    svg.line(p.X(pt.meanPool), p.Y(expect - 2 * sd), p.X(pt.meanPool), p.Y(expect + 2 * sd), "#9aa7bd", 3);
    svg.circle(p.X(pt.meanPool), p.Y(rate), 4, colour);
    svg.text(p.X(pt.meanPool) + 6, p.Y(rate) - 6, std::to_string(i + 1), 10, "start", colour);
    if (ly < top + p.height + 40) {
      svg.circle(lx + 4, ly - 4, 4, colour);
      svg.text(lx + 12, ly, std::to_string(i + 1) + " " + pt.label + ": " + Num(rate, 2) + "% (" + Num(expect, 2) + "%)", 10,
               "start", "#222222", " class=\"hit-rate\"");
      ly += 14;
    }
  }
}

}  // namespace

std::string ChanceHeadline(int odds) {
  const double loss = 2.0 - odds / 1000.0;
  return "Every pool of k numbers " + std::string(loss >= 0 ? "loses " : "wins ") + Num(std::fabs(loss), 3) +
         " k units a draw on average at odds " + std::to_string(odds) + ", whatever its curve (a number costs 2, a hit pays " +
         std::to_string(odds) + ").";
}

std::string XmlEscape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::vector<HitRatePoint> PoolSizeGroups(const std::vector<JudgedPeriod>& periods, int groups) {
  std::vector<JudgedPeriod> sorted = periods;
  std::stable_sort(sorted.begin(), sorted.end(), [](const JudgedPeriod& a, const JudgedPeriod& b) { return a.poolSize < b.poolSize; });
  std::vector<HitRatePoint> points;
  const size_t n = sorted.size(), g = static_cast<size_t>(std::max(1, groups));
  for (size_t k = 0; k < g; ++k) {
    const size_t from = n * k / g, to = n * (k + 1) / g;
    if (from >= to) continue;
    std::vector<JudgedPeriod> part(sorted.begin() + static_cast<std::ptrdiff_t>(from), sorted.begin() + static_cast<std::ptrdiff_t>(to));
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

std::string BacktestReportSvg(const ReportRun& run) {
  Svg svg;
  const ChanceSummary chance = SummariseHits(run.periods);
  svg.text(24, 30, "回测报告 backtest: " + run.title, 18);
  svg.text(24, 50,
           "命中 hits " + std::to_string(chance.hits) + " / 机会 chance " + Num(chance.expectedHits, 1) + " (z " + Num(chance.z, 2) +
               ", p " + Num(chance.p, 4) + ")",
           12, "start", "#444444", " class=\"headline\"");
  svg.text(24, 68, ChanceHeadline(run.odds), 12, "start", "#444444", " class=\"chance-line\"");
  ProfitPanel(svg, run, 90);
  HitRatePanel(svg, PoolSizeGroups(run.periods, 6), 440);
  return svg.finish();
}

std::string SweepReportSvg(const SweepSpec& spec, const SweepResult& result, const std::string& drawsName) {
  std::vector<HitRatePoint> points;
  std::string names;
  for (const SweepAxis& axis : spec.axes) names += (names.empty() ? "" : " / ") + axis.name;
  for (const SweepRow& r : result.rows) {
    points.push_back(HitRatePoint{Join(r.values, " / "), r.chance.periods ? r.poolSum / static_cast<double>(r.chance.periods) : 0, r.chance});
  }
  ReportRun shown;
  if (result.luckiest >= 0) {
    const SweepRun& best = result.runs[static_cast<size_t>(result.luckiest)];
    shown = ReportRun{"最高利润的一次 the most profitable run: " + result.rows[best.combination].label + " seed " + std::to_string(best.seed),
                      best.outcome.periods, best.outcome.odds};
  }
  const std::string title = std::to_string(result.rows.size()) + " × " + std::to_string(spec.seeds) + " seeds, " + drawsName + " — " + names;
  Svg svg;
  svg.text(24, 30, "参数扫描 sweep: " + title, 18);
  svg.text(24, 50, "上图 top: " + shown.title, 12, "start", "#444444", " class=\"headline\"");
  svg.text(24, 68, ChanceHeadline(shown.odds), 12, "start", "#444444", " class=\"chance-line\"");
  ProfitPanel(svg, shown, 90);
  HitRatePanel(svg, points, 440);
  return svg.finish();
}

}  // namespace lumora
