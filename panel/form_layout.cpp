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

#include "host/panel/panel_form.h"
#include "host/scenario/scenario.h"
#include "panel/lcd_image.h"
#include "panel/panel_widgets.h"
#include "panel/pcmain.h"
#include "panel/window_language.h"

namespace kvr9 {

namespace {

constexpr int kLabelHeight = 13;

// Captions in the window's language; in German and French each fits its
// control as the English one does (the form's test measures them).
QString CaptionOf(const FormControl& control) {
  return control.caption != nullptr ? WindowWord(control.caption) : QString();
}

// A control at its place in the form's table, under its toolkit name and
// the name it has for assistive technology.
template <typename Control>
Control* Place(Control* control, const char* name) {
  const FormControl& stored = FormControlNamed(name);
  control->setObjectName(QString::fromLatin1(name));
  control->setGeometry(stored.rect.left, stored.rect.top, stored.rect.width, stored.rect.height);
  if (stored.accessibleName != nullptr)
    control->setAccessibleName(WindowWord(stored.accessibleName));
  return control;
}

QLabel* PlaceLabel(QWidget* parent, const char* name) {
  const FormControl& stored = FormControlNamed(name);
  auto* label = new QLabel(CaptionOf(stored), parent);
  label->setObjectName(QString::fromLatin1(name));
  label->move(stored.rect.left, stored.rect.top);
  FitToCaption(label);
  return label;
}

QPushButton* PlaceButton(QWidget* parent, const char* name) {
  return Place(new QPushButton(CaptionOf(FormControlNamed(name)), parent), name);
}

QCheckBox* PlaceCheckBox(QWidget* parent, const char* name) {
  return Place(new QCheckBox(CaptionOf(FormControlNamed(name)), parent), name);
}

QSlider* PlaceTrackBar(QWidget* parent, const char* name) {
  auto* trackBar = Place(new QSlider(Qt::Horizontal, parent), name);
  trackBar->setRange(0, static_cast<int>(kSliderHighest));
  trackBar->setSingleStep(1);
  trackBar->setPageStep(2);
  trackBar->setTickInterval(100);
  trackBar->setTickPosition(QSlider::NoTicks);
  // The stored position; the change handlers are connected only afterwards,
  // so the converter readings stay 0 until a slider is moved.
  trackBar->setValue(kSliderStartPosition);
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
  Button3 = PlaceButton(this, "Button3");
  Button4 = PlaceButton(this, "Button4");
  Button1 = PlaceButton(this, "Button1");
  Button2 = PlaceButton(this, "Button2");
  CreateSliders();
  CheckBox2 = PlaceCheckBox(this, "CheckBox2");
  CheckBox3 = PlaceCheckBox(this, "CheckBox3");
  CreateCommunicationWindow();
  StatusBar1 = Place(new QStatusBar(this), "StatusBar1");
  StatusBar1->setSizeGripEnabled(false);  // the window has a fixed size
  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(kPanelPeriodMs);
}

void TForm1::CreatePicture() {
  Image2 = Place(new QLabel(this), "Image2");
  Image2->setScaledContents(true);
  Image2->setPixmap(QPixmap(QStringLiteral(":/panel/face.jpg"), "JPG"));
  Shape1 = Place(new CircleShape(this, ToQColor(kLedLit)), "Shape1");
  Image3 = Place(new ClickArea(this), "Image3");
  Image5 = Place(new ClickArea(this), "Image5");
  Image6 = Place(new ClickArea(this), "Image6");
}

void TForm1::CreateLcd() {
  Panel1 = Place(new QFrame(this), "Panel1");
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1->setLineWidth(1);
  Panel1->setAutoFillBackground(true);
  // Until the first frame the LCD area shows the panel's own colour.
  QPalette panelColours = Panel1->palette();
  panelColours.setColor(QPalette::Window, palette().color(QPalette::Midlight));
  Panel1->setPalette(panelColours);
  // Its description is the text it shows (DescribeLcd).
  Image1 = Place(new DrawingSurface(Panel1), "Image1");
}

void TForm1::CreateSliders() {
  Label2 = PlaceLabel(this, "Label2");
  Label3 = PlaceLabel(this, "Label3");
  TrackBar2 = PlaceTrackBar(this, "TrackBar2");
  Label1 = PlaceLabel(this, "Label1");
  Label13 = PlaceLabel(this, "Label13");
  TrackBar1 = PlaceTrackBar(this, "TrackBar1");
}

void TForm1::CreateCommunicationWindow() {
  GroupBox1 = Place(new QGroupBox(CaptionOf(FormControlNamed("GroupBox1")), this), "GroupBox1");
  Memo1 = Place(new QPlainTextEdit(GroupBox1), "Memo1");
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
