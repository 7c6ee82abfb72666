#pragma once
// The one writer of a Scene as an SVG picture: what the program's ChartView paints, as a file.
// The picture is the scene's logical size in pixels (a scene meant for a file uses pixels as its
// logical units); texts are placed by their top-left corner, as ChartView places them, in a
// font size of pointSize * 4/3 pixels.
#include <string>

#include "core/Scene.h"

namespace lumora {

// A complete SVG document (UTF-8). Consecutive lines of one colour and width that join end to
// start are written as one polyline.
std::string SceneSvg(const Scene& scene);

// Text with &, <, >, " escaped for XML.
std::string XmlEscape(const std::string& text);

// The width in pixels a text takes at a point size: the estimate reports lay out by (wide
// characters one em, others 0.55 em).
double TextPixels(const std::string& text, int pointSize);

}  // namespace lumora
