#include "panel/panel_widgets.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

namespace kvr9 {

ClickArea::ClickArea(QWidget* parent) : QWidget(parent) {}

void ClickArea::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
}

void ClickArea::mouseReleaseEvent(QMouseEvent* event) {
  const bool click =
      pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  if (click) emit clicked();
}

void ClickArea::wheelEvent(QWheelEvent* event) {
  const int turn = event->angleDelta().y();
  if (turn != 0) emit wheelTurned(turn > 0);
}

CircleShape::CircleShape(QWidget* parent, QColor brushColour)
    : QWidget(parent), brushColour_(brushColour) {}

void CircleShape::SetBrushColour(QColor colour) {
  if (colour == brushColour_) return;
  brushColour_ = colour;
  update();
}

void CircleShape::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::black, 1.0));
  painter.setBrush(brushColour_);
  const int diameter = std::min(width(), height()) - 1;
  const QRectF circle((width() - diameter) / 2.0, (height() - diameter) / 2.0, diameter, diameter);
  painter.drawEllipse(circle.adjusted(0.5, 0.5, -0.5, -0.5));
}

DrawingSurface::DrawingSurface(QWidget* parent) : QWidget(parent) {}

QImage& DrawingSurface::Surface() {
  if (surface_.isNull()) {
    surface_ = QImage(size(), QImage::Format_RGB32);
    surface_.fill(Qt::white);
  }
  return surface_;
}

void DrawingSurface::ShowVisibilityChange() {
  if (pictureVisible_ != paintedVisible_) update();
}

void DrawingSurface::paintEvent(QPaintEvent* /*event*/) {
  paintedVisible_ = pictureVisible_;
  if (surface_.isNull() || !pictureVisible_) return;
  QPainter painter(this);
  painter.drawImage(0, 0, surface_);
}

}  // namespace kvr9
