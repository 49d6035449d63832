// The simulator's front panel: one window, TForm1, standing in for the
// instrument's hardware. It shows the face picture with the LCD and the
// alarm LED over it, turns clicks and slider moves into what the firmware
// reads, and is the HostPanel of the instrument's main loop.
#pragma once

#include <QDateTime>
#include <QElapsedTimer>
#include <QImage>
#include <QWidget>
#include <optional>

#include "core/instrument.h"
#include "host/flights/flight_player.h"
#include "host/lcd_text/lcd_text.h"
#include "host/panel/comm_lines.h"
#include "host/panel/panel_inputs.h"
#include "host/panel/session_record.h"
#include "lcd/frame_buffer.h"

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QStatusBar;
class QTimer;

namespace kvr9 {

class CircleShape;
class ClickArea;
class DrawingSurface;

class TForm1 : public QWidget, public HostPanel {
  Q_OBJECT

 public:
  explicit TForm1(Instrument& instrument, QWidget* parent = nullptr);
  ~TForm1() override;

  // The controls, named as in the form's stored layout.
  QLabel* Image2;       // the instrument face picture
  CircleShape* Shape1;  // the alarm LED
  ClickArea* Image3;    // F1 key
  ClickArea* Image5;    // knob (press)
  ClickArea* Image6;    // F2 key
  QFrame* Panel1;
  DrawingSurface* Image1;  // the LCD, inside Panel1
  QPushButton* Button3;    // "Clockwise"
  QPushButton* Button4;    // "AntiClockwise"
  QPushButton* Button1;    // "ON"
  QPushButton* Button2;    // "OFF"
  QLabel* Label2;
  QLabel* Label3;
  QSlider* TrackBar2;  // static-pressure (altitude) converter
  QLabel* Label1;
  QLabel* Label13;
  QSlider* TrackBar1;    // pitot (airspeed) converter
  QCheckBox* CheckBox2;  // "Calibrate"
  QCheckBox* CheckBox3;  // "KeyFast"
  QGroupBox* GroupBox1;
  QPlainTextEdit* Memo1;  // the communication window, inside GroupBox1
  QStatusBar* StatusBar1;
  QTimer* Timer1;
  QMenu* lcdMenu_ = nullptr;  // the LCD's context menu

  // Event handlers.
  void Button1Click();
  void Button2Click();
  void Image5Click();
  void Button3Click();
  void Button4Click();
  void Image3Click();
  void Image6Click();
  void TrackBar1Change();
  void TrackBar2Change();
  void Timer1Timer();

  // HostPanel: what the main loop asks of the window.
  void PresentFrameBuffer(const FrameBuffer& frameBuffer) override;
  void SetLcdVisible(bool visible) override;
  void SetAlarmLed(bool lit) override;
  bool IsCalibrateChecked() override;
  bool IsKeyFastChecked() override;
  void AppendCommLine(const char* text) override;
  void ProcessPendingEvents() override;

  // The LCD as shown, 256 x 128 pixels, for the clipboard (Ctrl+C).
  QImage LcdPicture() const;
  void CopyLcdPicture();

  // What the firmware has seen since the program started, as a scenario for
  // kvr9-headless, to the clipboard (Ctrl+Shift+C, or the LCD's menu).
  void CopySessionAsScenario();

  // The built-in demo flight (the LCD's menu): before each pass the sliders
  // move to its counts, a pass standing for 100 ms of the flight, as the
  // window's pace is ten passes a second; the window's own timer ticks. A
  // slider moved by hand stops it. fromSeconds lets a test start later on.
  void PlayDemoFlight(double fromSeconds);
  void PlayDemoFlightFromStart() { PlayDemoFlight(0); }
  void StopDemoFlight();
  bool IsDemoFlightPlaying() const { return flight_.has_value(); }

  // The colour of a blank LCD dot: the desktop's colour for an inactive
  // window's frame.
  QColor LcdDotColour() const;

  // With pacing on (the default) a pass of the running loop lasts at least
  // kPassPeriodMs; tests turn it off to run passes back to back.
  static constexpr int kPassPeriodMs = 100;
  void SetPacing(bool paced) { paced_ = paced; }

  // The communication window keeps only its latest lines.
  static constexpr int kMaxCommLines = static_cast<int>(CommLines::kMostLines);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  static QFont FormFont();
  void CreateControls();
  void CreatePicture();
  void CreateLcd();
  void CreateSliders();
  void CreateCommunicationWindow();
  void ConnectHandlers();
  void SetTabOrder();
  void CentreOnScreen();
  void WaitForRestOfPass();
  using Handler = void (TForm1::*)();
  static Handler HandlerOf(KeyEvent key);
  void CreateShortcuts();
  void CreateLcdMenu();
  void ClickKey(KeyEvent key);
  void AddToolTips();
  bool CommPictureStaysTheSame(const CommLines::Change& change) const;
  void DescribeLcd(const FrameBuffer& frameBuffer);
  void PlayFlightPass();
  void UpdateSliderToolTips();

  Instrument& instrument_;
  bool paced_ = true;
  CommLines commLines_;
  bool lcdDescriptionStale_ = false;  // a new frame shown, its text not yet read
  FrameBuffer shownFrame_;            // what the LCD surface shows, once it has a surface
  QRgb shownBlankDot_ = 0;
  // The LCD read as text for assistive technology: its accessible
  // description, read again only when a new frame comes.
  LcdText lcdText_;
  std::string lcdLines_;
  QElapsedTimer passClock_;  // started as each pass begins
  SessionRecord session_;
  PanelInputs inputs_{instrument_, &session_};
  QDateTime sessionStart_ = QDateTime::currentDateTimeUtc();
  std::optional<FlightPlayer> flight_;
  bool flightMovesSliders_ = false;
  bool flightChecked_ = false;  // against the converters' reach, at its first pass  // a slider
                                // change that is the flight's, not a hand's
};

}  // namespace kvr9
