#pragma once
// Paints any Scene with QPainter and reports mouse presses and moves in the Scene's logical
// coordinates. All scale and layout maths stays in the engine; this only draws.
#include <QWidget>

#include "core/Scene.h"

namespace lumora {

class ChartView : public QWidget {
  Q_OBJECT
 public:
  explicit ChartView(QWidget* parent = nullptr);
  void setScene(const Scene& scene);
  const Scene& scene() const { return scene_; }
  QPointF toLogical(QPointF pixel) const;
  QPointF toPixel(double x, double y) const;

 Q_SIGNALS:
  // button: 1 left, 2 right, 4 middle (as the design's mouse events number them)
  void mousePressed(double x, double y, int button);
  void mouseMoved(double x, double y, int buttons);

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;

 private:
  Scene scene_;
};

QColor ToQColor(int bgr);

}  // namespace lumora
