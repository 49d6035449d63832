// The form: its creation and the handlers of its controls, which hand each
// input to the panel rig as the form's control works it.
#include "panel/pcmain.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
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
      controller_(*this, instrument) {
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
  session().inputs().AddObserver(statusClearer_);
  Timer1->start();
}

TForm1::~TForm1() {
  session().inputs().RemoveObserver(statusClearer_);
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
          [this](bool checked) { rig().SetBox(BoxKind::Calibrate, checked); });
  connect(CheckBox3, &QCheckBox::toggled, this,
          [this](bool checked) { rig().SetBox(BoxKind::KeyFast, checked); });
}

// "ON": switched off, the instrument starts and its first pass runs at
// once; then the pass timer runs the passes.
void TForm1::Button1Click() {
  rig().PressOn();
}

void TForm1::Button2Click() {
  rig().PressOff();
}

// Every way in to a key, click, keyboard or wheel, comes through these, so a
// key is kept only while none is pending. Each control is the form table's.
void TForm1::Image5Click() {
  ClickControl("Image5");
}
void TForm1::Button3Click() {
  ClickControl("Button3");
}
void TForm1::Button4Click() {
  ClickControl("Button4");
}
void TForm1::Image3Click() {
  ClickControl("Image3");
}
void TForm1::Image6Click() {
  ClickControl("Image6");
}

void TForm1::ClickControl(const char* name) {
  rig().ClickControl(name);
}

// A slider moved by hand takes over from a flight, which pauses.
void TForm1::TrackBar1Change() {
  rig().MoveSlider(SliderKind::Airspeed, TrackBar1->value());
  ShowSliderValue(SliderKind::Airspeed);
}

void TForm1::TrackBar2Change() {
  rig().MoveSlider(SliderKind::Altitude, TrackBar2->value());
  ShowSliderValue(SliderKind::Altitude);
}

// A slider the rig put (a flight, a snapshot): the control follows
// without telling the rig again.
void TForm1::PutSlider(SliderKind slider, std::int32_t position) {
  QSlider* control = slider == SliderKind::Altitude ? TrackBar2 : TrackBar1;
  {
    const QSignalBlocker quiet(control);
    control->setValue(position);
  }
  ShowSliderValue(slider);
}

void TForm1::ShowSliderValue(SliderKind slider) {
  const bool altitude = slider == SliderKind::Altitude;
  QLabel* label = altitude ? Label3 : Label13;
  label->setText(QString::number((altitude ? TrackBar2 : TrackBar1)->value()));
  FitToCaption(label);
  UpdateSliderToolTips();
}

void TForm1::PutBox(BoxKind box, bool checked) {
  QCheckBox* control = box == BoxKind::Calibrate ? CheckBox2 : CheckBox3;
  const QSignalBlocker quiet(control);
  control->setChecked(checked);
}

void TForm1::Timer1Timer() {
  rig().TimerTick();
}

void TForm1::PassTimerTimer() {
  RunPass();
}

bool TForm1::RunPass() {
  return rig().Step();
}

}  // namespace kvr9
