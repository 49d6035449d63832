// The window under abuse: storms of clicks on every control, "ON" again and
// again during the splash and the main loop, "OFF" then "ON", and the window
// closed at any moment. The instrument must always stop cleanly, and its
// power cycle must never run inside itself.
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <random>

#include "core/instrument.h"
#include "event_probe.h"
#include "panel/panel_widgets.h"
#include "panel/pcmain.h"
#include "screens/screens.h"

namespace kvr9 {

namespace {

constexpr int kGiveUpMs = 120000;

// Records how deeply the window's passes are nested: a pass run from inside
// another (a handler that runs the power cycle while it runs) would show as
// depth 2.
class DepthForm : public TForm1 {
 public:
  explicit DepthForm(Instrument& instrument) : TForm1(instrument) {
    SetPacing(false);
    show();
  }
  // Only main-loop passes hide the LCD while they draw; the splash doesn't.
  void ShowLcdVisible(bool visible) override {
    if (!visible) drawingMainLoopPass_ = true;
    TForm1::ShowLcdVisible(visible);
  }
  void PassEnded() override {
    inMainLoop = drawingMainLoopPass_;
    drawingMainLoopPass_ = false;
    TForm1::PassEnded();
  }
  bool RunPass() override {
    Enter();
    const bool on = TForm1::RunPass();
    --depth_;
    return on;
  }
  // Closing runs the passes that switch it off.
  void closeEvent(QCloseEvent* event) override {
    Enter();
    TForm1::closeEvent(event);
    --depth_;
  }
  int maxDepth = 0;
  bool inMainLoop = false;  // the pass just ended was a main-loop pass

 private:
  void Enter() {
    ++depth_;
    maxDepth = std::max(maxDepth, depth_);
  }
  int depth_ = 0;
  bool drawingMainLoopPass_ = false;
};

bool OnMainDisplay(const Instrument& instrument) {
  return instrument.state.ui.currentScreen == MainScreen;
}

// One random action on one of the window's controls, "OFF" left out.
void RandomClick(DepthForm& form, std::mt19937& rng) {
  ClickArea* const areas[] = {form.Image3, form.Image5, form.Image6};
  QPushButton* const knobButtons[] = {form.Button3, form.Button4};
  QSlider* const sliders[] = {form.TrackBar1, form.TrackBar2};
  QCheckBox* const boxes[] = {form.CheckBox2, form.CheckBox3};
  switch (rng() % 5) {
    case 0:
      QTest::mouseClick(areas[rng() % 3], Qt::LeftButton);
      break;
    case 1:
      QTest::mouseClick(knobButtons[rng() % 2], Qt::LeftButton);
      break;
    case 2: {
      const int pick = static_cast<int>(rng() % 10);
      const int value = pick == 0 ? 0 : pick == 1 ? 4096 : static_cast<int>(rng() % 4097);
      sliders[rng() % 2]->setValue(value);
      break;
    }
    case 3:
      QTest::mouseClick(boxes[rng() % 2], Qt::LeftButton);
      break;
    default:
      form.Timer1Timer();
      break;
  }
}

}  // namespace

class RobustnessTest : public QObject {
  Q_OBJECT

 private slots:
  void ClickStormOnEveryControl();
  void OnAgainAndAgainDuringSplashAndMainLoop();
  void OffThenOnRunsAgain();
  void ClosingEndsTheProgram_data();
  void ClosingEndsTheProgram();
};

void RobustnessTest::ClickStormOnEveryControl() {
  Instrument instrument;
  DepthForm form(instrument);
  testing::GiveUpTimer giveUp(instrument, kGiveUpMs);
  std::mt19937 rng(20261207);
  int rounds = 0;
  long clicks = 0;
  bool sane = true;
  testing::Probe probe([&] {
    for (int i = 0; i < 10; ++i, ++clicks) RandomClick(form, rng);
    // Now and then "ON" while running: a restart in place.
    if (rounds < 2900 && rng() % 200 == 0) QTest::mouseClick(form.Button1, Qt::LeftButton);
    sane = sane && instrument.state.ui.pendingKey <= KeyF2 &&
           // Power-on zeroes the airspeed reading whatever the slider shows.
           form.Label13->text() == QString::number(form.TrackBar1->value()) &&
           form.Label3->text() == QString::number(instrument.state.airData.altAdcRaw);
    if (++rounds < 3000) return true;
    // "OFF" during the splash is lost, as on the instrument: wait for the loop.
    if (!form.inMainLoop) return true;
    QTest::mouseClick(form.Button2, Qt::LeftButton);
    return false;
  });
  QTest::mouseClick(form.Button1, Qt::LeftButton);
  testing::RunWhileOn(instrument);
  QVERIFY(!giveUp.fired);
  QVERIFY(sane);
  QVERIFY(!IsRunning(instrument));
  QCOMPARE(form.maxDepth, 1);
  QVERIFY2(clicks >= 30000, qPrintable(QString::number(clicks)));
}

void RobustnessTest::OnAgainAndAgainDuringSplashAndMainLoop() {
  Instrument instrument;
  DepthForm form(instrument);
  testing::GiveUpTimer giveUp(instrument, kGiveUpMs);
  int onClicks = 0;
  int rounds = 0;
  int returnedClicks = 0;
  testing::Probe probe([&] {
    ++rounds;
    // Every third round "ON" again: the splash never finishes...
    if (onClicks < 40 && rounds % 3 == 0) {
      QTest::mouseClick(form.Button1, Qt::LeftButton);
      ++returnedClicks;  // a restart request returns at once
      ++onClicks;
      return true;
    }
    // ...then, each time the main loop runs again, once more from there.
    if (!form.inMainLoop) return true;
    if (onClicks < 45) {
      QTest::mouseClick(form.Button1, Qt::LeftButton);
      ++returnedClicks;
      ++onClicks;
      return true;
    }
    QTest::mouseClick(form.Button2, Qt::LeftButton);
    return false;
  });
  QTest::mouseClick(form.Button1, Qt::LeftButton);
  testing::RunWhileOn(instrument);
  QVERIFY(!giveUp.fired);
  QCOMPARE(returnedClicks, 45);
  QCOMPARE(form.maxDepth, 1);
  QVERIFY(!IsRunning(instrument));
  QVERIFY(OnMainDisplay(instrument));
}

void RobustnessTest::OffThenOnRunsAgain() {
  Instrument instrument;
  DepthForm form(instrument);
  testing::GiveUpTimer giveUp(instrument, kGiveUpMs);
  for (int run = 0; run < 3; ++run) {
    instrument.state.settings.qnh = 1020250;  // changed while off: ON restores the default
    int mainPasses = 0;
    testing::Probe probe([&] {
      if (!form.inMainLoop || ++mainPasses < 5) return true;
      QTest::mouseClick(form.Button2, Qt::LeftButton);
      QTest::mouseClick(form.Button2, Qt::LeftButton);  // a second OFF changes nothing
      return false;
    });
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    testing::RunWhileOn(instrument);
    QVERIFY(!giveUp.fired);
    QVERIFY(!IsRunning(instrument));
    QCOMPARE(instrument.state.settings.qnh, 1013250u);
    instrument.state.ui.currentScreen = nullptr;  // the next run must choose it again
  }
  QCOMPARE(form.maxDepth, 1);
}

void RobustnessTest::ClosingEndsTheProgram_data() {
  QTest::addColumn<bool>("inSplash");
  QTest::addColumn<int>("afterRounds");
  QTest::newRow("splash, first pass") << true << 1;
  QTest::newRow("splash, middle") << true << 40;
  QTest::newRow("main loop, first pass") << false << 1;
  QTest::newRow("main loop, later") << false << 50;
}

void RobustnessTest::ClosingEndsTheProgram() {
  QFETCH(bool, inSplash);
  QFETCH(int, afterRounds);
  Instrument instrument;
  DepthForm form(instrument);
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  testing::GiveUpTimer giveUp(instrument, kGiveUpMs);
  int rounds = 0;
  testing::Probe probe([&] {
    if (form.inMainLoop == inSplash) return true;
    if (++rounds < afterRounds) return true;
    form.close();
    return false;
  });
  QTimer::singleShot(0, form.Button1, &QPushButton::click);
  QCOMPARE(QApplication::exec(), 0);
  QVERIFY(!giveUp.fired);
  QVERIFY(!IsRunning(instrument));
  QVERIFY(!form.isVisible());
  QCOMPARE(form.maxDepth, 1);
}

}  // namespace kvr9

QTEST_MAIN(kvr9::RobustnessTest)
#include "robustness_test.moc"
