// The window driving the instrument: power on, splash, main display, OFF,
// a restart while running, closing the window, and an escaping error.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <functional>
#include <sstream>
#include <stdexcept>

#include "core/instrument.h"
#include "event_probe.h"
#include "host/flights/flight_summary.h"
#include "host/flights/stand_mode.h"
#include "host/panel/key_table.h"
#include "host/panel/lcd_colours.h"
#include "host/panel/reading_units.h"
#include "host/scenario/executor.h"
#include "lcd_picture.h"
#include "panel/lcd_image.h"
#include "panel/panel_widgets.h"
#include "panel/pcmain.h"
#include "panel/simulator_application.h"
#include "screens/screens.h"

namespace kvr9 {

using testing::DarkDots;
using testing::ShowsFrame;

namespace {

constexpr int kGiveUpMs = 60000;

bool OnMainDisplay(const Instrument& instrument) {
  return instrument.state.ui.currentScreen == MainScreen;
}

void ChooseFromLcdMenu(TForm1& form, const char* text) {
  for (QAction* action : form.lcdMenu_->actions()) {
    if (action->text() == QLatin1String(text)) action->trigger();
  }
}

// The count whose reading the main display shows nearest a value, with the
// power-on settings.
int CountReading(SliderKind slider, ReadingUnit unit, double value) {
  Instrument powerOn;
  LoadDefaultSettings(powerOn);
  LoadDefaultCalibration(powerOn);
  SettledReadings readings;
  readings.Update(powerOn, slider, ReadingOf::Display, unit);
  return static_cast<int>(readings.Nearest(value).count);
}

class ThrowsOnEvent : public QObject {
 protected:
  bool event(QEvent* /*event*/) override { throw std::runtime_error("sensor table missing"); }
};

}  // namespace

class PowerCycleTest : public QObject {
  Q_OBJECT

 private slots:
  void OnShowsSplashThenMainDisplayUntilOff();
  void OnWhileRunningRestartsWithoutNesting();
  void ClosingWhileOnEndsTheProgramWithExitCodeZero();
  void LcdMenuOpenLeavesTheInstrumentRunning();
  void DemoFlightMovesTheSlidersAndBlinksTheLedAtTheHighAlarm();
  void FlownLogLeavesItsHighestAltitudeInMaxValues_data();
  void FlownLogLeavesItsHighestAltitudeInMaxValues();
  void LessonPanelFollowsTheFormsOwnControls();
  void OwnLessonFileIsListedFollowedAndRemoved();
  void StandModeLoopsWithCaptionsUntilAnInputHandsItOver();
  void EscapingErrorIsShownAndEndsTheProgramWithFailure();  // last: it marks the application
};

void PowerCycleTest::OnShowsSplashThenMainDisplayUntilOff() {
  Instrument instrument;
  TForm1 form(instrument);
  form.SetPacing(false);
  form.show();
  testing::GiveUpTimer giveUp(instrument, kGiveUpMs);
  int splashFramesSeen = 0;
  int splashFramesShown = 0;
  int mainFramesSeen = 0;
  int mainFramesShown = 0;
  testing::Probe probe([&] {
    const QRgb blank = form.LcdDotColour().rgb();
    const bool shown = form.Image1->IsPictureVisible() &&
                       ShowsFrame(form.Image1->Picture(), instrument.frameBuffer, blank);
    if (!OnMainDisplay(instrument)) {
      ++splashFramesSeen;
      if (shown && DarkDots(instrument.frameBuffer) > 0) ++splashFramesShown;
      return true;
    }
    ++mainFramesSeen;
    if (shown && DarkDots(instrument.frameBuffer) > 0) ++mainFramesShown;
    if (mainFramesSeen < 10) return true;
    QTest::mouseClick(form.Button2, Qt::LeftButton);
    return false;
  });
  QTest::mouseClick(form.Button1, Qt::LeftButton);
  testing::RunWhileOn(instrument);

  QVERIFY(!giveUp.fired);
  QVERIFY(!IsRunning(instrument));
  QVERIFY2(splashFramesSeen >= 80, qPrintable(QString::number(splashFramesSeen)));
  QCOMPARE(splashFramesShown, splashFramesSeen);
  QCOMPARE(mainFramesShown, mainFramesSeen);
  QCOMPARE(form.Memo1->document()->blockCount(), mainFramesSeen);  // one line a pass
  // The LCD keeps the last frame.
  QVERIFY(ShowsFrame(form.Image1->Picture(), instrument.frameBuffer, form.LcdDotColour().rgb()));
}

// The second "ON" returns at once; the running loop starts over with the
// defaults and the splash (no comm lines), then runs until one "OFF".
void PowerCycleTest::OnWhileRunningRestartsWithoutNesting() {
  Instrument instrument;
  TForm1 form(instrument);
  form.SetPacing(false);
  form.show();
  testing::GiveUpTimer giveUp(instrument, kGiveUpMs);
  QStringList events;
  int linesAtRestart = -1;
  int probesWithoutLines = 0;
  testing::Probe probe([&] {
    if (!OnMainDisplay(instrument)) return true;
    const int lines = form.Memo1->document()->blockCount();
    if (linesAtRestart < 0) {
      if (lines < 3) return true;
      instrument.state.settings.asiUnit = 2;  // changed by the user
      QTest::mouseClick(form.Button1, Qt::LeftButton);
      events << QStringLiteral("second ON returned");
      linesAtRestart = lines;
      return true;
    }
    if (lines == linesAtRestart) {
      ++probesWithoutLines;
      return true;
    }
    if (lines < linesAtRestart + 3) return true;
    if (instrument.state.settings.asiUnit == 0) events << QStringLiteral("defaults reloaded");
    QTest::mouseClick(form.Button2, Qt::LeftButton);
    events << QStringLiteral("OFF");
    return false;
  });
  QTest::mouseClick(form.Button1, Qt::LeftButton);
  testing::RunWhileOn(instrument);
  QVERIFY(!giveUp.fired);
  QVERIFY(!IsRunning(instrument));
  QCOMPARE(events, QStringList({"second ON returned", "defaults reloaded", "OFF"}));
  QVERIFY2(probesWithoutLines >= 80, qPrintable(QString::number(probesWithoutLines)));
}

void PowerCycleTest::ClosingWhileOnEndsTheProgramWithExitCodeZero() {
  Instrument instrument;
  TForm1 form(instrument);
  form.SetPacing(false);
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  testing::GiveUpTimer giveUp(instrument, kGiveUpMs);
  int mainPasses = 0;
  testing::Probe probe([&] {
    if (!OnMainDisplay(instrument) || ++mainPasses < 3) return true;
    form.close();
    return false;
  });
  QTimer::singleShot(0, form.Button1, &QPushButton::click);
  const int exitCode = QApplication::exec();
  QCOMPARE(exitCode, 0);
  QVERIFY(!giveUp.fired);
  QVERIFY(!IsRunning(instrument));
  QVERIFY(!form.isVisible());
}

// A menu with a loop of its own would hold the instrument's pass until it
// closed; the LCD's menu opens without one.
void PowerCycleTest::LcdMenuOpenLeavesTheInstrumentRunning() {
  Instrument instrument;
  TForm1 form(instrument);
  form.SetPacing(false);
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  testing::GiveUpTimer giveUp(instrument, kGiveUpMs);
  int linesAtOpen = -1;
  bool ranWithMenuOpen = false;
  const auto lines = [&form] { return form.Memo1->document()->blockCount(); };
  testing::Probe probe([&] {
    if (!OnMainDisplay(instrument)) return true;
    if (linesAtOpen < 0) {
      linesAtOpen = lines();
      // Should the menu block, this closes it, and the test fails below.
      QTimer::singleShot(3000, [] {
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
      });
      QContextMenuEvent open(QContextMenuEvent::Mouse, QPoint(20, 20),
                             form.Image1->mapToGlobal(QPoint(20, 20)));
      QCoreApplication::sendEvent(form.Image1, &open);
      return true;
    }
    QWidget* popup = QApplication::activePopupWidget();
    if (popup != nullptr && lines() < linesAtOpen + 5) return true;
    ranWithMenuOpen = popup != nullptr;
    if (popup != nullptr) popup->close();
    form.Button2->click();
    return false;
  });
  QTimer::singleShot(0, form.Button1, &QPushButton::click);
  QTest::qWait(0);
  QTRY_VERIFY_WITH_TIMEOUT(!IsRunning(instrument), kGiveUpMs);
  QVERIFY(ranWithMenuOpen);
  QVERIFY(!giveUp.fired);
}

// The demo flight, started from the LCD's menu, moves the sliders (and
// with them their labels and the session record) before each pass. Its
// dive holds 84 mph from 4:10 to 4:22, over the high alarm that power-on
// sets to 80 mph and switches on, so the LED blinks. The window is paced,
// as the flight's ten passes a second and the timer's ticks belong
// together; to keep the test short, the splash runs unpaced and the flight
// is restarted at 4:05.
void PowerCycleTest::DemoFlightMovesTheSlidersAndBlinksTheLedAtTheHighAlarm() {
  Instrument instrument;
  TForm1 form(instrument);
  form.SetPacing(false);
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  testing::GiveUpTimer giveUp(instrument, kGiveUpMs);
  Instrument powerOn;
  LoadDefaultSettings(powerOn);
  LoadDefaultCalibration(powerOn);
  QCOMPARE(int{powerOn.state.settings.highAlarmOn}, 1);
  QCOMPARE(powerOn.state.settings.highAlarmSpeed, 80u);
  SettledReadings airspeed;
  airspeed.Update(powerOn, SliderKind::Airspeed, ReadingOf::Profile, ReadingUnit::Mph);
  const int diveCount = static_cast<int>(airspeed.Nearest(84).count);
  bool startedFromMenu = false;
  bool sawDive = false;
  bool ledLit = false;
  testing::Probe probe([&] {
    if (!OnMainDisplay(instrument)) return true;
    if (!startedFromMenu) {
      for (QAction* action : form.lcdMenu_->actions()) {
        if (action->text() == QStringLiteral("Demo flight")) action->trigger();
      }
      startedFromMenu = form.IsDemoFlightPlaying();
      if (!startedFromMenu) return false;
      form.PlayDemoFlight(245);
      form.SetPacing(true);
      return true;
    }
    if (form.TrackBar1->value() == diveCount) {
      sawDive = form.Label13->text() == QString::number(diveCount);
    }
    ledLit = ledLit || form.Shape1->BrushColour() == ToQColor(kLedLit);
    if (!(sawDive && ledLit) && form.IsDemoFlightPlaying()) return true;
    form.CopySessionAsScenario();
    form.TrackBar1->setValue(100);  // by hand: the flight stops
    form.Button2->click();
    return false;
  });
  QTimer::singleShot(0, form.Button1, &QPushButton::click);
  QTest::qWait(0);
  QTRY_VERIFY_WITH_TIMEOUT(!IsRunning(instrument), kGiveUpMs);
  QVERIFY(startedFromMenu);
  QVERIFY(sawDive);
  QVERIFY(ledLit);
  QVERIFY(!form.IsDemoFlightPlaying());
  QCOMPARE(form.TrackBar1->value(), 100);
  QVERIFY(QApplication::clipboard()->text().contains(
      QStringLiteral("slider airspeed %1\n").arg(diveCount)));
  QVERIFY(!giveUp.fired);
}

// "Lessons..." opens a panel to the right of the form: the window grows by
// its width, the form's controls stay where they are. The first built-in
// lesson asks for "ON" first: started from the list while the main display
// shows, it switches the instrument off as a fresh one, LCD blank, and an
// input then passes nothing; one click on "ON" passes its first step after
// the splash. The rest is done with the form's own controls: each step's
// control is framed, its hint shows on request, each step passes with
// "Done", and the list marks the lesson finished. A lesson from a snapshot
// then starts at the snapshot's moment. Closed, the window is the form
// again, and the instrument as the first lesson found it.
// What the lesson's rings go round, together.
static QRect Marked(const TForm1& form) {
  QRect around;
  for (const QFrame* mark : form.LessonMarks) {
    if (mark->isVisible()) around |= mark->geometry();
  }
  return around;
}

void PowerCycleTest::LessonPanelFollowsTheFormsOwnControls() {
  Instrument instrument;
  TForm1 form(instrument);
  form.SetPacing(false);
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  testing::GiveUpTimer giveUp(instrument, kGiveUpMs);
  QWidget* const formControls[] = {form.Image2,    form.Panel1,    form.Button1,
                                   form.Button2,   form.Image5,    form.TrackBar1,
                                   form.TrackBar2, form.GroupBox1, form.StatusBar1};
  QList<QRect> formGeometry;
  for (const QWidget* control : formControls) formGeometry << control->geometry();
  ChooseFromLcdMenu(form, "Lessons...");
  QCOMPARE(form.size(), QSize(621 + TForm1::kLessonPanelWidth, 404));
  QCOMPARE(form.LessonPanel->geometry(), QRect(621, 0, TForm1::kLessonPanelWidth, 404));
  QCOMPARE(form.LessonList->count(), 10);
  QCOMPARE(form.LessonList->item(0)->text(),
           QStringLiteral("Switching on and reading the main display"));
  QTest::mouseClick(form.Button1, Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(OnMainDisplay(instrument), kGiveUpMs);
  instrument.state.settings.qnh = 1020000;  // changed by the user
  QTest::mouseClick(form.LessonList->viewport(), Qt::LeftButton, {},
                    form.LessonList->visualItemRect(form.LessonList->item(0)).center());
  QVERIFY(!IsRunning(instrument));
  QVERIFY(ShowsFrame(form.Image1->Picture(), FrameBuffer{}, form.LcdDotColour().rgb()));
  QCOMPARE(instrument.state.settings.qnh, 1013250u);
  QVERIFY(form.FollowedLesson() != nullptr);
  form.TrackBar2->setValue(form.TrackBar2->value() + 10);
  QTest::qWait(300);  // the window's timer looks at the lesson while off
  QCOMPARE(form.FollowedLesson()->StepsPassed(), 0u);
  // Off, the LED is lit: the panel says it is no alarm, until "ON".
  QVERIFY(form.LessonOff->isVisible());
  QVERIFY(form.LessonOff->text().contains(QStringLiteral("LED")));
  bool offSaidWhileOn = false;

  const int airspeed60 = CountReading(SliderKind::Airspeed, ReadingUnit::Mph, 60);
  const int altitude1500 = CountReading(SliderKind::Altitude, ReadingUnit::Feet, 1500);
  QStringList done;     // the "Done" lines as they came
  QList<QRect> marked;  // the frame at each step
  QString hint;
  bool used = false;  // the step's control
  std::size_t step = 0;
  testing::Probe probe([&] {
    const QString doneText = form.LessonDone->text();
    if (!doneText.isEmpty() && (done.isEmpty() || done.back() != doneText)) done << doneText;
    const LessonRun* run = form.FollowedLesson();
    if (run->StepsPassed() != step) {
      step = run->StepsPassed();
      used = false;
    }
    if (!OnMainDisplay(instrument) || used) return true;
    offSaidWhileOn = offSaidWhileOn || form.LessonOff->isVisible();
    used = true;
    marked << Marked(form);
    switch (step) {
      case 0:
        return true;  // the one "ON" below passes it; no second
      case 1:
        form.TrackBar1->setValue(airspeed60);
        return true;
      case 2:
        form.TrackBar2->setValue(altitude1500);
        return true;
      default:
        form.Button2->click();
        return false;
    }
  });
  marked << Marked(form);
  form.LessonHintButton->click();
  hint = form.LessonHint->isVisible() ? form.LessonHint->text() : QString();
  QTest::mouseClick(form.Button1, Qt::LeftButton);  // switched on as the step asks
  testing::RunWhileOn(instrument);

  QVERIFY(!giveUp.fired);
  QVERIFY(!offSaidWhileOn);
  QCOMPARE(done,
           (QStringList{QStringLiteral("Done: step 1 of 3."), QStringLiteral("Done: step 2 of 3."),
                        QStringLiteral("Done: the lesson is finished.")}));
  QCOMPARE(hint, QStringLiteral("Hint: Click the ON button and wait for \"1013mB\" on the bottom "
                                "line."));
  QCOMPARE(marked.size(), 4);
  QVERIFY(marked[0].contains(form.Button1->geometry()));
  QVERIFY(!marked[0].contains(form.Button2->geometry()));
  QVERIFY(marked[1].contains(form.TrackBar1->geometry()));
  QVERIFY(marked[2].contains(form.TrackBar2->geometry()));
  QVERIFY(marked[3].isNull());  // finished: nothing to use
  QVERIFY(form.LessonList->item(0)->text().startsWith(QStringLiteral("\u2713 ")));
  // The way taken, copied as a solution, finishes the lesson in the driver.
  QVERIFY(form.LessonCopyWay->isEnabled());
  form.LessonCopyWay->click();
  const std::string way = QApplication::clipboard()->text().toStdString();
  QVERIFY2(way.find("\nlesson 01-switching-on.lesson\n") != std::string::npos, way.c_str());
  std::ostringstream said;
  std::ostringstream wrong;
  QCOMPARE(RunScenarioText(way, "way.scn", KVR9_LESSONS_DIR, said, wrong), kExitPassed);
  QVERIFY2(said.str().find("lesson finished") != std::string::npos, way.c_str());
  QCOMPARE(form.size(), QSize(621 + TForm1::kLessonPanelWidth, 404));
  for (qsizetype i = 0; i < formGeometry.size(); ++i) {
    QCOMPARE(formControls[i]->geometry(), formGeometry[i]);
  }

  // A lesson of one's own from a snapshot starts at its moment: running,
  // in the main menu, the LCD showing it.
  QVERIFY(form.OpenLessonFile(QStringLiteral(KVR9_TEST_LESSONS_DIR "/out-of-menu.lesson")));
  QVERIFY(IsRunning(instrument));
  QVERIFY(instrument.state.ui.currentScreen == MainMenuScreen);
  QVERIFY(ShowsFrame(form.Image1->Picture(), instrument.frameBuffer, form.LcdDotColour().rgb()));
  QCOMPARE(form.FollowedLesson()->StepsPassed(), 0u);
  form.Button2->click();
  testing::RunWhileOn(instrument);

  // The knob's step rings the knob and the two buttons that turn it, each
  // on its own, and leaves the keys beside them clear.
  QTemporaryDir folder;
  const QString knobLesson = folder.filePath(QStringLiteral("knob.lesson"));
  QFile file(knobLesson);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(
      "title The knob\nstart defaults\nstep Open the menu.\nhint Press the knob.\n"
      "control knob\ncheck expect currentScreen MainMenuScreen\n");
  file.close();
  QVERIFY(form.OpenLessonFile(knobLesson));
  int rings = 0;
  for (const QFrame* mark : form.LessonMarks) {
    if (!mark->isVisible()) continue;
    ++rings;
    QVERIFY(!mark->geometry().intersects(form.Image3->geometry()));
    QVERIFY(!mark->geometry().intersects(form.Image6->geometry()));
  }
  QCOMPARE(rings, 3);
  QVERIFY(Marked(form).contains(form.Image5->geometry()));
  form.Button2->click();
  testing::RunWhileOn(instrument);

  // Closed, the panel gives the instrument back as the first lesson found
  // it: running on the main display, with the user's QNH.
  form.LessonClose->click();
  QCOMPARE(form.size(), QSize(621, 404));
  QVERIFY(form.FollowedLesson() == nullptr);
  QVERIFY(IsRunning(instrument));
  QCOMPARE(instrument.state.settings.qnh, 1020000u);
  QTRY_VERIFY_WITH_TIMEOUT(OnMainDisplay(instrument), kGiveUpMs);
  form.Button2->click();
  testing::RunWhileOn(instrument);
}

// "Open lesson..." and a drop on the window. A malformed lesson starts
// nothing: a message box says why in one sentence naming the line. A
// lesson of one's own with its snapshot inside it, alone in its folder,
// starts at the snapshot's moment, is listed under the built-in ones and
// is followed to its end by the form's own controls; opened again it is
// listed once; "Remove" takes it off the list.
void PowerCycleTest::OwnLessonFileIsListedFollowedAndRemoved() {
  Instrument instrument;
  TForm1 form(instrument);
  form.SetPacing(false);
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  testing::GiveUpTimer giveUp(instrument, kGiveUpMs);
  QTemporaryDir folder;
  const QString bad = folder.filePath(QStringLiteral("bad.lesson"));
  QFile badFile(bad);
  QVERIFY(badFile.open(QIODevice::WriteOnly));
  badFile.write(
      "title Bad\nstart defaults\nstep Open the menu.\nhint Press the knob.\ncontrol Knobb\n"
      "check expect currentScreen MainMenuScreen\n");
  badFile.close();
  ChooseFromLcdMenu(form, "Open lesson...");
  auto* dialog = form.findChild<QFileDialog*>();
  QVERIFY(dialog != nullptr);
  dialog->selectFile(bad);
  static_cast<QDialog*>(dialog)->accept();  // as its "Open" button does
  auto* box = form.findChild<QMessageBox*>(QStringLiteral("LessonRefused"));
  QVERIFY(box != nullptr);
  QVERIFY(box->isVisible());
  QCOMPARE(box->text(), QStringLiteral("The lesson bad.lesson was not started: on line 5, unknown "
                                       "control 'Knobb': did you mean knob?"));
  QVERIFY(form.FollowedLesson() == nullptr);
  QVERIFY(!IsRunning(instrument));
  QVERIFY(form.LessonPanel == nullptr || form.LessonPanel->isHidden());
  box->accept();

  const QString own = folder.filePath(QStringLiteral("own.lesson"));
  QVERIFY(QFile::copy(QStringLiteral(KVR9_TEST_LESSONS_DIR "/out-of-menu-inline.lesson"), own));
  for (int opened = 0; opened < 2; ++opened) {
    QVERIFY(testing::Drop(form.Image1, {QUrl::fromLocalFile(own)}));
    QVERIFY(form.LessonPanel->isVisible());
    QCOMPARE(form.LessonList->count(), 11);
    QCOMPARE(form.LessonList->item(10)->text(), QStringLiteral("Out of the main menu"));
    QVERIFY(IsRunning(instrument));
    QVERIFY(instrument.state.ui.currentScreen == MainMenuScreen);
    QCOMPARE(form.FollowedLesson()->StepsPassed(), 0u);
  }
  // Five turns back up to "EXIT MENU", then a press: each click shown by
  // the passes after it before the next.
  int rounds = 0;
  testing::Probe probe([&] {
    const LessonRun* run = form.FollowedLesson();
    if (run->Done()) return false;
    if (++rounds % 4 != 0) return true;
    if (run->StepsPassed() == 0) {
      QTest::mouseClick(form.Button4, Qt::LeftButton);
    } else {
      QTest::mouseClick(form.Image5, Qt::LeftButton);
    }
    return true;
  });
  QTRY_VERIFY_WITH_TIMEOUT(form.FollowedLesson()->Done(), kGiveUpMs);
  form.Button2->click();
  QTRY_VERIFY_WITH_TIMEOUT(!IsRunning(instrument), kGiveUpMs);
  QCOMPARE(form.LessonDone->text(), QStringLiteral("Done: the lesson is finished."));
  QCOMPARE(form.LessonList->item(10)->text(), QStringLiteral("\u2713 Out of the main menu"));

  // A built-in lesson cannot be removed; the opened one can.
  form.LessonList->setCurrentRow(0);
  QVERIFY(!form.LessonRemove->isEnabled());
  form.LessonList->setCurrentRow(10);
  QVERIFY(form.LessonRemove->isEnabled());
  form.LessonRemove->click();
  QCOMPARE(form.LessonList->count(), 10);
}

// "Stand mode" switches the instrument on and runs the host's tour, the
// caption following each step and the LCD showing what it names, round to
// the start again; a click on "OFF" ends it and is not the instrument's,
// which runs on as it was, the flight paused. A quiet spell, put off by
// each input, starts it again; a key ends it the same way (the knob's key
// does not open the menu); "Leave stand mode" keeps it ended.
void PowerCycleTest::StandModeLoopsWithCaptionsUntilAnInputHandsItOver() {
  Instrument instrument;
  TForm1 form(instrument);
  form.SetPacing(false);
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  testing::GiveUpTimer giveUp(instrument, kGiveUpMs);
  QStringList tour;
  for (const StandStep& step : StandTour()) {
    if (tour.isEmpty() || tour.back() != QLatin1String(step.caption)) tour << step.caption;
  }
  tour << tour.front();  // the next loop
  ChooseFromLcdMenu(form, "Stand mode");
  QVERIFY(form.IsStandMode());
  QVERIFY(IsRunning(instrument));
  QVERIFY(form.StandPanel->isVisible());
  QStringList captions;
  bool maxValues = false;
  testing::Probe probe([&] {
    const QString caption = form.StandCaption->text();
    if (captions.isEmpty() || captions.back() != caption) captions << caption;
    maxValues =
        maxValues || (caption.startsWith(QLatin1String("MAX VALUES")) &&
                      form.session().ScreenLines().find("ASI: 84 mph") != std::string::npos);
    if (captions.size() < tour.size()) return true;
    QTest::mouseClick(form.Button2, Qt::LeftButton);
    return false;
  });
  QTRY_VERIFY_WITH_TIMEOUT(!form.IsStandMode(), kGiveUpMs);
  QCOMPARE(captions, tour);
  QVERIFY(maxValues);
  const int airspeed = form.TrackBar1->value();
  QTest::qWait(100);
  QVERIFY(IsRunning(instrument));
  QVERIFY(!form.StandPanel->isVisible());
  QVERIFY(!form.IsFlightPlaying());
  QCOMPARE(form.TrackBar1->value(), airspeed);

  QVERIFY(form.StandResumeBar->isVisible());
  QVERIFY(form.StandResumeTimer->isActive());
  QCOMPARE(form.StandResumeTimer->interval(), kStandResumeSeconds * 1000);
  QTest::qWait(50);
  const int left = form.StandResumeTimer->remainingTime();
  QTest::mouseClick(form.Memo1->viewport(), Qt::LeftButton);
  QVERIFY(form.StandResumeTimer->remainingTime() > left);
  form.StandResumeTimer->start(1);  // the quiet spell, run short
  QTRY_VERIFY_WITH_TIMEOUT(form.IsStandMode(), kGiveUpMs);
  QVERIFY(!form.StandResumeBar->isVisible());
  QTRY_VERIFY_WITH_TIMEOUT(form.StandCaption->text() == tour[1], kGiveUpMs);
  QString knobKey;
  for (const InstrumentKey& key : InstrumentKeys()) {
    if (key.key == KeyPress) knobKey = QString::fromLatin1(key.keyboard);
  }
  QTest::keyClick(&form, QKeySequence(knobKey)[0].key());
  QVERIFY(!form.IsStandMode());
  QTest::qWait(100);
  QVERIFY(OnMainDisplay(instrument));

  form.StandResumeBar->findChild<QPushButton*>(QStringLiteral("StandLeave"))->click();
  QVERIFY(!form.StandResumeTimer->isActive());
  QVERIFY(!form.StandResumeBar->isVisible());
  QVERIFY(!form.IsStandChosen());
  QTest::mouseClick(form.Button2, Qt::LeftButton);
  testing::RunWhileOn(instrument);
  QVERIFY(!giveUp.fired);
}

// A log climbs to 6070 ft, holds it three minutes and lands. Opened, flown
// with "Fly" at the fastest speed to its end, MAX VALUES shows its highest
// altitude: the count nearest 6070 ft reads r, and climbing in the last
// steps the display settles on r or a foot below. The maxima start at
// power-on from what the previous run left, so a run at the sliders' start
// (50860 ft) before the log must not stand in the way. The bar says where
// the maxima count from, until a hand moves a slider.
void PowerCycleTest::FlownLogLeavesItsHighestAltitudeInMaxValues_data() {
  QTest::addColumn<bool>("runAtTheStartFirst");
  QTest::newRow("first power-on") << false;
  QTest::newRow("after a run at the sliders' start") << true;
}

void PowerCycleTest::FlownLogLeavesItsHighestAltitudeInMaxValues() {
  QFETCH(bool, runAtTheStartFirst);
  QTemporaryDir folder;
  const QString log = folder.filePath(QStringLiteral("climb.csv"));
  {
    QFile file(log);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(
        "time(s),altitude(ft),airspeed(mph)\n0,450,0\n60,450,60\n300,3000,80\n"
        "420,6070,90\n600,6070,85\n900,1000,70\n1000,450,0\n");
  }
  Instrument instrument;
  TForm1 form(instrument);
  form.SetPacing(false);
  form.show();
  testing::GiveUpTimer giveUp(instrument, kGiveUpMs);
  if (runAtTheStartFirst) {
    int passes = 0;
    testing::Probe off([&] {
      if (!OnMainDisplay(instrument) || ++passes < 3) return true;
      form.Button2Click();
      return false;
    });
    form.Button1Click();
    testing::RunWhileOn(instrument);
    QCOMPARE(instrument.state.airData.altitude, 50860);
  }
  QVERIFY(form.OpenFlightLog(log));
  QCOMPARE(form.FlightPlay->text(), QStringLiteral("Fly"));
  QCOMPARE(form.FlightNote->text(), QString::fromLatin1(kSwitchOnToFlyNote));
  const auto fastest = static_cast<int>(kFlightBarSpeeds[std::size(kFlightBarSpeeds) - 1]);
  QCOMPARE(fastest, 64);
  form.FlightSpeed->button(fastest)->click();

  const KeyEvent toMaxValues[] = {KeyPress, KeyClockwise, KeyPress};
  std::size_t keysGiven = 0;
  QString maxValues;
  QString noteWhileOn;
  QString noteAfterAHand;
  int probesAfterAHand = -1;
  testing::Probe probe([&] {
    if (instrument.phase != PowerPhase::MainLoop) return true;
    if (noteWhileOn.isEmpty()) noteWhileOn = form.FlightNote->text();
    if (form.IsFlightPlaying()) return true;
    if (keysGiven < std::size(toMaxValues)) {
      if (instrument.state.ui.pendingKey == KeyNone) {
        StoreKey(instrument, toMaxValues[keysGiven++]);
      }
      return true;
    }
    if (probesAfterAHand < 0) {
      maxValues = form.Image1->accessibleDescription();
      if (!maxValues.startsWith(QStringLiteral("MAX VALUES"))) return true;
      form.CopySessionAsScenario();
      // By hand, above the log: MAX VALUES are no longer the log's alone.
      form.TrackBar2->setValue(0);
      probesAfterAHand = 0;
      return true;
    }
    noteAfterAHand = form.FlightNote->text();
    if (noteAfterAHand != QString::fromLatin1(kMaxValuesNote) && ++probesAfterAHand < 100) {
      return true;
    }
    form.Button2Click();
    return false;
  });
  form.FlightPlay->click();  // "Fly"
  testing::RunWhileOn(instrument);
  QVERIFY(!giveUp.fired);
  QCOMPARE(noteWhileOn, QString::fromLatin1(kMaxValuesFromFlyNote));
  QCOMPARE(noteAfterAHand, QString::fromLatin1(kMaxValuesNote));
  QCOMPARE(form.FlightTime->text(), QStringLiteral("16:40 / 16:40"));  // flown to its end
  Instrument powerOn;
  LoadDefaultSettings(powerOn);
  LoadDefaultCalibration(powerOn);
  SettledReadings altitude;
  altitude.Update(powerOn, SliderKind::Altitude, ReadingOf::Display, ReadingUnit::Feet);
  const int highest = altitude.At(altitude.Nearest(6070).count);
  const QRegularExpressionMatch shown =
      QRegularExpression(QStringLiteral("ALT: (-?\\d+) ft")).match(maxValues);
  QVERIFY2(shown.hasMatch(), qPrintable(maxValues));
  const int maxAltitude = shown.captured(1).toInt();
  QVERIFY2(maxAltitude == highest || maxAltitude == highest - 1,
           qPrintable(QStringLiteral("%1 against %2").arg(maxAltitude).arg(highest)));
  // "Fly" is a click on "ON" in the session's record.
  QVERIFY(QApplication::clipboard()->text().contains(QStringLiteral("\non\n")));
}

void PowerCycleTest::EscapingErrorIsShownAndEndsTheProgramWithFailure() {
  auto* application = qobject_cast<SimulatorApplication*>(qApp);
  QVERIFY(application != nullptr);
  QStringList shown;
  application->SetErrorReporter([&shown](const QString& message) { shown << message; });
  Instrument instrument;
  TForm1 form(instrument);
  form.SetPacing(false);
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  testing::GiveUpTimer giveUp(instrument, kGiveUpMs);
  ThrowsOnEvent thrower;
  testing::Probe probe([&] {
    if (!OnMainDisplay(instrument)) return true;
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    return false;
  });
  QTimer::singleShot(0, form.Button1, &QPushButton::click);
  QApplication::exec();
  QCOMPARE(shown, QStringList({"sensor table missing"}));
  QVERIFY(application->HadFatalError());
  QVERIFY(!giveUp.fired);
  QVERIFY(!IsRunning(instrument));  // the running instrument was switched off
  QVERIFY(!form.isVisible());
}

}  // namespace kvr9

int main(int argc, char* argv[]) {
  kvr9::SimulatorApplication application(argc, argv);
  kvr9::PowerCycleTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "power_cycle_test.moc"
