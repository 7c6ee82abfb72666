#include "plan/PoolBoard.h"

#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "plan/SideCharts.h"

namespace lumora {

namespace {
constexpr int kTwoDigitRow = 7;
constexpr Bgr kGridGrey = Rgb(224, 224, 224);
}  // namespace

PoolBoardCells EvaluatePoolBoard(const Context& cx) {
  PoolBoardCells cells;
  for (auto& row : cells) row.fill(' ');
  const DrawStore& draws = cx.draws;
  const size_t start = static_cast<size_t>(draws.subStart - 1);
  for (int r = 1; r <= kBoardPoolRows; ++r) {
    const std::string& pool = cx.form.text(fmain::T_dd_beiyong[r - 1]);
    if (pool.empty()) continue;
    for (int j = 1; j <= kBoardColumns; ++j) {
      const std::string& digits = draws.history[static_cast<size_t>(kBoardColumns + 1 - j)].digits;
      const size_t at = r == kTwoDigitRow ? start + 1 : start;
      const size_t len = r == kTwoDigitRow ? 2 : 3;
      // A history shorter than twenty draws leaves the older columns without a draw.
      if (digits.size() < at + len) continue;
      cells[static_cast<size_t>(r)][static_cast<size_t>(j)] = Contains(pool, digits.substr(at, len)) ? '2' : '1';
    }
  }
  return cells;
}

Scene PoolBoardScene(const PoolBoardCells& cells) {
  Scene scene;
  scene.setScale(-1, 9, 21, 0);
  scene.line(0, 0, 0, 9, kGridGrey);
  for (int r = 1; r <= kBoardPoolRows; ++r) scene.line(0, r, 21, r, kGridGrey);
  for (int j = 1; j <= kBoardColumns; ++j) scene.line(j, 0, j, 9, kGridGrey);
  for (int r = 1; r <= kBoardPoolRows; ++r) scene.text(-1, r + 0.2, std::to_string(r), kBlack, 7);
  for (int r = 1; r <= kBoardPoolRows; ++r) {
    for (int j = 1; j <= kBoardColumns; ++j) {
      char c = cells[static_cast<size_t>(r)][static_cast<size_t>(j)];
      if (c == '2') scene.circle(j, r, 0.15, kRed);
      else if (c == '1') scene.circle(j, r, 0.15, kBlue);
    }
  }
  return scene;
}

void PaintPoolBoard(Context& cx) {
  if (!cx.headless) cx.form.setScene(kBoardPicture, PoolBoardScene(EvaluatePoolBoard(cx)));
  cx.form.setVisible(kBoardPicture, true);
}

}  // namespace lumora
