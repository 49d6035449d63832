// The form: its creation and the handlers of its controls, which only store
// into the instrument's state through the panel's inputs.
#include "panel/pcmain.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

#include "panel/form_layout.h"
#include "panel/panel_widgets.h"

// The face picture is compiled into the panel library, which is static:
// its resources have to be registered by hand.
static void RegisterPanelResources() {
  Q_INIT_RESOURCE(panel);
}

namespace kvr9 {

TForm1::TForm1(Instrument& instrument, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      session_(*this, instrument),
      passTimer_(new QTimer(this)) {
  RegisterPanelResources();
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Tarvesk KVR-9"));
  setFixedSize(kFormWidth, kFormHeight);
  setFont(FormFont());
  CreateControls();
  ConnectHandlers();
  CreateShortcuts();
  CreateLcdMenu();
  SetTabOrder();
  CentreOnScreen();
  AddToolTips();
  UpdateSliderToolTips();
  setAcceptDrops(true);
  statusClearer_.bar = StatusBar1;
  inputs_.AddObserver(statusClearer_);
  passTimer_->setTimerType(Qt::PreciseTimer);
  passTimer_->setInterval(kPassPeriodMs);
  connect(passTimer_, &QTimer::timeout, this, &TForm1::PassTimerTimer);
  Timer1->start();
}

TForm1::~TForm1() {
  inputs_.RemoveObserver(statusClearer_);
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
  // The main loop reads the boxes as the panel's inputs hold them.
  connect(CheckBox2, &QCheckBox::toggled, this,
          [this](bool checked) { inputs_.SetBox(BoxKind::Calibrate, checked); });
  connect(CheckBox3, &QCheckBox::toggled, this,
          [this](bool checked) { inputs_.SetBox(BoxKind::KeyFast, checked); });
}

void TForm1::Button2Click() {
  inputs_.PressOff();
}

// Every way in to a key, click, keyboard or wheel, comes through these, so a
// key is kept only while none is pending.
void TForm1::Image5Click() {
  ClickKey(KeyPress);
}
void TForm1::Button3Click() {
  ClickKey(KeyClockwise);
}
void TForm1::Button4Click() {
  ClickKey(KeyAntiClockwise);
}
void TForm1::Image3Click() {
  ClickKey(KeyF1);
}
void TForm1::Image6Click() {
  ClickKey(KeyF2);
}

// A slider moved by hand takes over from a flight, which pauses.
void TForm1::TrackBar1Change() {
  if (!flightMovesSliders_) TakeOverFromFlight();
  inputs_.MoveSlider(SliderKind::Airspeed, TrackBar1->value(), flightMovesSliders_);
  Label13->setText(QString::number(TrackBar1->value()));
  FitToCaption(Label13);
  UpdateSliderToolTips();
}

void TForm1::TrackBar2Change() {
  if (!flightMovesSliders_) TakeOverFromFlight();
  inputs_.MoveSlider(SliderKind::Altitude, TrackBar2->value(), flightMovesSliders_);
  Label3->setText(QString::number(TrackBar2->value()));
  FitToCaption(Label3);
  UpdateSliderToolTips();
}

void TForm1::ClickKey(KeyEvent key) {
  inputs_.ClickKey(key);
}

// While the instrument is off there are no passes: the lesson looks at it
// here.
void TForm1::Timer1Timer() {
  inputs_.TimerTick();
  if (!session_.IsOn()) UpdateLessonPanel();
}

}  // namespace kvr9
