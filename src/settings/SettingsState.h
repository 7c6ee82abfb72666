#pragma once
// The process-wide stores of the schemes-and-settings subsystem, created at start-up and kept
// for the whole run: the state of the side window, of the settings centre and of a running
// settings exchange.
namespace lumora {

inline constexpr int kSideWindowCollapsedTwips = 1;
inline constexpr int kSideWindowWideTwips = 3780;
inline constexpr int kTwipsPerPixel = 15;

enum class SettingsExchange { None, Upload, Download };

struct SettingsState {
  // Width of the side window Fk in twips: 1 collapsed (the window stays open), 3780 wide.
  int sideWindowTwips = kSideWindowCollapsedTwips;
  // The settings centre Frame_sz_zx: true once asked to slide in, false once asked to slide out.
  bool panelOpen = false;
  // The settings exchange in progress, if any (one at a time: its answer is awaited).
  SettingsExchange exchange = SettingsExchange::None;
};

}  // namespace lumora
