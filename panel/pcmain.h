// The simulator's front panel: one window, TForm1, standing in for the
// instrument's hardware. It shows the face picture with the LCD and the
// alarm LED over it and hands clicks and slider moves to the panel rig,
// which its controller holds: a timer steps the rig a pass at a time, and
// Qt's event loop delivers the window's events between the passes. The
// window shows what the controller hands it; the rules are the rig's.
#pragma once

#include <QDateTime>
#include <QImage>
#include <QList>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/instrument.h"
#include "host/lessons/lesson.h"
#include "host/panel/comm_lines.h"
#include "host/panel/panel_form.h"
#include "host/panel/panel_inputs.h"
#include "host/panel/panel_session.h"
#include "host/rig/panel_rig.h"
#include "lcd/frame_buffer.h"
#include "panel/panel_controller.h"

class QButtonGroup;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
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

class TForm1 : public QWidget, public PanelView {
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

  // The flight bar, a strip below the form (form_flight_bar.cpp), made when
  // a flight is first chosen; showing it grows the window by its height,
  // so the form's own controls keep their places and sizes.
  QFrame* FlightBar = nullptr;
  QPushButton* FlightPlay = nullptr;    // "Fly" while off, "Play" or "Pause" while on
  QButtonGroup* FlightSpeed = nullptr;  // x1 .. x64, each button's id its speed-up
  QSlider* FlightScrub = nullptr;       // the moment shown, whole seconds from the start
  QLabel* FlightTime = nullptr;         // "0:00 / 8:00"
  QLabel* FlightNow = nullptr;          // "450 ft, 0 mph"
  QLabel* FlightName = nullptr;         // the log's name and its own summary
  QLabel* FlightNote = nullptr;         // what the pilot should know now
  QPushButton* FlightClose = nullptr;
  static constexpr int kFlightBarHeight = 112;

  // The lessons panel, a strip to the right of the form (form_lessons.cpp),
  // made when "Lessons..." first opens it; showing it grows the window by
  // its width, below the flight bar's height too when that shows.
  QFrame* LessonPanel = nullptr;
  // The built-in lessons, then those opened from files, with progress marks.
  QListWidget* LessonList = nullptr;
  QPushButton* LessonOpen = nullptr;    // "Open lesson file..."
  QPushButton* LessonRemove = nullptr;  // takes the chosen opened lesson off the list
  QLabel* LessonTitle = nullptr;
  QLabel* LessonStepNo = nullptr;  // "Step 2 of 7"
  QLabel* LessonWords = nullptr;   // what to do
  QPushButton* LessonHintButton = nullptr;
  QLabel* LessonHint = nullptr;  // shown on request or when due
  QLabel* LessonOff = nullptr;   // why the LED is lit, while the instrument is off
  QLabel* LessonDone = nullptr;  // "Done: ..." once a step passes, or why a file was refused
  QPushButton* LessonClose = nullptr;
  QPushButton* LessonCopyWay = nullptr;  // the way through the lesson, to the clipboard
  QList<QFrame*> LessonMarks;            // a ring round each control the step names
  static constexpr int kLessonPanelWidth = 300;

  // Stand mode (form_stand.cpp): a caption over the communication window
  // while the tour loops; once a visitor has ended it, a line in the status
  // bar says it resumes, beside a button that leaves it for good.
  QFrame* StandPanel = nullptr;
  QLabel* StandCaption = nullptr;
  QWidget* StandResumeBar = nullptr;
  QTimer* StandResumeTimer = nullptr;  // a quiet spell from the last input

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
  void PassTimerTimer();

  // PanelView: what the session shows of the instrument, handed on by the
  // controller.
  void ShowFrame(const FrameBuffer& frame, bool changed) override;
  void ShowLcdVisible(bool visible) override;
  void ShowLed(bool lit) override;
  void ShowCommLine(const char* text, const CommLines::Change& change) override;
  void PassEnded() override;

  // What the rig moved by itself, shown without telling it again: a slider
  // with its label and tooltip, a box, the communication window as a
  // snapshot has it, the flight bar, stand mode's caption ("" once it
  // stops), the lessons panel.
  void PutSlider(SliderKind slider, std::int32_t position);
  void PutBox(BoxKind box, bool checked);
  void PutCommLines(const CommLines::Memory& lines);
  void FollowFlight();
  void FollowStandCaption(const char* caption);
  void UpdateLessonPanel();

  PanelRig& rig() { return controller_.rig(); }
  const PanelRig& rig() const { return controller_.rig(); }
  PanelSession& session() { return rig().session(); }

  // The LCD as shown, 256 x 128 pixels, for the clipboard (Ctrl+C).
  QImage LcdPicture() const;
  void CopyLcdPicture();

  // What the firmware has seen since the program started, as a scenario for
  // kvr9-headless, to the clipboard (Ctrl+Shift+C, or the LCD's menu).
  void CopySessionAsScenario();

  // Flights (form_flight.cpp): the built-in demo or a log, IGC or CSV, that
  // a person chose, flown by the rig. Choosing one puts the sliders at its
  // first moment at once and shows the flight bar. A slider moved by hand
  // pauses it.
  //
  // What "Open flight log..." and a drop call: a log that cannot be read
  // leaves the flight as it was, and the bar shows the reader's one-line
  // message, naming the file by its name. False when refused.
  bool OpenFlightLog(const QString& path);
  // "Open flight log...": a file dialog that runs without a loop of its
  // own, so the instrument keeps running while it is open.
  void ChooseFlightLog();
  // The demo from fromSeconds on, playing (it flies once the instrument
  // is on). A test starts it later on.
  void PlayDemoFlight(double fromSeconds);
  void PlayDemoFlightFromStart() { PlayDemoFlight(0); }
  // The bar's first button: "Fly" switches the instrument on, as a click on
  // "ON" does, and plays; while on it plays or pauses.
  void FlightPlayClick();
  void PauseFlight();
  void SetFlightSpeed(std::uint32_t speedUp);
  // Puts the flight, and the sliders at once, at a moment of it.
  void MoveFlightTo(double secondsFromStart);
  // Closes the bar, and the window shrinks back to the form.
  void CloseFlight();
  bool IsFlightPlaying() const { return rig().FlightPlaying(); }
  bool IsDemoFlightPlaying() const { return IsFlightPlaying(); }  // any flight

  // Snapshots (form_state.cpp): the whole instrument and panel, with the
  // flight, saved to a file a person chose and opened from one ("Save
  // state...", "Open state...", a drop). A snapshot that cannot be read
  // changes nothing, and the status bar gives its one-line message; so
  // does a file that cannot be written. False then.
  bool SaveState(const QString& path);
  bool OpenState(const QString& path);
  // The dialogs, without a loop of their own as the flight log's.
  void ChooseStateToSave();
  void ChooseStateToOpen();
  // What a drop calls: a snapshot (.json) opens as one, a lesson (.lesson)
  // is opened and started, anything else opens as a flight log.
  bool OpenDroppedFile(const QString& path);

  // Lessons (form_lessons.cpp). "Lessons..." shows the panel; a lesson is
  // started from the list or from a file a person chose, where it begins:
  // the instrument switched on afresh, as "ON" does; switched off at its
  // defaults when the lesson's first step is "ON"; or its snapshot (the
  // flight open, if any, closes). Progress lasts as long as the window;
  // nothing is written.
  void ShowLessons();
  void CloseLessons();
  // A lesson of the list, built-in or opened, by its row.
  void StartListedLesson(int row);
  void StartBuiltInLesson(int index) { StartListedLesson(index); }
  // What "Open lesson...", the panel's "Open lesson file..." and a drop of
  // a .lesson file call: the lesson is listed under the built-in ones for
  // as long as the window lasts (opened again, it is read afresh) and
  // started. A file that cannot be read as a lesson starts nothing: a
  // message box says why in one sentence naming the line, and the lesson
  // being followed stays. False then.
  bool OpenLessonFile(const QString& path);
  void ChooseLessonFile();
  // Takes the chosen row off the list, when it is an opened lesson; one
  // being followed goes on, unlisted.
  void RemoveListedLesson();
  void ShowLessonHint();
  void CopyLessonWay();
  const LessonRun* FollowedLesson() const { return rig().FollowedLesson(); }

  // Stand mode (form_stand.cpp): the tour of the instrument in a loop with
  // a caption; the next click, touch or key anywhere in the window ends it,
  // and is not passed on. Once chosen, it starts again from the tour's
  // start after kStandResumeSeconds without an input, until left.
  void StartStandMode();
  void EndStandMode();
  void LeaveStandMode();
  bool IsStandMode() const { return rig().StandActive(); }
  bool IsStandChosen() const { return standChosen_; }

  // The colour of a blank LCD dot: the desktop's colour for an inactive
  // window's frame.
  QColor LcdDotColour() const;

  // With pacing on (the default) the running instrument makes a pass every
  // kPassPeriodMs; tests turn it off to run passes back to back, Qt still
  // delivering the window's events between them.
  static constexpr int kPassPeriodMs = kPanelPeriodMs;
  void SetPacing(bool paced) { controller_.SetPacing(paced); }

  // One pass of the running instrument, the rig's step: what the pass
  // timer does. Whether it is still on.
  virtual bool RunPass();

  // The communication window keeps only its latest lines.
  static constexpr int kMaxCommLines = static_cast<int>(CommLines::kMostLines);

 protected:
  void closeEvent(QCloseEvent* event) override;
  // A flight log, a snapshot or a lesson dropped on the window opens as if
  // chosen in its dialog.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

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
  using Handler = void (TForm1::*)();
  static Handler HandlerOf(KeyEvent key);
  void CreateShortcuts();
  void CreateLcdMenu();
  void ClickControl(const char* name);
  void AddToolTips();
  bool CommPictureStaysTheSame(const CommLines::Change& change) const;
  void DescribeLcd();
  void UpdateSliderToolTips();
  void ShowSliderValue(SliderKind slider);
  void CreateFlightBar();
  void ShowFlightBar();
  void UpdateFlightBar(const FlightStatus& status);
  void FitWindow();
  void KeepOnScreen();
  void CreateLessonPanel();
  void FollowLesson(const Lesson& lesson, int row);
  void ShowLessonRefusal(const QString& sentence);
  void MarkControl(std::optional<PanelControl> control);
  void CreateStandPanel();
  void StopHoldingStandInput();

  // The status bar says what the last file action did (a state opened or
  // saved); the person's next hand on the panel makes that old news.
  struct StatusClearer final : PanelObserver {
    QStatusBar* bar = nullptr;
    void Clear();
    void PowerOnClicked(bool /*running*/) override { Clear(); }
    void OffClicked() override { Clear(); }
    void KeyClicked(KeyEvent /*key*/, bool /*stored*/) override { Clear(); }
    void SliderMoved(SliderKind /*slider*/, std::int32_t /*position*/) override { Clear(); }
    void FlightMovedSlider(SliderKind /*slider*/, std::int32_t /*position*/) override {}
    void BoxChanged(BoxKind /*box*/, bool /*checked*/) override { Clear(); }
    void TimerTicked() override {}
    void EventsBegin() override {}
    void EventsEnd() override {}
  };
  StatusClearer statusClearer_;
  PanelController controller_;        // the rig and its pass timer
  bool lcdDescriptionStale_ = false;  // a new frame shown, its text not yet read
  QRgb shownBlankDot_ = 0;            // the blank dots' colour the surface was painted in
  // The LCD's accessible description: its text, read again only when a
  // new frame comes.
  std::string lcdLines_;
  QDateTime sessionStart_ = QDateTime::currentDateTimeUtc();
  // The snapshot the session record starts from, since one was opened, and
  // the one before the lessons, whose record the rig gives back with the
  // instrument when they close.
  QString openedState_;
  QString openedStateBeforeLessons_;
  bool openedStateInLesson_ = false;  // openedState_ is a lesson with its snapshot inside
  // The input that ended stand mode is still going on: its release is
  // held back too.
  bool standEnding_ = false;
  bool standChosen_ = false;  // chosen and not left: it resumes by itself
  // The lessons of the list, row by row: the built-in ones, read once from
  // the panel's resources, then those opened from files, with the steps
  // passed of each (the most so far) in this window's life. Nothing of
  // them is kept when the window closes: it writes no settings.
  struct ListedLesson {
    Lesson lesson;
    std::size_t best = 0;
    QString file;  // an opened lesson's, absolute; empty for a built-in one
    QString name;  // a built-in one's file name, as its solutions name it
  };
  std::vector<ListedLesson> listedLessons_;
  int followedListed_ = -1;      // the row of the lesson followed, -1 for none or an unlisted one
  std::size_t shownPassed_ = 0;  // the steps passed the "Done" line tells of
};

}  // namespace kvr9
