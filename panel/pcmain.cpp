#include "panel/pcmain.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFontDatabase>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QStatusBar>
#include <QTextCursor>
#include <QTimer>
#include <QWheelEvent>

#include "panel/panel_widgets.h"

// The face picture is compiled into the panel library, which is static:
// its resources have to be registered by hand.
static void RegisterPanelResources() {
  Q_INIT_RESOURCE(panel);
}

namespace kvr9 {

namespace {

constexpr int kClientWidth = 621;
constexpr int kClientHeight = 404;
constexpr int kLabelHeight = 13;
constexpr int kConverterMax = 4096;
constexpr int kTimerIntervalMs = 100;
const QColor kLedLit(255, 0, 0);
const QColor kLedUnlit(128, 0, 0);
const QRgb kDarkDot = qRgb(0, 0, 0);

// The form's font: MS Sans Serif, 11 pixels high, where the desktop has it.
// Otherwise the desktop's own sans at that height, narrowed towards MS Sans
// Serif's widths, for which the layout was drawn ("Airspeed" must end before
// its slider's value label).
QFont FormFont() {
  const QString layoutFamily = QStringLiteral("MS Sans Serif");
  QFont font = QFontDatabase::hasFamily(layoutFamily)
                   ? QFont(layoutFamily)
                   : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setPixelSize(11);
  if (!QFontDatabase::hasFamily(layoutFamily)) font.setStretch(QFont::SemiCondensed);
  return font;
}

template <typename Control>
Control* Place(Control* control, const char* name, int left, int top, int width, int height) {
  control->setObjectName(QString::fromLatin1(name));
  control->setGeometry(left, top, width, height);
  return control;
}

// Labels size themselves to their caption, from their stored top left.
void FitToCaption(QLabel* label) {
  label->resize(label->fontMetrics().horizontalAdvance(label->text()), kLabelHeight);
}

QLabel* PlaceLabel(QWidget* parent, const char* name, int left, int top, const char* caption) {
  auto* label = new QLabel(QString::fromLatin1(caption), parent);
  label->setObjectName(QString::fromLatin1(name));
  label->move(left, top);
  FitToCaption(label);
  return label;
}

// One LCD dot is a 2 x 2 block of the drawing surface.
void SetLcdDot(QImage& surface, int x, int y, QRgb colour) {
  auto* upper = reinterpret_cast<QRgb*>(surface.scanLine(2 * y));
  auto* lower = reinterpret_cast<QRgb*>(surface.scanLine(2 * y + 1));
  upper[2 * x] = colour;
  upper[2 * x + 1] = colour;
  lower[2 * x] = colour;
  lower[2 * x + 1] = colour;
}

// Column by column, as the instrument's display is scanned.
void PaintLcdDots(QImage& surface, const FrameBuffer& frameBuffer, QRgb blankDot) {
  for (int x = 0; x < kLcdWidth; ++x) {
    for (int y = 0; y < kLcdHeight; ++y) {
      const bool dark =
          GetPixel(frameBuffer, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)) != 0;
      SetLcdDot(surface, x, y, dark ? kDarkDot : blankDot);
    }
  }
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

TForm1::TForm1(Instrument& instrument, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      instrument_(instrument) {
  RegisterPanelResources();
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Tarvesk KVR-9"));
  setFixedSize(kClientWidth, kClientHeight);
  setFont(FormFont());
  CreateControls();
  ConnectHandlers();
  SetTabOrder();
  CentreOnScreen();
  AddToolTips();
  instrument_.host = this;
  qApp->installEventFilter(this);
  Timer1->start();
}

TForm1::~TForm1() {
  qApp->removeEventFilter(this);
  if (instrument_.host == this) instrument_.host = nullptr;
}

void TForm1::AddToolTips() {
  Image3->setToolTip(QStringLiteral("F1 key (up arrow) - keyboard: Up or F1"));
  Image6->setToolTip(QStringLiteral("F2 key (down arrow) - keyboard: Down or F2"));
  Image5->setToolTip(
      QStringLiteral("Knob: click to press, wheel to turn - keyboard: Enter or Space"));
  Button3->setToolTip(QStringLiteral("Turn the knob clockwise - keyboard: Right"));
  Button4->setToolTip(QStringLiteral("Turn the knob anticlockwise - keyboard: Left"));
  Image1->setToolTip(QStringLiteral("The LCD - Ctrl+C copies its picture"));
}

// Every way in goes through the same handlers as the clicks, so a key is
// kept only while none is pending.
// With act false it only tells whether the key is one of the panel's.
bool TForm1::HandleKey(int key, Qt::KeyboardModifiers modifiers, bool act) {
  void (TForm1::*handler)() = nullptr;
  if (modifiers & Qt::ControlModifier) {
    if (key != Qt::Key_C) return false;
    if (act) QApplication::clipboard()->setImage(LcdPicture());
    return true;
  }
  switch (key) {
    case Qt::Key_Up:
    case Qt::Key_F1:
      handler = &TForm1::Image3Click;
      break;
    case Qt::Key_Down:
    case Qt::Key_F2:
      handler = &TForm1::Image6Click;
      break;
    case Qt::Key_Right:
      handler = &TForm1::Button3Click;
      break;
    case Qt::Key_Left:
      handler = &TForm1::Button4Click;
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
      handler = &TForm1::Image5Click;
      break;
    default:
      return false;
  }
  if (act) (this->*handler)();
  return true;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || widget->window() != this) return false;
  if (event->type() == QEvent::KeyPress) {
    const auto* keyEvent = static_cast<QKeyEvent*>(event);
    return HandleKey(keyEvent->key(), keyEvent->modifiers(), true);
  }
  // Claim the panel's keys before the focused control or a shortcut can.
  if (event->type() == QEvent::ShortcutOverride) {
    const auto* keyEvent = static_cast<QKeyEvent*>(event);
    if (HandleKey(keyEvent->key(), keyEvent->modifiers(), false)) event->accept();
    return false;
  }
  if (event->type() == QEvent::Wheel && watched == Image5) {
    const int turn = static_cast<QWheelEvent*>(event)->angleDelta().y();
    if (turn > 0) Button3Click();
    if (turn < 0) Button4Click();
    return true;
  }
  return false;
}

QImage TForm1::LcdPicture() const {
  QImage picture(2 * kLcdWidth, 2 * kLcdHeight, QImage::Format_RGB32);
  PaintLcdDots(picture, instrument_.frameBuffer, LcdDotColour().rgb());
  return picture;
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
  Shape1 = Place(new CircleShape(this, kLedLit), "Shape1", 154, 16, 29, 29);
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

void TForm1::ConnectHandlers() {
  connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
  connect(Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
  connect(Button4, &QPushButton::clicked, this, &TForm1::Button4Click);
  connect(Image3, &ClickArea::clicked, this, &TForm1::Image3Click);
  connect(Image5, &ClickArea::clicked, this, &TForm1::Image5Click);
  connect(Image6, &ClickArea::clicked, this, &TForm1::Image6Click);
  connect(TrackBar1, &QSlider::valueChanged, this, &TForm1::TrackBar1Change);
  connect(TrackBar2, &QSlider::valueChanged, this, &TForm1::TrackBar2Change);
  connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
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

// "ON": powers the instrument on and returns when it is switched off; while
// it runs, asks the running loop to start over instead.
void TForm1::Button1Click() {
  if (!IsRunning(instrument_)) closing_ = false;
  RequestPowerOn(instrument_);
}

void TForm1::Button2Click() {
  RequestStop(instrument_);
}
void TForm1::Image5Click() {
  StoreKey(instrument_, KeyPress);
}
void TForm1::Button3Click() {
  StoreKey(instrument_, KeyClockwise);
}
void TForm1::Button4Click() {
  StoreKey(instrument_, KeyAntiClockwise);
}
void TForm1::Image3Click() {
  StoreKey(instrument_, KeyF1);
}
void TForm1::Image6Click() {
  StoreKey(instrument_, KeyF2);
}

void TForm1::TrackBar1Change() {
  instrument_.state.airData.asiAdcRaw = TrackBar1->value();
  Label13->setText(QString::number(TrackBar1->value()));
  FitToCaption(Label13);
}

void TForm1::TrackBar2Change() {
  instrument_.state.airData.altAdcRaw = TrackBar2->value();
  Label3->setText(QString::number(TrackBar2->value()));
  FitToCaption(Label3);
}

void TForm1::Timer1Timer() {
  OnTimerTick(instrument_);
}

QColor TForm1::LcdDotColour() const {
  return palette().color(QPalette::Inactive, QPalette::Mid);
}

// Column by column, each LCD dot a 2 x 2 block; the surface's last column
// and row stay as they were created.
void TForm1::PresentFrameBuffer(const FrameBuffer& frameBuffer) {
  PaintLcdDots(Image1->Surface(), frameBuffer, LcdDotColour().rgb());
  Image1->update();
}

void TForm1::SetLcdVisible(bool visible) {
  Image1->setVisible(visible);
}

void TForm1::SetAlarmLed(bool lit) {
  Shape1->SetBrushColour(lit ? kLedLit : kLedUnlit);
}

bool TForm1::IsCalibrateChecked() {
  return CheckBox2->isChecked();
}

bool TForm1::IsKeyFastChecked() {
  return CheckBox3->isChecked();
}

// One new last line per call, also for an empty text; the oldest lines
// fall off beyond kMaxCommLines.
void TForm1::AppendCommLine(const char* text) {
  QTextCursor cursor(Memo1->document());
  cursor.movePosition(QTextCursor::End);
  if (memoHasLines_) cursor.insertBlock();
  cursor.insertText(QString::fromLatin1(text));
  memoHasLines_ = true;
  QScrollBar* scroll = Memo1->verticalScrollBar();
  scroll->setValue(scroll->maximum());
}

// Lets every waiting event through, then, with pacing on, goes on serving
// events as they come until the pass has lasted kPassPeriodMs. Unpaced, the
// instrument's loop would spin a core at thousands of passes a second.
void TForm1::ProcessPendingEvents() {
  QCoreApplication::processEvents();
  if (closing_) {
    // The window is gone: stop at the first chance (a stop asked for during
    // the splash is forgotten when it ends), without waiting.
    RequestStop(instrument_);
    return;
  }
  if (paced_) WaitForRestOfPass();
  passClock_.start();
}

void TForm1::WaitForRestOfPass() {
  if (!passClock_.isValid()) return;
  const qint64 remaining = kPassPeriodMs - passClock_.elapsed();
  if (remaining <= 0) return;
  QEventLoop wait;
  QTimer::singleShot(static_cast<int>(remaining), Qt::PreciseTimer, &wait, &QEventLoop::quit);
  wait.exec();
}

// Closing the window while the instrument runs switches it off; the program
// ends once the loop has stopped and control is back in the application.
void TForm1::closeEvent(QCloseEvent* event) {
  if (IsRunning(instrument_)) {
    closing_ = true;
    RequestStop(instrument_);
  }
  event->accept();
}

}  // namespace kvr9
