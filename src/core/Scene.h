#pragma once
// A chart as plain data: a logical coordinate system, a background and the items drawn on it,
// in drawing order. The engine builds Scenes; the shell's ChartView paints any Scene, and tests
// assert on Scenes instead of pixels.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace lumora {

// Colours are the design's blue-green-red integers (red 255, green 65280, blue 16711680).
using Bgr = int32_t;
inline constexpr Bgr kRed = 255;
inline constexpr Bgr kGreen = 65280;
inline constexpr Bgr kBlue = 16711680;
inline constexpr Bgr kBlack = 0;
inline constexpr Bgr kWhite = 16777215;
inline constexpr Bgr kLightGrey = 14737632;
inline constexpr Bgr kCyan = 16776960;
inline constexpr Bgr kLightGreen = 8454016;
constexpr Bgr Rgb(int r, int g, int b) { return r | (g << 8) | (b << 16); }

struct SceneLine {
  double x1, y1, x2, y2;
  Bgr color = kBlack;
  int width = 1;  // pixels
};

struct SceneText {
  double x, y;  // top-left corner of the text, logical
  std::string text;
  Bgr color = kBlack;
  int pointSize = 9;
};

struct SceneCircle {
  double x, y, radius;  // radius in logical x units
  Bgr color = kBlack;
  bool filled = false;
};

struct SceneBox {  // filled rectangle
  double x1, y1, x2, y2;
  Bgr color = kBlack;
};

using SceneItem = std::variant<SceneLine, SceneText, SceneCircle, SceneBox>;

struct Scene {
  // Logical scale: the picture's left edge is `left`, top edge `top`, right edge `left + width`,
  // bottom edge `top + height`. A negative height makes y grow upwards.
  double left = 0, top = 0, width = 1, height = 1;
  Bgr background = kWhite;
  std::vector<SceneItem> items;

  void clear() { items.clear(); }
  void setScale(double l, double t, double r, double b) {
    left = l;
    top = t;
    width = r - l;
    height = b - t;
  }
  void line(double x1, double y1, double x2, double y2, Bgr color, int w = 1) {
    items.push_back(SceneLine{x1, y1, x2, y2, color, w});
  }
  void text(double x, double y, std::string s, Bgr color = kBlack, int pointSize = 9) {
    items.push_back(SceneText{x, y, std::move(s), color, pointSize});
  }
  void circle(double x, double y, double r, Bgr color, bool filled = false) {
    items.push_back(SceneCircle{x, y, r, color, filled});
  }
  void box(double x1, double y1, double x2, double y2, Bgr color) { items.push_back(SceneBox{x1, y1, x2, y2, color}); }

  // Logical point of a pixel position in a picture of the given pixel size (for mouse events).
  void toLogical(double px, double py, double pixelWidth, double pixelHeight, double& x, double& y) const {
    x = left + (pixelWidth > 0 ? px / pixelWidth * width : 0);
    y = top + (pixelHeight > 0 ? py / pixelHeight * height : 0);
  }
};

}  // namespace lumora
