// The form's controls at their stored places, sizes and captions, its font,
// tab order and place on the screen.
#include "panel/form_layout.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>

#include "panel/lcd_image.h"
#include "panel/panel_widgets.h"
#include "panel/pcmain.h"

namespace kvr9 {

namespace {

constexpr int kLabelHeight = 13;
constexpr int kConverterMax = 4096;
constexpr int kTimerIntervalMs = 100;

template <typename Control>
Control* Place(Control* control, const char* name, int left, int top, int width, int height) {
  control->setObjectName(QString::fromLatin1(name));
  control->setGeometry(left, top, width, height);
  return control;
}

QLabel* PlaceLabel(QWidget* parent, const char* name, int left, int top, const char* caption) {
  auto* label = new QLabel(QString::fromLatin1(caption), parent);
  label->setObjectName(QString::fromLatin1(name));
  label->move(left, top);
  FitToCaption(label);
  return label;
}

QPushButton* PlaceButton(QWidget* parent, const char* name, QRect geometry, const char* caption) {
  auto* button = new QPushButton(QString::fromLatin1(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(geometry);
  return button;
}

QSlider* PlaceTrackBar(QWidget* parent, const char* name, int left, int top) {
  auto* trackBar = Place(new QSlider(Qt::Horizontal, parent), name, left, top, 201, 33);
  trackBar->setRange(0, kConverterMax);
  trackBar->setSingleStep(1);
  trackBar->setPageStep(2);
  trackBar->setTickInterval(100);
  trackBar->setTickPosition(QSlider::NoTicks);
  // The stored position; the change handlers are connected only afterwards,
  // so the converter readings stay 0 until a slider is moved.
  trackBar->setValue(1);
  return trackBar;
}

}  // namespace

void FitToCaption(QLabel* label) {
  label->resize(label->fontMetrics().horizontalAdvance(label->text()), kLabelHeight);
}

// The form's font: MS Sans Serif, 11 pixels high, where the desktop has it.
// Otherwise the desktop's own sans at that height, narrowed towards MS Sans
// Serif's widths, for which the layout was drawn ("Airspeed" must end before
// its slider's value label).
QFont TForm1::FormFont() {
  const QString layoutFamily = QStringLiteral("MS Sans Serif");
  QFont font = QFontDatabase::hasFamily(layoutFamily)
                   ? QFont(layoutFamily)
                   : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setPixelSize(11);
  if (!QFontDatabase::hasFamily(layoutFamily)) font.setStretch(QFont::SemiCondensed);
  return font;
}

// Creation order is stacking order: the picture lies at the bottom, the LED,
// the click areas, the LCD and the knob buttons over it.
void TForm1::CreateControls() {
  CreatePicture();
  CreateLcd();
  Button3 = PlaceButton(this, "Button3", {96, 292, 59, 25}, "Clockwise");
  Button4 = PlaceButton(this, "Button4", {181, 292, 75, 25}, "AntiClockwise");
  Button1 = PlaceButton(this, "Button1", {24, 328, 129, 49}, "ON");
  Button2 = PlaceButton(this, "Button2", {176, 328, 137, 49}, "OFF");
  CreateSliders();
  CheckBox2 = Place(new QCheckBox(QStringLiteral("Calibrate"), this), "CheckBox2", 360, 80, 97, 17);
  CheckBox3 = Place(new QCheckBox(QStringLiteral("KeyFast"), this), "CheckBox3", 472, 80, 97, 17);
  CreateCommunicationWindow();
  StatusBar1 = Place(new QStatusBar(this), "StatusBar1", 0, 385, 621, 19);
  StatusBar1->setSizeGripEnabled(false);  // the window has a fixed size
  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(kTimerIntervalMs);
}

void TForm1::CreatePicture() {
  Image2 = Place(new QLabel(this), "Image2", 0, 0, 336, 323);
  Image2->setScaledContents(true);
  Image2->setPixmap(QPixmap(QStringLiteral(":/panel/face.jpg"), "JPG"));
  Shape1 = Place(new CircleShape(this, ToQColor(kLedLit)), "Shape1", 154, 16, 29, 29);
  Image3 = Place(new ClickArea(this), "Image3", 73, 240, 49, 49);
  Image5 = Place(new ClickArea(this), "Image5", 144, 252, 49, 49);
  Image6 = Place(new ClickArea(this), "Image6", 213, 240, 49, 49);
}

void TForm1::CreateLcd() {
  Panel1 = Place(new QFrame(this), "Panel1", 39, 92, 259, 131);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1->setLineWidth(1);
  Panel1->setAutoFillBackground(true);
  // Until the first frame the LCD area shows the panel's own colour.
  QPalette panelColours = Panel1->palette();
  panelColours.setColor(QPalette::Window, palette().color(QPalette::Midlight));
  Panel1->setPalette(panelColours);
  Image1 = Place(new DrawingSurface(Panel1), "Image1", 1, 1, 257, 129);
  // Its description is the text it shows (DescribeLcd).
  Image1->setAccessibleName(QStringLiteral("LCD"));
}

void TForm1::CreateSliders() {
  Label2 = PlaceLabel(this, "Label2", 344, 16, "Altitude");
  Label3 = PlaceLabel(this, "Label3", 392, 16, "0");
  TrackBar2 = PlaceTrackBar(this, "TrackBar2", 416, 8);
  Label1 = PlaceLabel(this, "Label1", 344, 48, "Airspeed");
  Label13 = PlaceLabel(this, "Label13", 392, 48, "0");
  TrackBar1 = PlaceTrackBar(this, "TrackBar1", 416, 40);
}

void TForm1::CreateCommunicationWindow() {
  GroupBox1 = Place(new QGroupBox(QStringLiteral(" Communication Window  "), this), "GroupBox1",
                    344, 100, 273, 285);
  Memo1 = Place(new QPlainTextEdit(GroupBox1), "Memo1", 2, 15, 269, 268);
  Memo1->setReadOnly(true);
  Memo1->setMaximumBlockCount(kMaxCommLines);
}

void TForm1::SetTabOrder() {
  QWidget* const order[] = {Button1,   Button2, TrackBar1, CheckBox2, CheckBox3,
                            TrackBar2, Button3, Button4,   Memo1};
  for (std::size_t i = 1; i < std::size(order); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void TForm1::CentreOnScreen() {
  if (const QScreen* desktop = screen()) {
    move(desktop->availableGeometry().center() - rect().center());
  }
}

}  // namespace kvr9
