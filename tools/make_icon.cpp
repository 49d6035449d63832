// Cuts the application icon out of the front-panel picture: the round
// instrument face on a transparent square, 256 x 256 unless SIZE says
// otherwise. The web page's icons then go through pngquant (target
// web-icons).
//   kvr9-make-icon FACE.jpg ICON.png [SIZE]
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  const int size = argc == 4 ? std::atoi(argv[3]) : 256;
  if ((argc != 3 && argc != 4) || size < 16 || size > 1024) {
    std::fprintf(stderr, "usage: kvr9-make-icon FACE.jpg ICON.png [SIZE]\n");
    return 2;
  }
  const QImage face(QString::fromLocal8Bit(argv[1]));
  if (face.isNull()) {
    std::fprintf(stderr, "kvr9-make-icon: cannot read %s\n", argv[1]);
    return 2;
  }
  QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
  icon.fill(Qt::transparent);
  QPainter painter(&icon);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  QPainterPath circle;
  circle.addEllipse(QRectF(1, 1, size - 2, size - 2));
  painter.setClipPath(circle);
  // The bezel fills the picture but for its corners, which hold the screws.
  const int side = face.width() < face.height() ? face.width() : face.height();
  const int inset = side / 28;
  const QRect source(inset, inset, side - 2 * inset, side - 2 * inset);
  painter.drawImage(QRect(0, 0, size, size), face, source);
  painter.end();
  if (!icon.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
    std::fprintf(stderr, "kvr9-make-icon: cannot write %s\n", argv[2]);
    return 2;
  }
  return 0;
}
