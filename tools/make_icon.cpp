// Cuts the application icon out of the front-panel picture: the round
// instrument face on a transparent square, 256 x 256 unless SIZE says
// otherwise. --palette writes at most 256 colours, a fifth of the bytes:
// the web page's icons count in what its visitors download.
//   kvr9-make-icon [--palette] FACE.jpg ICON.png [SIZE]
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

namespace {

// The face is mostly greys, so its 256 most frequent colours (counted at 5
// bits a channel) hold it without visible bands; each pixel takes the
// nearest of them, undithered, since noise would undo the saving.
QImage ToPalette(const QImage& picture) {
  const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
  std::map<QRgb, int> counts;
  const auto bucket = [](QRgb c) { return c & 0xe0f8f8f8u; };
  for (int y = 0; y < argb.height(); ++y) {
    for (int x = 0; x < argb.width(); ++x) {
      const QRgb c = argb.pixel(x, y);
      if (qAlpha(c) != 0) ++counts[bucket(c)];
    }
  }
  std::vector<std::pair<int, QRgb>> byCount;
  for (const auto& [colour, count] : counts) byCount.emplace_back(-count, colour);
  std::sort(byCount.begin(), byCount.end());
  QList<QRgb> table{qRgba(0, 0, 0, 0)};
  for (const auto& [count, colour] : byCount) {
    if (table.size() == 256) break;
    // The middle of the bucket, and of the alpha step.
    table.append(colour | 0x10040404u);
  }
  QImage indexed(argb.size(), QImage::Format_Indexed8);
  indexed.setColorTable(table);
  std::map<QRgb, uchar> nearest;
  for (int y = 0; y < argb.height(); ++y) {
    for (int x = 0; x < argb.width(); ++x) {
      const QRgb c = argb.pixel(x, y);
      uchar index = 0;
      if (qAlpha(c) != 0) {
        const auto known = nearest.find(c);
        if (known != nearest.end()) {
          index = known->second;
        } else {
          long best = -1;
          for (int i = 1; i < table.size(); ++i) {
            const QRgb t = table[i];
            const long da = qAlpha(c) - qAlpha(t), dr = qRed(c) - qRed(t);
            const long dg = qGreen(c) - qGreen(t), db = qBlue(c) - qBlue(t);
            const long d = da * da + dr * dr + dg * dg + db * db;
            if (best < 0 || d < best) {
              best = d;
              index = static_cast<uchar>(i);
            }
          }
          nearest[c] = index;
        }
      }
      indexed.setPixel(x, y, index);
    }
  }
  return indexed;
}

}  // namespace

int main(int argc, char** argv) {
  const bool palette = argc > 1 && std::strcmp(argv[1], "--palette") == 0;
  if (palette) {
    --argc;
    ++argv;
  }
  const int size = argc == 4 ? std::atoi(argv[3]) : 256;
  if ((argc != 3 && argc != 4) || size < 16 || size > 1024) {
    std::fprintf(stderr, "usage: kvr9-make-icon [--palette] FACE.jpg ICON.png [SIZE]\n");
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
  if (palette) icon = ToPalette(icon);
  if (!icon.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
    std::fprintf(stderr, "kvr9-make-icon: cannot write %s\n", argv[2]);
    return 2;
  }
  return 0;
}
