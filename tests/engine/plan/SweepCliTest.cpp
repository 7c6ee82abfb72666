// lumora-cli sweep and the SVG reports over a generated draw file: the real pipeline end to end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/Files.h"
#include "core/Text.h"
#include "support/DrawLines.h"
#include "support/RunProgram.h"
#include "support/ScratchFolder.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;
using testing::RunCli;
using testing::RunResult;

std::string ReadAll(const fs::path& path) { return ReadWholeFileBytes(path).value_or(""); }

// A small well-formedness check: one root, every tag closed in order, attributes quoted, only
// the five XML entities, no stray '<' or '&' in text. Returns "" or what is wrong.
std::string XmlProblem(const std::string& x) {
  std::vector<std::string> open;
  size_t i = x.rfind("?>", 200) == std::string::npos ? 0 : x.find("?>") + 2;
  int roots = 0;
  while (i < x.size()) {
    if (x[i] == '&') {
      size_t semi = x.find(';', i);
      std::string ent = semi == std::string::npos ? "" : x.substr(i, semi - i + 1);
      if (ent != "&amp;" && ent != "&lt;" && ent != "&gt;" && ent != "&quot;" && ent != "&apos;")
        return "bad entity at " + std::to_string(i);
      i = semi + 1;
      continue;
    }
    if (x[i] != '<') {
      if (open.empty() && !std::isspace(static_cast<unsigned char>(x[i]))) return "text outside the root";
      ++i;
      continue;
    }
    size_t end = i + 1;
    char quote = 0;
    for (; end < x.size(); ++end) {
      if (quote) {
        if (x[end] == quote) quote = 0;
        else if (x[end] == '<') return "'<' inside an attribute";
      } else if (x[end] == '"' || x[end] == '\'') {
        quote = x[end];
      } else if (x[end] == '>') {
        break;
      } else if (x[end] == '<') {
        return "'<' inside a tag";
      }
    }
    if (end >= x.size()) return "unclosed tag";
    std::string tag = x.substr(i + 1, end - i - 1);
    if (tag.rfind("/", 0) == 0) {
      if (open.empty() || open.back() != Trim(tag.substr(1))) return "mismatched </" + tag.substr(1) + ">";
      open.pop_back();
    } else {
      std::string name = tag.substr(0, tag.find_first_of(" \t\r\n/"));
      if (name.empty()) return "empty tag name";
      // Attributes: name="value" pairs only.
      std::string rest = tag.substr(name.size());
      if (!rest.empty() && rest.back() == '/') rest.pop_back();
      for (size_t k = 0; k < rest.size();) {
        while (k < rest.size() && std::isspace(static_cast<unsigned char>(rest[k]))) ++k;
        if (k >= rest.size()) break;
        size_t eq = rest.find('=', k);
        if (eq == std::string::npos || eq + 1 >= rest.size() || rest[eq + 1] != '"')
          return "unquoted attribute in <" + name + ">";
        size_t close = rest.find('"', eq + 2);
        if (close == std::string::npos) return "unterminated attribute in <" + name + ">";
        k = close + 1;
      }
      if (open.empty()) ++roots;
      if (tag.back() != '/') open.push_back(name);
    }
    i = end + 1;
  }
  if (!open.empty()) return "unclosed <" + open.back() + ">";
  return roots == 1 ? "" : "want one root element";
}

// The texts of every <text> element, in order.
std::vector<std::string> Texts(const std::string& svg) {
  std::vector<std::string> out;
  for (size_t at = 0; (at = svg.find("<text ", at)) != std::string::npos;) {
    const size_t from = svg.find('>', at) + 1, to = svg.find("</text>", from);
    out.push_back(svg.substr(from, to - from));
    at = to;
  }
  return out;
}

// The text right after the one equal to `label` (a legend's figure below its label).
std::string After(const std::vector<std::string>& texts, const std::string& label) {
  for (size_t i = 0; i + 1 < texts.size(); ++i)
    if (texts[i] == label) return texts[i + 1];
  return {};
}

bool AnyContains(const std::vector<std::string>& texts, const std::string& part) {
  return std::any_of(texts.begin(), texts.end(),
                     [&](const std::string& t) { return t.find(part) != std::string::npos; });
}

class SweepCliTest : public ::testing::Test {
 protected:
  const testing::ScratchFolder dir{"sweep"};
  const std::string draws = (dir / "draws.txt").string();
  void SetUp() override {
    ASSERT_NE(std::getenv("LUMORA_BIN"), nullptr);
    dir.put("draws.txt", testing::DrawLines(134, 4));
  }
};

TEST(XmlCheckTest, CatchesWhatBreaksAnSvg) {
  EXPECT_EQ(XmlProblem("<svg><text x=\"1\">a &amp; b</text></svg>"), "");
  EXPECT_NE(XmlProblem("<svg><text>a & b</text></svg>"), "");
  EXPECT_NE(XmlProblem("<svg><text>a</svg>"), "");
  EXPECT_NE(XmlProblem("<svg><line x=1/></svg>"), "");
  EXPECT_NE(XmlProblem("<svg/><svg/>"), "");
}

TEST_F(SweepCliTest, BacktestReportIsWellFormedAndCarriesTheRunsFigures) {
  const fs::path svg = dir / "backtest.svg";
  RunResult r = RunCli({"backtest", "--draws", draws, "--seed", "3", "--report", svg.string()});
  ASSERT_EQ(r.exitCode, 0) << r.out;
  const std::string profit =
      r.out.substr(r.out.find("profit=") + 7, r.out.find(" turnover=") - r.out.find("profit=") - 7);
  const std::string text = ReadAll(svg);
  EXPECT_EQ(XmlProblem(text), "");
  const std::vector<std::string> texts = Texts(text);
  EXPECT_EQ(After(texts, "本次累计利润 run"), profit);
  EXPECT_TRUE(AnyContains(texts, "periods: 14")) << text;
  EXPECT_TRUE(AnyContains(texts, "loses 0.060 k units a draw on average at odds 1940"));
  // The chance mean of 14 flat periods is -3% of the turnover.
  const long long turnover = std::stoll(r.out.substr(r.out.find(" turnover=") + 10));
  EXPECT_EQ(After(texts, "机会均值 chance mean"),
            std::to_string(static_cast<long long>(std::llround(-0.03 * turnover))));
}

TEST_F(SweepCliTest, SweepTableDoesNotDependOnJobsAndRefusesUnknownNames) {
  const std::vector<std::string> base = {
      "sweep",   "--draws", draws, "--set", "T_jh_dadi_chongfu_cs=1,3", "--set", "T_quxian_zhushu_0=100,300",
      "--seeds", "2"};
  auto with = [&](std::vector<std::string> more) {
    more.insert(more.begin(), base.begin(), base.end());
    return more;
  };
  const fs::path csv = dir / "sweep.csv", svg = dir / "sweep.svg", csv1 = dir / "one.csv", svg1 = dir / "one.svg";
  RunResult one = RunCli(with({"--jobs", "1", "--csv", csv1.string(), "--report", svg1.string()}));
  RunResult two = RunCli(with({"--jobs", "3", "--csv", csv.string(), "--report", svg.string()}));
  ASSERT_EQ(one.exitCode, 0) << one.out;
  // Table, CSV and report byte for byte the same on one thread and on three.
  EXPECT_EQ(one.out, two.out);
  EXPECT_EQ(ReadAll(csv1), ReadAll(csv));
  EXPECT_EQ(ReadAll(svg1), ReadAll(svg));
  EXPECT_EQ(one.out.rfind("Every pool of k numbers loses 0.060 k units a draw on average at odds 1940", 0), 0u);
  // Four combinations, 14 judged periods and two seeds each.
  for (const char* label :
       {"T_jh_dadi_chongfu_cs=1 T_quxian_zhushu_0=100", "T_jh_dadi_chongfu_cs=3 T_quxian_zhushu_0=300"})
    EXPECT_NE(one.out.find(label), std::string::npos) << label;
  EXPECT_NE(one.out.find("      28 "), std::string::npos);
  const std::string table = ReadAll(csv);
  EXPECT_EQ(table.rfind("T_jh_dadi_chongfu_cs,T_quxian_zhushu_0,seeds,periods,hits,", 0), 0u);
  EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 5);
  const std::string report = ReadAll(svg);
  EXPECT_EQ(XmlProblem(report), "");
  size_t points = 0;
  for (const std::string& t : Texts(report)) points += t.find("% (chance ") != std::string::npos ? 1 : 0;
  EXPECT_EQ(points, 4u);

  RunResult bad = RunCli({"sweep", "--draws", draws, "--set", "T_no_such_box=1,2"});
  EXPECT_EQ(bad.exitCode, 2);
  EXPECT_NE(bad.err.find("no control named T_no_such_box"), std::string::npos) << bad.err;
  RunResult badValue = RunCli({"sweep", "--draws", draws, "--set", "Option_touzhu_sz=0,7"});
  EXPECT_EQ(badValue.exitCode, 2);
  EXPECT_NE(badValue.err.find("\"7\" is not a value of Option_touzhu_sz: it selects one of its 3 options"),
            std::string::npos)
      << badValue.err;
}

TEST_F(SweepCliTest, TableColumnsAlignWithChineseValues) {
  RunResult r = RunCli({"sweep", "--draws", draws, "--set", "T_jh_dadi_chongfu_rc=08.09,容对08.09.10", "--jobs", "1"});
  ASSERT_EQ(r.exitCode, 0) << r.out;
  // The header and both rows put "periods" / its figure's end at the same terminal column.
  std::vector<std::string> lines;
  for (const std::string& line : Split(r.out, "\n"))
    if (line.rfind("  #", 0) == 0 || line.rfind("  1  ", 0) == 0 || line.rfind("  2  ", 0) == 0) lines.push_back(line);
  ASSERT_EQ(lines.size(), 3u) << r.out;
  const size_t header = static_cast<size_t>(DisplayColumns(lines[0].substr(0, lines[0].find("periods") + 7)));
  for (size_t i = 1; i < 3; ++i) {
    const std::string& row = lines[i];
    const size_t eq = row.find('=');
    const size_t end =
        row.find_first_of(' ', row.find_first_not_of(' ', row.find_first_of(' ', eq)));  // end of the periods figure
    EXPECT_EQ(static_cast<size_t>(DisplayColumns(row.substr(0, end))), header) << row;
  }
}

}  // namespace
}  // namespace lumora
