// The small widgets the front panel is built from, beyond Qt's own: the
// transparent click areas over the picture's keys, the round alarm LED and
// the LCD's drawing surface.
#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

namespace kvr9 {

// A transparent square laid over the picture; a left click inside it
// (press and release) is reported as clicked(), a turn of the mouse wheel
// over it as wheelTurned() (away: turned away from the user).
class ClickArea : public QWidget {
  Q_OBJECT

 public:
  explicit ClickArea(QWidget* parent);

 signals:
  void clicked();
  void wheelTurned(bool away);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  bool pressed_ = false;
};

// A filled circle with a thin black outline, centred in the widget; its
// brush colour can change.
class CircleShape : public QWidget {
  Q_OBJECT

 public:
  explicit CircleShape(QWidget* parent, QColor brushColour);
  void SetBrushColour(QColor colour);
  QColor BrushColour() const { return brushColour_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor brushColour_;
};

// A bitmap of the widget's own size, created white at the first write.
// Until then the widget paints nothing and its parent shows through.
class DrawingSurface : public QWidget {
  Q_OBJECT

 public:
  explicit DrawingSurface(QWidget* parent);
  // The bitmap to write into; created on the first call.
  QImage& Surface();
  bool HasSurface() const { return !surface_.isNull(); }
  const QImage& Picture() const { return surface_; }

  // The picture's Visible property: while cleared the surface paints
  // nothing and its parent shows through. Qt hears of it only at
  // ShowVisibilityChange, when events are next let through, so hiding the
  // picture and showing it again before then costs no repaint.
  void SetPictureVisible(bool visible) { pictureVisible_ = visible; }
  bool IsPictureVisible() const { return pictureVisible_; }
  void ShowVisibilityChange();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage surface_;
  bool pictureVisible_ = true;
  bool paintedVisible_ = true;  // as the screen shows it
};

}  // namespace kvr9
