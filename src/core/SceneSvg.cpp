#include "core/SceneSvg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <variant>

#include "core/Text.h"

namespace lumora {
namespace {

constexpr const char* kFont = "WenQuanYi Micro Hei, Noto Sans CJK SC, sans-serif";

std::string Num(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.1f", v);
  std::string s = buf;
  if (s.size() > 2 && s.compare(s.size() - 2, 2, ".0") == 0) s.resize(s.size() - 2);
  if (s == "-0") s = "0";
  return s;
}

std::string Colour(Bgr c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "#%02x%02x%02x", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
  return buf;
}

double FontPixels(int pointSize) { return (pointSize > 0 ? pointSize : 9) * 4.0 / 3.0; }

}  // namespace

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

double TextPixels(const std::string& text, int pointSize) {
  return DisplayColumns(text) * 0.55 * FontPixels(pointSize);
}

std::string SceneSvg(const Scene& scene) {
  const double w = std::fabs(scene.width), h = std::fabs(scene.height);
  auto X = [&](double x) { return scene.width != 0 ? (x - scene.left) / scene.width * w : 0; };
  auto Y = [&](double y) { return scene.height != 0 ? (y - scene.top) / scene.height * h : 0; };
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                    Num(w) + "\" height=\"" + Num(h) + "\" viewBox=\"0 0 " + Num(w) + " " + Num(h) +
                    "\" font-family=\"" + kFont + "\">\n";
  out += "<rect x=\"0\" y=\"0\" width=\"" + Num(w) + "\" height=\"" + Num(h) + "\" fill=\"" + Colour(scene.background) +
         "\"/>\n";
  const auto& items = scene.items;
  for (size_t i = 0; i < items.size(); ++i) {
    if (const auto* l = std::get_if<SceneLine>(&items[i])) {
      // A chain of joined lines of one style becomes one polyline.
      std::string points = Num(X(l->x1)) + "," + Num(Y(l->y1)) + " " + Num(X(l->x2)) + "," + Num(Y(l->y2));
      size_t j = i + 1;
      for (const SceneLine* prev = l; j < items.size(); ++j) {
        const auto* n = std::get_if<SceneLine>(&items[j]);
        if (!n || n->color != l->color || n->width != l->width || n->x1 != prev->x2 || n->y1 != prev->y2) break;
        points += " " + Num(X(n->x2)) + "," + Num(Y(n->y2));
        prev = n;
      }
      if (j == i + 1) {
        out += "<line x1=\"" + Num(X(l->x1)) + "\" y1=\"" + Num(Y(l->y1)) + "\" x2=\"" + Num(X(l->x2)) + "\" y2=\"" +
               Num(Y(l->y2)) + "\" stroke=\"" + Colour(l->color) + "\" stroke-width=\"" + std::to_string(l->width) +
               "\"/>\n";
      } else {
        out += "<polyline fill=\"none\" stroke=\"" + Colour(l->color) + "\" stroke-width=\"" +
               std::to_string(l->width) + "\" points=\"" + points + "\"/>\n";
        i = j - 1;
      }
    } else if (const auto* t = std::get_if<SceneText>(&items[i])) {
      const double size = FontPixels(t->pointSize);
      out += "<text x=\"" + Num(X(t->x)) + "\" y=\"" + Num(Y(t->y) + 0.85 * size) + "\" font-size=\"" + Num(size) +
             "\" fill=\"" + Colour(t->color) + "\">" + XmlEscape(t->text) + "</text>\n";
    } else if (const auto* c = std::get_if<SceneCircle>(&items[i])) {
      const double r = scene.width != 0 ? std::fabs(c->radius / scene.width * w) : 1;
      out += "<circle cx=\"" + Num(X(c->x)) + "\" cy=\"" + Num(Y(c->y)) + "\" r=\"" + Num(r) + "\" " +
             (c->filled ? "fill=\"" + Colour(c->color) + "\"" : "fill=\"none\" stroke=\"" + Colour(c->color) + "\"") +
             "/>\n";
    } else if (const auto* b = std::get_if<SceneBox>(&items[i])) {
      const double x1 = std::min(X(b->x1), X(b->x2)), y1 = std::min(Y(b->y1), Y(b->y2));
      out += "<rect x=\"" + Num(x1) + "\" y=\"" + Num(y1) + "\" width=\"" + Num(std::fabs(X(b->x2) - X(b->x1))) +
             "\" height=\"" + Num(std::fabs(Y(b->y2) - Y(b->y1))) + "\" fill=\"" + Colour(b->color) + "\"/>\n";
    }
  }
  return out + "</svg>\n";
}

}  // namespace lumora
