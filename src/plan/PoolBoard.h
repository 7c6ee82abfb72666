#pragma once
// The eight-pool board: for each backup pool box T_dd_beiyong_0..7 (rows 1..8) and each of the
// last twenty draws (columns 1..20, column 20 the newest), whether the draw hit that pool.
#include <array>
#include <string>

#include "core/Context.h"
#include "core/Scene.h"

namespace lumora {

inline constexpr int kBoardPoolRows = 8;
inline constexpr int kBoardColumns = 20;

// Cell of the board: '2' hit, '1' miss, ' ' not evaluated (empty pool, or no draw there yet).
using PoolBoardCells = std::array<std::array<char, kBoardColumns + 1>, kBoardPoolRows + 1>;

// Rows 1..8, columns 1..20; index 0 unused. Row 7 is tested on the two digits after the first
// of the sub-game (its last two), every other row on the three-digit sub-number.
PoolBoardCells EvaluatePoolBoard(const Context& cx);

// x from -1 to 21, y from 0 (bottom) to 9 (top): the light grey grid, the row numbers, and a
// circle of radius 0.15 per evaluated cell, red for a hit, blue for a miss.
Scene PoolBoardScene(const PoolBoardCells& cells);

// Paints the board into Fk.Pic_k_5 and makes the picture visible.
void PaintPoolBoard(Context& cx);

}  // namespace lumora
