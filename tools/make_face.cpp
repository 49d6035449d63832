// Draws the front-panel picture of the KVR-9 — the instrument seen from the
// front — and saves it as a 371 x 371 baseline JPEG (the window's), or at
// another size and quality as a progressive JPEG with optimised tables. An
// output named .png is written without loss instead, the quality unused: the
// web page's copy is drawn so, at the window's proportions and twice its
// size, and encoded to WebP by cwebp (target web-face).
//   kvr9-make-face [output.jpg|output.png [WIDTH HEIGHT QUALITY]]
//
// The window shows the picture stretched into 336 x 323, so everything here
// is drawn in those window pixels and scaled on the way out: each feature
// then lies under the control that covers it, and looks round on screen.
#include <QConicalGradient>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <random>

namespace {

constexpr int kPictureSize = 371;
constexpr double kWindowWidth = 336.0;  // the size the window shows it at
constexpr double kWindowHeight = 323.0;
constexpr int kSupersample = 3;  // drawn larger, then shrunk: smoother edges
constexpr int kJpegQuality = 90;

// The features, in window pixels, under the controls laid over them.
const QPointF kFaceCentre(168.5, 161.5);
constexpr double kBezelOuter = 160.5;
constexpr double kBezelInner = 152.5;
constexpr double kFaceRadius = 150.0;
const QPointF kLedCentre(168.5, 30.5);         // Shape1: 154, 16, 29 x 29
const QRectF kLcdGlass(39, 92, 259, 131);      // Panel1
const QPointF kF1Centre(97.5, 264.5);          // Image3: 73, 240, 49 x 49
const QPointF kF2Centre(237.5, 264.5);         // Image6: 213, 240, 49 x 49
const QPointF kKnobCentre(168.5, 276.5);       // Image5: 144, 252, 49 x 49
const QColor kWindowColour(0xef, 0xef, 0xef);  // shows in the plate's corners
const QColor kPrintColour(0xe9, 0xeb, 0xee);

std::mt19937 randomSource(9);  // fixed seed: the same picture every time

int RandomAlpha(int highest) {
  return std::uniform_int_distribution<int>(0, highest)(randomSource);
}

QRectF Circle(QPointF centre, double radius) {
  return {centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius};
}

QPointF Polar(QPointF centre, double radius, double degrees) {
  const double radians = degrees * std::numbers::pi / 180.0;
  return centre + QPointF(radius * std::cos(radians), radius * std::sin(radians));
}

void FillCircle(QPainter& painter, QPointF centre, double radius, const QBrush& brush) {
  painter.setPen(Qt::NoPen);
  painter.setBrush(brush);
  painter.drawEllipse(Circle(centre, radius));
}

QLinearGradient Vertical(double top, double bottom, QColor upper, QColor lower) {
  QLinearGradient gradient(0, top, 0, bottom);
  gradient.setColorAt(0, upper);
  gradient.setColorAt(1, lower);
  return gradient;
}

// A soft round shadow under something of the given radius.
void DropShadow(QPainter& painter, QPointF centre, double radius, double spread, int alpha) {
  QRadialGradient shadow(centre, radius + spread);
  shadow.setColorAt(0, QColor(0, 0, 0, alpha));
  shadow.setColorAt((radius - spread) / (radius + spread), QColor(0, 0, 0, alpha));
  shadow.setColorAt(1, QColor(0, 0, 0, 0));
  FillCircle(painter, centre, radius + spread, shadow);
}

// Text as outlines, so any size scales exactly; width adds letter spacing.
void PrintText(QPainter& painter, const QString& text, double size, int weight, double spacing,
               QPointF centreBaseline, QColor colour) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(100);
  font.setWeight(static_cast<QFont::Weight>(weight));
  font.setLetterSpacing(QFont::AbsoluteSpacing, spacing * 100.0 / size);
  QPainterPath path;
  path.addText(0, 0, font, text);
  const QRectF bounds = path.boundingRect();
  const double scale = size / 100.0;
  QTransform place;
  place.translate(centreBaseline.x() - (bounds.center().x() * scale), centreBaseline.y());
  place.scale(scale, scale);
  path = place.map(path);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0, 0, 0, 150));  // printed ink throws a faint shadow
  painter.drawPath(path.translated(0, 0.6));
  painter.setBrush(colour);
  painter.drawPath(path);
}

// The aluminium mounting plate behind the bezel, dark anodised.
void DrawPlate(QPainter& painter) {
  const QRectF plate(0, 0, kWindowWidth, kWindowHeight);
  painter.fillRect(plate, kWindowColour);
  painter.setPen(Qt::NoPen);
  painter.setBrush(Vertical(0, kWindowHeight, QColor(0x45, 0x48, 0x4e), QColor(0x1f, 0x21, 0x24)));
  painter.drawRoundedRect(plate, 7, 7);
  // Bevelled edge: lit from the upper left.
  QLinearGradient edge(0, 0, kWindowWidth, kWindowHeight);
  edge.setColorAt(0, QColor(0x8a, 0x8e, 0x95));
  edge.setColorAt(0.5, QColor(0x3a, 0x3c, 0x41));
  edge.setColorAt(1, QColor(0x0d, 0x0e, 0x10));
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QBrush(edge), 1.4));
  painter.drawRoundedRect(plate.adjusted(0.8, 0.8, -0.8, -0.8), 6.5, 6.5);
}

// A cross-head screw, sunk into the plate.
void DrawScrew(QPainter& painter, QPointF centre, double slotAngle) {
  constexpr double kRadius = 7.0;
  DropShadow(painter, centre + QPointF(0, 0.8), kRadius + 0.6, 1.6, 170);
  QRadialGradient head(centre + QPointF(-2.5, -3.0), kRadius * 1.9);
  head.setColorAt(0, QColor(0xf4, 0xf5, 0xf6));
  head.setColorAt(0.45, QColor(0xaf, 0xb3, 0xb8));
  head.setColorAt(1, QColor(0x4c, 0x4f, 0x55));
  FillCircle(painter, centre, kRadius, head);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(0x1d, 0x1e, 0x21), 0.6));
  painter.drawEllipse(Circle(centre, kRadius));
  for (const double angle : {slotAngle, slotAngle + 90.0}) {
    const QPointF from = Polar(centre, kRadius * 0.72, angle);
    const QPointF to = Polar(centre, kRadius * 0.72, angle + 180.0);
    painter.setPen(QPen(QColor(255, 255, 255, 110), 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(from + QPointF(0, 0.5), to + QPointF(0, 0.5));
    painter.setPen(QPen(QColor(0x26, 0x27, 0x2b), 1.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(from, to);
  }
}

void DrawScrews(QPainter& painter) {
  DrawScrew(painter, {15, 15}, 20);
  DrawScrew(painter, {kWindowWidth - 15, 15}, 62);
  DrawScrew(painter, {15, kWindowHeight - 15}, 105);
  DrawScrew(painter, {kWindowWidth - 15, kWindowHeight - 15}, 37);
}

// The round black bezel: satin metal, turned, with a chamfer down to the face.
void DrawBezel(QPainter& painter) {
  DropShadow(painter, kFaceCentre + QPointF(0, 2.5), kBezelOuter, 5.0, 190);
  QLinearGradient ring(kFaceCentre - QPointF(kBezelOuter, kBezelOuter),
                       kFaceCentre + QPointF(kBezelOuter, kBezelOuter));
  ring.setColorAt(0, QColor(0x74, 0x79, 0x82));
  ring.setColorAt(0.35, QColor(0x2b, 0x2e, 0x33));
  ring.setColorAt(0.7, QColor(0x17, 0x18, 0x1b));
  ring.setColorAt(1, QColor(0x3c, 0x3f, 0x45));
  FillCircle(painter, kFaceCentre, kBezelOuter, ring);
  painter.setBrush(Qt::NoBrush);
  for (double radius = kBezelInner; radius < kBezelOuter - 0.5; radius += 0.4) {
    painter.setPen(QPen(QColor(255, 255, 255, RandomAlpha(14)), 0.3));
    painter.drawEllipse(Circle(kFaceCentre, radius));
  }
  QConicalGradient sheen(kFaceCentre, 135);  // light caught by the outer edge
  sheen.setColorAt(0, QColor(255, 255, 255, 120));
  sheen.setColorAt(0.25, QColor(255, 255, 255, 0));
  sheen.setColorAt(0.75, QColor(255, 255, 255, 0));
  sheen.setColorAt(1, QColor(255, 255, 255, 120));
  painter.setPen(QPen(QBrush(sheen), 1.0));
  painter.drawEllipse(Circle(kFaceCentre, kBezelOuter - 0.6));
  QLinearGradient chamfer(kFaceCentre - QPointF(kBezelInner, kBezelInner),
                          kFaceCentre + QPointF(kBezelInner, kBezelInner));
  chamfer.setColorAt(0, QColor(0x05, 0x05, 0x06));
  chamfer.setColorAt(0.6, QColor(0x1a, 0x1b, 0x1e));
  chamfer.setColorAt(1, QColor(0x6a, 0x6f, 0x77));
  FillCircle(painter, kFaceCentre, kBezelInner, chamfer);
}

void DrawFace(QPainter& painter) {
  QRadialGradient face(kFaceCentre - QPointF(0, 45), kFaceRadius * 1.35);
  face.setColorAt(0, QColor(0x2d, 0x30, 0x35));
  face.setColorAt(0.7, QColor(0x17, 0x18, 0x1b));
  face.setColorAt(1, QColor(0x0b, 0x0c, 0x0d));
  FillCircle(painter, kFaceCentre, kFaceRadius, face);
}

// The alarm LED in its chrome holder.
void DrawLed(QPainter& painter) {
  DropShadow(painter, kLedCentre + QPointF(0, 1.2), 18.0, 1.5, 200);
  QLinearGradient chrome(0, kLedCentre.y() - 18, 0, kLedCentre.y() + 18);
  chrome.setColorAt(0, QColor(0xf2, 0xf3, 0xf5));
  chrome.setColorAt(0.5, QColor(0x8d, 0x92, 0x99));
  chrome.setColorAt(1, QColor(0x3e, 0x41, 0x46));
  FillCircle(painter, kLedCentre, 18.0, chrome);
  FillCircle(painter, kLedCentre, 15.6, QColor(0x08, 0x08, 0x09));
  QRadialGradient dome(kLedCentre + QPointF(-4, -5), 19);
  dome.setColorAt(0, QColor(0xff, 0x8a, 0x78));
  dome.setColorAt(0.3, QColor(0xe4, 0x1e, 0x16));
  dome.setColorAt(1, QColor(0x5a, 0x02, 0x02));
  FillCircle(painter, kLedCentre, 14.5, dome);
  FillCircle(painter, kLedCentre + QPointF(-4.5, -5.5), 3.5, QColor(255, 255, 255, 120));
}

void DrawNameLines(QPainter& painter) {
  PrintText(painter, QStringLiteral("TARVESK"), 14.0, QFont::Bold, 3.2, {168.5, 67.0},
            kPrintColour);
  PrintText(painter, QString::fromUtf8("KVR-9   AIRSPEED \u00b7 ALTIMETER"), 7.6, QFont::DemiBold,
            1.1, {168.5, 81.0}, QColor(0x9c, 0xa4, 0xae));
}

// The LCD window, sunk into the face; the window lays its LCD over the glass.
void DrawLcdWindow(QPainter& painter) {
  const QRectF recess = kLcdGlass.adjusted(-3, -3, 3, 3);
  painter.setPen(Qt::NoPen);
  painter.setBrush(
      Vertical(recess.top(), recess.bottom(), QColor(0x02, 0x02, 0x03), QColor(0x4a, 0x4e, 0x55)));
  painter.drawRoundedRect(recess, 5, 5);
  painter.setBrush(
      Vertical(recess.top(), recess.bottom(), QColor(0x0c, 0x0d, 0x0e), QColor(0x24, 0x26, 0x2a)));
  painter.drawRoundedRect(recess.adjusted(1, 1, -1, -1.4), 4, 4);
  QLinearGradient glass(kLcdGlass.topLeft(), kLcdGlass.bottomRight());
  glass.setColorAt(0, QColor(0xa4, 0xab, 0xa2));
  glass.setColorAt(0.5, QColor(0xbc, 0xc2, 0xb8));
  glass.setColorAt(1, QColor(0xa9, 0xaf, 0xa6));
  painter.fillRect(kLcdGlass, glass);
  painter.fillRect(
      QRectF(kLcdGlass.left(), kLcdGlass.top(), kLcdGlass.width(), 6),
      Vertical(kLcdGlass.top(), kLcdGlass.top() + 6, QColor(0, 0, 0, 110), QColor(0, 0, 0, 0)));
}

// A round push key in its well, printed with its name and arrow.
void DrawKey(QPainter& painter, QPointF centre, const QString& name, bool arrowUp) {
  constexpr double kWell = 23.0;
  constexpr double kCap = 19.5;
  QRadialGradient well(centre - QPointF(0, 4), kWell * 1.2);
  well.setColorAt(0, QColor(0x03, 0x03, 0x04));
  well.setColorAt(1, QColor(0x1a, 0x1c, 0x1f));
  FillCircle(painter, centre, kWell, well);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QBrush(Vertical(centre.y() - kWell, centre.y() + kWell, QColor(0, 0, 0, 0),
                                      QColor(0x6c, 0x71, 0x79))),
                      0.9));
  painter.drawEllipse(Circle(centre, kWell - 0.5));
  DropShadow(painter, centre + QPointF(0, 1.6), kCap, 1.4, 200);
  FillCircle(painter, centre, kCap,
             Vertical(centre.y() - kCap, centre.y() + kCap, QColor(0x66, 0x6a, 0x72),
                      QColor(0x22, 0x24, 0x27)));
  FillCircle(painter, centre, kCap - 2.2,
             Vertical(centre.y() - kCap, centre.y() + kCap, QColor(0x2f, 0x32, 0x37),
                      QColor(0x4a, 0x4e, 0x55)));
  PrintText(painter, name, 8.5, QFont::Bold, 0.4, centre + QPointF(0, -4.5), kPrintColour);
  QPolygonF arrow;
  if (arrowUp) {
    arrow << centre + QPointF(0, 0.5) << centre + QPointF(6.5, 10.5)
          << centre + QPointF(-6.5, 10.5);
  } else {
    arrow << centre + QPointF(-6.5, 0.5) << centre + QPointF(6.5, 0.5) << centre + QPointF(0, 10.5);
  }
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0, 0, 0, 150));
  painter.drawPolygon(arrow.translated(0, 0.6));
  painter.setBrush(kPrintColour);
  painter.drawPolygon(arrow);
}

// The grey knob: a knurled skirt under a turned aluminium cap.
void DrawKnob(QPainter& painter) {
  constexpr double kSkirt = 24.0;
  constexpr double kCap = 18.0;
  const QPointF centre = kKnobCentre;
  DropShadow(painter, centre + QPointF(0, 2.5), kSkirt, 3.0, 210);
  QConicalGradient metal(centre, 90);
  const QColor greys[] = {QColor(0xd9, 0xdc, 0xdf), QColor(0x80, 0x85, 0x8c),
                          QColor(0xc4, 0xc8, 0xcc), QColor(0x6b, 0x70, 0x77)};
  for (int stop = 0; stop <= 8; ++stop) metal.setColorAt(stop / 8.0, greys[stop % 4]);
  FillCircle(painter, centre, kSkirt, metal);
  for (int ridge = 0; ridge < 72; ++ridge) {
    const double angle = ridge * 5.0;
    painter.setPen(QPen(QColor(0x1e, 0x20, 0x23, 120), 0.7));
    painter.drawLine(Polar(centre, kCap + 1.5, angle), Polar(centre, kSkirt - 0.3, angle));
    painter.setPen(QPen(QColor(255, 255, 255, 70), 0.5));
    painter.drawLine(Polar(centre, kCap + 1.5, angle + 2.5),
                     Polar(centre, kSkirt - 0.3, angle + 2.5));
  }
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(0x2c, 0x2e, 0x32), 0.8));
  painter.drawEllipse(Circle(centre, kSkirt));
  DropShadow(painter, centre + QPointF(0, 1.0), kCap, 1.2, 120);
  QRadialGradient cap(centre + QPointF(-5, -6), kCap * 1.5);
  cap.setColorAt(0, QColor(0xf3, 0xf4, 0xf5));
  cap.setColorAt(0.5, QColor(0xb7, 0xbb, 0xc0));
  cap.setColorAt(1, QColor(0x7d, 0x82, 0x89));
  FillCircle(painter, centre, kCap, cap);
  painter.setBrush(Qt::NoBrush);
  for (double radius = 1.5; radius < kCap - 0.5; radius += 0.5) {
    painter.setPen(QPen(QColor(255, 255, 255, RandomAlpha(28)), 0.25));
    painter.drawEllipse(Circle(centre, radius));
  }
  painter.setPen(QPen(QColor(0x5c, 0x61, 0x68), 0.7));
  painter.drawEllipse(Circle(centre, kCap));
  QRadialGradient dimple(centre + QPointF(0, -12.5), 2.4);
  dimple.setColorAt(0, QColor(0x55, 0x59, 0x60));
  dimple.setColorAt(1, QColor(0xc9, 0xcc, 0xd0));
  FillCircle(painter, centre + QPointF(0, -12.5), 2.2, dimple);
}

void DrawKnobLegend(QPainter& painter) {
  PrintText(painter, QStringLiteral("PUSH"), 6.0, QFont::DemiBold, 1.0, {168.5, 246.5},
            QColor(0x8e, 0x96, 0xa0));
}

QImage DrawFacePicture(int width, int height) {
  QImage large(width * kSupersample, height * kSupersample, QImage::Format_RGB32);
  QPainter painter(&large);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
  painter.scale(kSupersample * width / kWindowWidth, kSupersample * height / kWindowHeight);
  DrawPlate(painter);
  DrawScrews(painter);
  DrawBezel(painter);
  DrawFace(painter);
  DrawLed(painter);
  DrawNameLines(painter);
  DrawLcdWindow(painter);
  DrawKey(painter, kF1Centre, QStringLiteral("F1"), true);
  DrawKey(painter, kF2Centre, QStringLiteral("F2"), false);
  DrawKnobLegend(painter);
  DrawKnob(painter);
  painter.end();
  return large.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

int main(int argc, char* argv[]) {
  QGuiApplication application(argc, argv);  // fonts need it
  if (argc != 1 && argc != 2 && argc != 5) {
    std::fprintf(stderr, "usage: kvr9-make-face [output.jpg|output.png [WIDTH HEIGHT QUALITY]]\n");
    return 2;
  }
  const QString output = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("face.jpg");
  const int width = argc == 5 ? std::atoi(argv[2]) : kPictureSize;
  const int height = argc == 5 ? std::atoi(argv[3]) : kPictureSize;
  const int quality = argc == 5 ? std::atoi(argv[4]) : kJpegQuality;
  if (width < 16 || width > 2048 || height < 16 || height > 2048 || quality < 1 || quality > 100) {
    std::fprintf(stderr, "kvr9-make-face: size 16 to 2048, quality 1 to 100\n");
    return 2;
  }
  const bool lossless = output.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive);
  QImageWriter writer(output, lossless ? "png" : "jpeg");
  if (!lossless) writer.setQuality(quality);
  const bool webCopy = argc == 5;
  writer.setProgressiveScanWrite(webCopy);  // the window's stays baseline
  writer.setOptimizedWrite(webCopy);
  if (!writer.write(DrawFacePicture(width, height))) {
    std::fprintf(stderr, "kvr9-make-face: %s: %s\n", qPrintable(output),
                 qPrintable(writer.errorString()));
    return 1;
  }
  return 0;
}
