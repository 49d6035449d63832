// A session worked in the window, copied as a scenario and replayed by the
// headless driver, gives the same frames, LED and state, pass for pass.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <sstream>
#include <string>
#include <vector>

#include "core/instrument.h"
#include "event_probe.h"
#include "host/scenario/executor.h"
#include "host/scenario/fields.h"
#include "host/scenario/scenario.h"
#include "host/snapshot/snapshot_json.h"
#include "panel/panel_widgets.h"
#include "panel/pcmain.h"
#include "screens/screens.h"

namespace kvr9 {

namespace {

constexpr int kGiveUpMs = 60000;

// The window, keeping every frame it was given to present.
class FrameKeepingForm : public TForm1 {
 public:
  using TForm1::TForm1;
  void ShowFrame(const FrameBuffer& frame, bool changed) override {
    frames.push_back(frame);
    TForm1::ShowFrame(frame, changed);
  }
  std::vector<FrameBuffer> frames;
};

// The headless driver, keeping every frame likewise.
class FrameKeepingRunner : public ScenarioExecutor {
 public:
  using ScenarioExecutor::ScenarioExecutor;
  void ShowFrame(const FrameBuffer& frame, bool changed) override {
    frames.push_back(frame);
    ScenarioExecutor::ShowFrame(frame, changed);
  }
  std::vector<FrameBuffer> frames;
};

// What "show all" and "show-led" print for the window's instrument.
std::string ShownState(const InstrumentState& state, bool ledLit) {
  std::string text;
  for (const FieldInfo& field : AllFields()) {
    text += std::string(field.name) + "=" + FormatField(field, state) + "\n";
  }
  return text + (ledLit ? "led=lit\n" : "led=unlit\n");
}

}  // namespace

class SessionReplayTest : public QObject {
  Q_OBJECT

 private slots:
  void CopiedSessionReplaysFrameForFrame();
  void FullRecordSaysSoAndStaysExact();
  void SavedStateGoesOnInTheDriverAsInTheWindow();
  void RefusedStateChangesNothing();
  void StateSavedAfterTenMinutesOpensAgain();
};

// The session below is a script run one action per round of event
// processing, with the real 100 ms timer ticking underneath; each action
// waits for its moment (a pass count, a screen, some ticks).
void SessionReplayTest::CopiedSessionReplaysFrameForFrame() {
  Instrument instrument;
  FrameKeepingForm form(instrument);
  form.SetPacing(false);
  form.show();
  testing::GiveUpTimer giveUp(instrument, kGiveUpMs);
  const UiState& ui = instrument.state.ui;
  int ticks = 0;
  QObject::connect(form.Timer1, &QTimer::timeout, [&] { ++ticks; });
  auto click = [](QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); };
  auto waitForTicks = [&](int count) {
    const int until = ticks + count;
    QTRY_VERIFY_WITH_TIMEOUT(ticks >= until, kGiveUpMs);
  };

  // Off: a slider, a stored key and a dropped one, ticks.
  form.TrackBar2->setValue(1800);
  click(form.Image3);
  click(form.Image6);
  waitForTicks(3);

  // On, one action a pass as each one's moment comes.
  int mark = 0;
  std::size_t action = 0;
  const std::vector<std::function<bool()>> script = {
      // The splash, restarted half-way.
      [&] { return form.frames.size() >= 40; },
      [&] {
        click(form.Button1);
        form.TrackBar2->setValue(2100);
        return true;
      },
      [&] { return ui.currentScreen == MainScreen; },
      // The main loop: sliders, keys, boxes, ticks between passes.
      [&] {
        click(form.Image5);
        mark = ticks;
        return true;
      },
      [&] { return ui.currentScreen == MainMenuScreen && ticks >= mark + 2; },
      [&] {
        form.TrackBar1->setValue(1500);
        click(form.Button3);
        click(form.Button4);
        return true;
      },
      [&] {
        form.CheckBox2->click();
        form.CheckBox3->click();
        mark = ticks;
        return true;
      },
      [&] { return ticks >= mark + 4; },
      // "ON" while running, with more events after it before the next pass.
      [&] {
        click(form.Button1);
        click(form.Image6);
        form.TrackBar1->setValue(900);
        return true;
      },
      [&] { return ui.currentScreen == MainScreen; },
      [&] {
        form.TrackBar1->setValue(2000);
        mark = ticks;
        return true;
      },
      [&] { return ticks >= mark + 2; },
      [&] {
        click(form.Button2);
        click(form.Image3);
        return true;
      },
  };
  testing::Probe probe([&] {
    while (action < script.size() && script[action]()) ++action;
    return action < script.size();
  });
  click(form.Button1);
  testing::RunWhileOn(instrument);
  QVERIFY2(!giveUp.fired,
           qPrintable(QStringLiteral("stuck at action %1, %2 frames, %3 ticks, %4, key %5")
                          .arg(action)
                          .arg(form.frames.size())
                          .arg(ticks)
                          .arg(QString::fromStdString(ScreenName(ui.currentScreen)))
                          .arg(ui.pendingKey)));
  QCOMPARE(action, script.size());
  waitForTicks(2);  // and ticks while off again

  form.CopySessionAsScenario();
  const std::string scenarioText = QApplication::clipboard()->text().toStdString();
  QVERIFY(scenarioText.rfind("# ", 0) == 0);  // the comment line that says what made it
  QVERIFY(scenarioText.find("on\n") != std::string::npos);

  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  const ParseOutcome parsed = ParseScenario(scenarioText + "show all\nshow-led\n", "<session>",
                                            folder.path().toStdString());
  QVERIFY2(parsed.ok, parsed.error.c_str());
  std::ostringstream out;
  std::ostringstream err;
  FrameKeepingRunner replay(parsed.scenario, out, err);
  QCOMPARE(replay.Run(), kExitPassed);

  QCOMPARE(replay.frames.size(), form.frames.size());
  for (std::size_t i = 0; i < form.frames.size(); ++i) {
    if (replay.frames[i].bytes != form.frames[i].bytes) {
      QFAIL(qPrintable(QStringLiteral("frame %1 of %2 differs").arg(i).arg(form.frames.size())));
    }
  }
  QCOMPARE(QString::fromStdString(out.str()),
           QString::fromStdString(
               ShownState(instrument.state, form.Shape1->BrushColour() == QColor(255, 0, 0))));
}

// A state saved in the window mid-session and opened again: the session
// copied from there, run by the driver from that snapshot, gives the frames
// the window showed from that moment on, and the same state at the end.
void SessionReplayTest::SavedStateGoesOnInTheDriverAsInTheWindow() {
  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  const QString path = folder.filePath(QStringLiteral("moment.json"));
  Instrument instrument;
  FrameKeepingForm form(instrument);
  form.SetPacing(false);
  form.show();
  testing::GiveUpTimer giveUp(instrument, kGiveUpMs);
  const UiState& ui = instrument.state.ui;
  int ticks = 0;
  QObject::connect(form.Timer1, &QTimer::timeout, [&] { ++ticks; });
  auto click = [](QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); };
  std::size_t restoredAt = 0;
  int mark = 0;
  std::size_t action = 0;
  const std::vector<std::function<bool()>> script = {
      [&] { return ui.currentScreen == MainScreen; },
      [&] {
        form.TrackBar2->setValue(2300);
        form.CheckBox3->click();
        click(form.Image5);
        mark = ticks;
        return true;
      },
      [&] { return ui.currentScreen == MainMenuScreen && ticks >= mark + 2; },
      [&] {
        const bool saved = form.SaveState(path);
        restoredAt = form.frames.size();
        return saved && form.OpenState(path);
      },
      [&] {
        click(form.Button3);
        form.TrackBar1->setValue(1700);
        mark = ticks;
        return true;
      },
      [&] { return ticks >= mark + 3; },
      [&] {
        click(form.Image5);
        form.CheckBox2->click();
        return true;
      },
      [&] { return form.frames.size() >= restoredAt + 30; },
      [&] {
        click(form.Button2);
        return true;
      },
  };
  testing::Probe probe([&] {
    while (action < script.size() && script[action]()) ++action;
    return action < script.size();
  });
  click(form.Button1);
  testing::RunWhileOn(instrument);
  QVERIFY(!giveUp.fired);
  QCOMPARE(action, script.size());
  // The clicks after the state was opened made its word in the status bar old news.
  QVERIFY(form.StatusBar1->currentMessage().isEmpty());

  form.CopySessionAsScenario();
  const std::string scenarioText = QApplication::clipboard()->text().toStdString();
  QVERIFY(scenarioText.find("# Starts from the state") != std::string::npos);
  const SnapshotReadResult moment = ReadSnapshotFile(path.toStdString());
  QVERIFY2(moment.ok, moment.error.c_str());
  const ParseOutcome parsed = ParseScenario(scenarioText + "show all\nshow-led\n", "<session>",
                                            folder.path().toStdString());
  QVERIFY2(parsed.ok, parsed.error.c_str());
  std::ostringstream out;
  std::ostringstream err;
  FrameKeepingRunner replay(parsed.scenario, out, err);
  QCOMPARE(replay.Run(&moment.snapshot), kExitPassed);
  // Both were shown the snapshot's frame as it was opened.
  QCOMPARE(replay.frames.size(), form.frames.size() - restoredAt);
  for (std::size_t i = 0; i < replay.frames.size(); ++i) {
    if (replay.frames[i].bytes != form.frames[restoredAt + i].bytes) {
      QFAIL(qPrintable(QStringLiteral("frame %1 after the moment differs").arg(i)));
    }
  }
  QCOMPARE(QString::fromStdString(out.str()),
           QString::fromStdString(
               ShownState(instrument.state, form.Shape1->BrushColour() == QColor(255, 0, 0))));
}

// A snapshot that cannot be read, opened or dropped, changes nothing and
// the status bar says why in one line.
void SessionReplayTest::RefusedStateChangesNothing() {
  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  Instrument instrument;
  FrameKeepingForm form(instrument);
  form.SetPacing(false);
  form.show();
  form.TrackBar2->setValue(1234);
  const QString good = folder.filePath(QStringLiteral("good.json"));
  QVERIFY(form.SaveState(good));
  QFile file(good);
  QVERIFY(file.open(QIODevice::ReadOnly));
  QString text = QString::fromUtf8(file.readAll());
  file.close();
  text.replace(QStringLiteral("\"qnh\": 0"), QStringLiteral("\"qnh\": -5"));
  const QString bad = folder.filePath(QStringLiteral("bad.json"));
  QFile badFile(bad);
  QVERIFY(badFile.open(QIODevice::WriteOnly));
  badFile.write(text.toUtf8());
  badFile.close();
  form.TrackBar2->setValue(2000);
  const std::string before = WriteSnapshot(CaptureSnapshot(form.session()));
  QVERIFY(!form.OpenDroppedFile(bad));
  QCOMPARE(form.StatusBar1->currentMessage(),
           QStringLiteral("bad.json: settings.qnh: -5 is out of range (940250..1080250)"));
  QVERIFY(!form.OpenState(folder.filePath(QStringLiteral("missing.json"))));
  QCOMPARE(form.StatusBar1->currentMessage(),
           QStringLiteral("missing.json: No such file or directory"));
  QCOMPARE(WriteSnapshot(CaptureSnapshot(form.session())), before);
  QCOMPARE(form.TrackBar2->value(), 2000);
  // The good one opens, sliders and all.
  QVERIFY(form.OpenDroppedFile(good));
  QCOMPARE(form.TrackBar2->value(), 1234);
  QCOMPARE(instrument.state.airData.altAdcRaw, 1234);
}

// Ten minutes on, the communication window has long been full of one
// line: the state saved then opens again, as the same instrument.
void SessionReplayTest::StateSavedAfterTenMinutesOpensAgain() {
  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  const QString path = folder.filePath(QStringLiteral("ten-minutes.json"));
  Instrument instrument;
  TForm1 form(instrument);
  form.SetPacing(false);
  form.show();
  testing::GiveUpTimer giveUp(instrument, kGiveUpMs);
  constexpr std::uint64_t kTenMinutesOfPasses = 6000;
  bool opened = false;
  QString status;
  std::string saved;
  std::string reopened;
  testing::Probe probe([&] {
    if (form.session().CommLineCount() < kTenMinutesOfPasses) return true;
    saved = WriteSnapshot(CaptureSnapshot(form.session()));
    opened = form.SaveState(path) && form.OpenState(path);
    status = form.StatusBar1->currentMessage();
    reopened = WriteSnapshot(CaptureSnapshot(form.session()));
    QTest::mouseClick(form.Button2, Qt::LeftButton);
    return false;
  });
  QTest::mouseClick(form.Button1, Qt::LeftButton);
  testing::RunWhileOn(instrument);
  QVERIFY(!giveUp.fired);
  QVERIFY2(opened, qPrintable(status));
  QCOMPARE(reopened, saved);
  QVERIFY(status.startsWith(QStringLiteral("State opened from")));
}

// Past its cap the record takes nothing more, not even into its last step,
// and the scenario says it is cut short.
void SessionReplayTest::FullRecordSaysSoAndStaysExact() {
  SessionRecord record;
  record.PowerOnClicked(false);
  for (std::size_t i = 1; i < SessionRecord::kMostSteps; ++i) {
    record.KeyClicked(i % 2 == 0 ? KeyF1 : KeyF2, true);
  }
  record.EventsBegin();  // the first pass of the cycle: in "on" already
  record.EventsBegin();  // would need a step of its own
  record.TimerTicked();
  QCOMPARE(record.StepCount(), SessionRecord::kMostSteps);
  QVERIFY(record.IsFull());
  const std::string text = record.AsScenario("# header\n");
  QVERIFY(text.find("pass") == std::string::npos);
  QVERIFY(text.find("tick") == std::string::npos);
  QVERIFY(text.find("# The record is full") != std::string::npos);
}

}  // namespace kvr9

QTEST_MAIN(kvr9::SessionReplayTest)
#include "session_replay_test.moc"
