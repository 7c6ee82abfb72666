// lumora-cli rank / filter / shrink: the number tools from a terminal.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/Files.h"
#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "core/controls/Ftool.h"
#include "tools/BankerRanking.h"
#include "tools/ShrinkTool.h"
#include "tools/Texts.h"

namespace lumora::cli {

namespace {

namespace tt = tools_text;

int Unknown(const Args& args, const std::vector<std::string>& known) {
  auto extra = args.unknown(known);
  if (!extra.empty()) return Fail("unknown option " + extra.front());
  return 0;
}

// Digits only (possibly empty); anything else is a malformed mark.
bool DigitString(const std::string& s, char maxDigit = '9') {
  for (char c : s)
    if (c < '0' || c > maxDigit) return false;
  return true;
}

// Marks a digit string on a button row: buttons first+d for every digit d.
void MarkDigits(Form& f, ControlArray<ControlKind::Button> row, int first, const std::string& digits, int colour) {
  for (char c : digits) f.setBackColor(row[first + (c - '0')], colour);
}

// "--compound H,T,U" / "--kill H,T,U": three comma-separated digit strings.
std::string PositionRows(Form& f, const std::string& option, const std::string& value,
                         ControlArray<ControlKind::Button> row) {
  auto rows = Split(value, ",");
  if (rows.size() != 3) return option + " wants three digit strings separated by commas (H,T,U), got \"" + value + "\"";
  for (int p = 0; p < 3; ++p) {
    if (!DigitString(rows[p])) return option + ": \"" + rows[p] + "\" is not a digit string";
    MarkDigits(f, row, p * 10, rows[p], tt::kRed);
  }
  return {};
}

// "--route"/"--size"/...: blank-separated captions, each one of `captions`.
template <typename Captions>
std::string TickPatterns(Form& f, const std::string& option, const std::string& value, const Captions& captions,
                         ControlArray<ControlKind::CheckBox> boxes) {
  for (const std::string& raw : Split(value, " ")) {
    std::string p = Trim(raw);
    if (p.empty()) continue;
    int item = -1;
    for (size_t i = 0; i < captions.size(); ++i)
      if (captions[i] == p) item = static_cast<int>(i);
    if (item < 0) return option + ": unknown pattern \"" + p + "\"";
    f.setChecked(boxes[item], true);
  }
  return {};
}

std::vector<std::string> RouteCaptions() {
  std::vector<std::string> out;
  for (int i = 0; i < 27; ++i) out.push_back({char('0' + i / 9), char('0' + i / 3 % 3), char('0' + i % 3)});
  return out;
}

}  // namespace

int RunRank(int argc, char** argv) {
  Args args(argc, argv, 0, {"--cold"});
  if (!args.ok()) return Fail(args.error());
  if (int rc = Unknown(args, {"--draws", "--window", "--groups", "--cold"})) return rc;
  if (!args.has("--draws") || !args.has("--window") || !args.has("--groups"))
    return Fail("usage: rank --draws FILE --window N --groups MODE [--cold]");
  DrawFile file = ReadDrawFile(args.get("--draws"));
  if (!file.error.empty()) return Fail(file.error);
  Context cx;
  LoadHistory(cx.draws, file.draws, file.draws.size(), 3);
  RankingSettings s = ReadRankingSettings(args.get("--window"), args.get("--groups"));
  if (!s.error.empty()) {
    std::fprintf(stderr, "%s\n", s.error.c_str());
    return 1;
  }
  for (const std::string& line : BuildRankingLines(cx.draws, s.window, s.lengths, args.has("--cold")))
    std::printf("%s\n", line.c_str());
  return 0;
}

int RunFilter(int argc, char** argv) {
  Args args(argc, argv, 0);
  if (!args.ok()) return Fail(args.error());
  if (int rc = Unknown(args, {"--rules", "--accept"})) return rc;
  if (!args.has("--rules") || !args.has("--accept")) return Fail("usage: filter --rules FILE --accept TEXT");
  auto rules = ReadTextFile(PathFromUtf8(args.get("--rules")));
  if (!rules) return Fail("cannot read rules file " + args.get("--rules"));
  Context cx;
  cx.form.setText(fmain::T_paixu_input, ToCrLf(*rules));
  cx.form.setText(fmain::T_paixu_input_rc, args.get("--accept"));
  cx.form.setText(fmain::Label_paixu_zhushu, "0");
  BankerFilter(cx);
  std::printf("%s\n%s\n", cx.form.text(fmain::T_paixu_dadi).c_str(), cx.form.text(fmain::Label_paixu_zhushu).c_str());
  return 0;
}

int RunShrink(int argc, char** argv) {
  Args args(argc, argv, 0, {"--banker-repeat"});
  if (!args.ok()) return Fail(args.error());
  const std::vector<std::string> known = {"--compound", "--kill", "--route",  "--size",          "--parity", "--prime",
                                          "--sum-tail", "--span", "--banker", "--banker-repeat", "--junk"};
  if (int rc = Unknown(args, known)) return rc;
  Context cx;
  Form& f = cx.form;
  ShrinkToolDefaults(f);
  std::string error;
  if (args.has("--compound")) error = PositionRows(f, "--compound", args.get("--compound"), ftool::C_fushi_paichu);
  if (error.empty() && args.has("--kill")) error = PositionRows(f, "--kill", args.get("--kill"), ftool::C_dingwei_sha);
  if (error.empty() && args.has("--route"))
    error = TickPatterns(f, "--route", args.get("--route"), RouteCaptions(), ftool::Check_012_paichu);
  if (error.empty() && args.has("--size"))
    error = TickPatterns(f, "--size", args.get("--size"), tt::kSizePatterns, ftool::Check_pailie_daxiao);
  if (error.empty() && args.has("--parity"))
    error = TickPatterns(f, "--parity", args.get("--parity"), tt::kParityPatterns, ftool::Check_pailie_jiou);
  if (error.empty() && args.has("--prime"))
    error = TickPatterns(f, "--prime", args.get("--prime"), tt::kPrimePatterns, ftool::Check_pailie_zhihe);
  for (auto [option, boxes] :
       {std::pair{"--sum-tail", ftool::Check_hewei_sha}, std::pair{"--span", ftool::Check_kuadu_sha}}) {
    if (!error.empty() || !args.has(option)) continue;
    std::string digits = args.get(option);
    if (digits.empty() || !DigitString(digits)) {
      error = std::string(option) + " wants digits, got \"" + digits + "\"";
      continue;
    }
    for (char c : digits) f.setChecked(boxes[c - '0'], true);
  }
  if (error.empty() && args.has("--banker")) {
    auto groups = Split(ReplaceAll(args.get("--banker"), ",", " "), " ");
    std::erase_if(groups, [](const std::string& g) { return Trim(g).empty(); });
    if (groups.empty() || groups.size() > kBankerGroups) error = "--banker wants one to four groups DIGITS[:COUNTS]";
    for (size_t g = 0; error.empty() && g < groups.size(); ++g) {
      auto parts = Split(Trim(groups[g]), ":");
      if (parts.size() > 2 || parts[0].empty() || !DigitString(parts[0]) ||
          (parts.size() == 2 && (parts[1].empty() || !DigitString(parts[1], '3')))) {
        error = "--banker: \"" + groups[g] + "\" is not DIGITS[:COUNTS] (counts 0-3)";
        break;
      }
      MarkDigits(f, ftool::C_danzu, static_cast<int>(g) * 10, parts[0], tt::kGreen);
      if (parts.size() == 2) MarkDigits(f, ftool::C_danzu_gs, static_cast<int>(g) * 4, parts[1], tt::kGreen);
    }
  }
  if (!error.empty()) return Fail(error);
  f.setChecked(ftool::Check_danma_jc, args.has("--banker-repeat"));
  f.setText(ftool::T_lj_dd, args.get("--junk"));
  ks_suoshui(cx);
  std::printf("%s\n%s\n", f.text(ftool::Tdd).c_str(), f.text(ftool::L_zhushu).c_str());
  return 0;
}

}  // namespace lumora::cli
