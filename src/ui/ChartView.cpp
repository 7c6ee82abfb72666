#include "ui/ChartView.h"

#include <QMouseEvent>
#include <QPainter>

namespace lumora {

QColor ToQColor(int bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

ChartView::ChartView(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChartView::setScene(const Scene& scene) {
  scene_ = scene;
  update();
}

QPointF ChartView::toLogical(QPointF p) const {
  double x = 0, y = 0;
  scene_.toLogical(p.x(), p.y(), width(), height(), x, y);
  return {x, y};
}

QPointF ChartView::toPixel(double x, double y) const {
  double px = scene_.width != 0 ? (x - scene_.left) / scene_.width * width() : 0;
  double py = scene_.height != 0 ? (y - scene_.top) / scene_.height * height() : 0;
  return {px, py};
}

void ChartView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), ToQColor(scene_.background));
  p.setRenderHint(QPainter::Antialiasing, false);
  for (const SceneItem& item : scene_.items) {
    if (auto* l = std::get_if<SceneLine>(&item)) {
      p.setPen(QPen(ToQColor(l->color), l->width));
      p.drawLine(toPixel(l->x1, l->y1), toPixel(l->x2, l->y2));
    } else if (auto* t = std::get_if<SceneText>(&item)) {
      QFont f = font();
      f.setPointSize(t->pointSize > 0 ? t->pointSize : 9);
      p.setFont(f);
      p.setPen(ToQColor(t->color));
      QPointF at = toPixel(t->x, t->y);
      p.drawText(QRectF(at, QSizeF(2000, 2000)), Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(t->text));
    } else if (auto* c = std::get_if<SceneCircle>(&item)) {
      QPointF centre = toPixel(c->x, c->y);
      double r = scene_.width != 0 ? std::abs(c->radius / scene_.width * width()) : 1;
      p.setPen(QPen(ToQColor(c->color), 1));
      p.setBrush(c->filled ? QBrush(ToQColor(c->color)) : Qt::NoBrush);
      p.drawEllipse(centre, r, r);
      p.setBrush(Qt::NoBrush);
    } else if (auto* b = std::get_if<SceneBox>(&item)) {
      p.fillRect(QRectF(toPixel(b->x1, b->y1), toPixel(b->x2, b->y2)).normalized(), ToQColor(b->color));
    }
  }
}

namespace {
int ButtonCode(Qt::MouseButtons b) {
  int code = 0;
  if (b & Qt::LeftButton) code |= 1;
  if (b & Qt::RightButton) code |= 2;
  if (b & Qt::MiddleButton) code |= 4;
  return code;
}
}  // namespace

void ChartView::mousePressEvent(QMouseEvent* e) {
  QPointF l = toLogical(e->position());
  Q_EMIT mousePressed(l.x(), l.y(), ButtonCode(e->button()));
}

void ChartView::mouseMoveEvent(QMouseEvent* e) {
  QPointF l = toLogical(e->position());
  Q_EMIT mouseMoved(l.x(), l.y(), ButtonCode(e->buttons()));
}

}  // namespace lumora
