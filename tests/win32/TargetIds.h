#pragma once
// Control ids of the test program's windows, shared by the program and the test that drives it.
namespace target_ids {

inline constexpr int kNumbersBox = 101;
inline constexpr int kMultipleBox = 102;
inline constexpr int kButton = 103;
inline constexpr int kToolBox = 201;
inline constexpr int kChatBox = 301;

}  // namespace target_ids
