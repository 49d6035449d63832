// What the main loop asks of the window: the LCD picture, the LED, the
// check boxes, the communication window and the pacing of event processing.
#include <QAccessible>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTextBlock>

#include "core/instrument.h"
#include "event_probe.h"
#include "host/lcd_text/lcd_text.h"
#include "lcd/frame_buffer.h"
#include "lcd_picture.h"
#include "panel/panel_widgets.h"
#include "panel/pcmain.h"
#include "screens/screens.h"

namespace kvr9 {

using testing::ShowsFrame;

class HostPanelTest : public QObject {
  Q_OBJECT

 private slots:
  void PresentPaintsEachDotAsTwoByTwoBlock_data();
  void PresentPaintsEachDotAsTwoByTwoBlock();
  void BlankDotsTakeTheDesktopsInactiveFrameColour();
  void LedAlternatesBetweenBrightAndDarkRed();
  void EachCommLineBecomesOneLineOfTheMemo();
  void MemoKeepsTheLatestThousandLines();
  void EveryMainLoopPassAddsOneCommLine();
  void OnlyANewFrameRepaintsTheLcd();
  void PacedPassesLastTheirPeriodAndStillDeliverTimerTicks();
  void LcdIsDescribedByItsTextAndItsScreenshotReadsSo_data();
  void LcdIsDescribedByItsTextAndItsScreenshotReadsSo();
};

void FramePresent(TForm1& form, const std::vector<QPoint>& darkDots) {
  FrameBuffer frame;
  for (const QPoint dot : darkDots) {
    PutPixel(frame, static_cast<std::uint8_t>(dot.x()), static_cast<std::uint8_t>(dot.y()),
             PixelSet);
  }
  form.session().instrument().host->PresentFrameBuffer(frame);
}

void HostPanelTest::PresentPaintsEachDotAsTwoByTwoBlock_data() {
  QTest::addColumn<QPoint>("dot");
  QTest::addColumn<QRect>("block");
  QTest::newRow("top left") << QPoint(0, 0) << QRect(0, 0, 2, 2);
  QTest::newRow("bottom right") << QPoint(127, 63) << QRect(254, 126, 2, 2);
  QTest::newRow("inside") << QPoint(37, 20) << QRect(74, 40, 2, 2);
}

void HostPanelTest::PresentPaintsEachDotAsTwoByTwoBlock() {
  QFETCH(QPoint, dot);
  QFETCH(QRect, block);
  Instrument instrument;
  TForm1 form(instrument);
  FramePresent(form, {dot});
  const QImage& picture = form.Image1->Picture();
  QCOMPARE(picture.size(), QSize(257, 129));
  const QRgb blank = form.LcdDotColour().rgb();
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const QRgb expected = block.contains(x, y)     ? qRgb(0, 0, 0)
                            : (x == 256 || y == 128) ? qRgb(255, 255, 255)
                                                     : blank;
      if (picture.pixel(x, y) != expected) {
        QFAIL(qPrintable(QStringLiteral("pixel %1,%2 is %3")
                             .arg(x)
                             .arg(y)
                             .arg(QColor(picture.pixel(x, y)).name())));
      }
    }
  }
  FramePresent(form, {});  // the next frame replaces it entirely
  QVERIFY(ShowsFrame(picture, FrameBuffer{}, blank));
}

void HostPanelTest::BlankDotsTakeTheDesktopsInactiveFrameColour() {
  Instrument instrument;
  TForm1 form(instrument);
  QPalette palette = form.palette();
  palette.setColor(QPalette::Inactive, QPalette::Mid, QColor(10, 120, 30));
  form.setPalette(palette);  // a desktop colour scheme change is followed
  FramePresent(form, {});
  QCOMPARE(form.LcdDotColour(), QColor(10, 120, 30));
  QVERIFY(ShowsFrame(form.Image1->Picture(), FrameBuffer{}, qRgb(10, 120, 30)));
}

void HostPanelTest::LedAlternatesBetweenBrightAndDarkRed() {
  Instrument instrument;
  TForm1 form(instrument);
  const QPoint centre = form.Shape1->rect().center();
  for (const bool lit : {false, true, false, true}) {
    instrument.host->SetAlarmLed(lit);
    const QColor expected = lit ? QColor(255, 0, 0) : QColor(128, 0, 0);
    QCOMPARE(form.Shape1->BrushColour(), expected);
    QCOMPARE(form.Shape1->grab().toImage().pixelColor(centre), expected);
  }
}

void HostPanelTest::EachCommLineBecomesOneLineOfTheMemo() {
  Instrument instrument;
  TForm1 form(instrument);
  instrument.host->AppendCommLine("");
  instrument.host->AppendCommLine("");
  instrument.host->AppendCommLine("QNH 1013");
  QCOMPARE(form.Memo1->document()->blockCount(), 3);
  QCOMPARE(form.Memo1->toPlainText(), QStringLiteral("\n\nQNH 1013"));
}

void HostPanelTest::MemoKeepsTheLatestThousandLines() {
  Instrument instrument;
  TForm1 form(instrument);
  for (int line = 1; line <= 1005; ++line) {
    instrument.host->AppendCommLine(QByteArray::number(line).constData());
  }
  const QTextDocument* memo = form.Memo1->document();
  QCOMPARE(memo->blockCount(), 1000);
  QCOMPARE(memo->firstBlock().text(), QStringLiteral("6"));
  QCOMPARE(memo->lastBlock().text(), QStringLiteral("1005"));
}

void HostPanelTest::EveryMainLoopPassAddsOneCommLine() {
  Instrument instrument;
  TForm1 form(instrument);
  form.SetPacing(false);
  RunPowerOnSequence(instrument);
  instrument.state.ui.currentScreen = MainScreen;
  for (int pass = 1; pass <= 5; ++pass) {
    MainLoopPass(instrument);
    QCOMPARE(form.Memo1->document()->blockCount(), pass);
    QVERIFY(form.Image1->IsPictureVisible());
    QVERIFY(ShowsFrame(form.Image1->Picture(), instrument.frameBuffer, form.LcdDotColour().rgb()));
  }
  QCOMPARE(form.Memo1->toPlainText(), QStringLiteral("\n\n\n\n"));  // five empty lines
}

// The main loop hides the LCD while it draws: at rest on an unchanging
// screen that costs no repaint, and a new frame is painted at once.
void HostPanelTest::OnlyANewFrameRepaintsTheLcd() {
  Instrument instrument;
  TForm1 form(instrument);
  form.SetPacing(false);
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  RunPowerOnSequence(instrument);
  instrument.state.ui.currentScreen = MainScreen;
  // A pass, then the window's events, as the pass timer runs them.
  const auto pass = [&instrument] {
    MainLoopPass(instrument);
    QCoreApplication::processEvents();
  };
  for (int i = 0; i < 3; ++i) pass();
  int paints = 0;
  testing::EventCounter counter(form.Image1, QEvent::Paint, paints);
  for (int i = 0; i < 5; ++i) pass();
  QCOMPARE(paints, 0);
  instrument.state.airData.altAdcRaw = 3000;  // the altitude reading changes
  for (int i = 0; i < 3; ++i) pass();
  QVERIFY(paints > 0);
  QVERIFY(ShowsFrame(form.Image1->Picture(), instrument.frameBuffer, form.LcdDotColour().rgb()));
}

// Paced, the timer runs a pass every period and Qt serves the window's
// events between them: the 100 ms timer keeps ticking.
void HostPanelTest::PacedPassesLastTheirPeriodAndStillDeliverTimerTicks() {
  struct PassCountingForm : TForm1 {
    using TForm1::TForm1;
    void PassEnded() override {
      ++passes;
      TForm1::PassEnded();
    }
    int passes = 0;
  };
  Instrument instrument;
  PassCountingForm form(instrument);
  int ticks = 0;
  QObject::connect(form.Timer1, &QTimer::timeout, [&] { ++ticks; });
  form.Button1Click();  // the first pass runs here
  QCOMPARE(form.passes, 1);
  constexpr int kPasses = 4;
  QElapsedTimer clock;
  clock.start();
  ticks = 0;
  QTRY_VERIFY_WITH_TIMEOUT(form.passes >= 1 + kPasses, 5000);
  QVERIFY(clock.elapsed() >= kPasses * TForm1::kPassPeriodMs - 1);
  QVERIFY2(ticks >= kPasses - 1, qPrintable(QString::number(ticks)));
  form.Button2Click();
  form.close();
}

// A screenshot of the LCD turned back into dots, each 2 x 2 block of one
// colour: black a dark dot, anything else a blank one.
bool ScreenshotDots(const QImage& shot, FrameBuffer& frame) {
  for (int y = 0; y < kLcdHeight; ++y) {
    for (int x = 0; x < kLcdWidth; ++x) {
      const QRgb colour = shot.pixel(2 * x, 2 * y);
      if (shot.pixel(2 * x + 1, 2 * y) != colour || shot.pixel(2 * x, 2 * y + 1) != colour ||
          shot.pixel(2 * x + 1, 2 * y + 1) != colour) {
        return false;
      }
      if (colour == qRgb(0, 0, 0)) {
        PutPixel(frame, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), PixelSet);
      }
    }
  }
  return true;
}

// Powered on, through the splash, then clicked to a screen: the LCD's
// accessible description holds what it shows, one row a line, and a
// screenshot of it reads the same. The altitude slider stands at 3000
// (2666 ft); power-on leaves the airspeed at 0.
void HostPanelTest::LcdIsDescribedByItsTextAndItsScreenshotReadsSo_data() {
  QTest::addColumn<QString>("key");  // "", or the click area clicked on the main display
  QTest::addColumn<QString>("text");
  QTest::newRow("main display") << ""
                                << "IAS      0 mph\n2666 ft\n1013mB";
  QTest::newRow("main menu") << "Image5"
                             << "MAIN MENU\n[icon:dial]   EXIT\nMENU";
  QTest::newRow("flight information")
      << "Image6"
      << "*** DONE ***\nRESET AIR DIST\nFLIGHT TIME:\n00:00\nAIR DISTANCE:\n0.0";
}

void HostPanelTest::LcdIsDescribedByItsTextAndItsScreenshotReadsSo() {
  QFETCH(QString, key);
  QFETCH(QString, text);
  Instrument instrument;
  TForm1 form(instrument);
  form.SetPacing(false);
  form.show();
  form.TrackBar2->setValue(3000);
  testing::GiveUpTimer giveUp(instrument, 60000);
  int passes = 0;
  QString description;
  QString accessibleText;
  QImage shot;
  testing::Probe probe([&] {
    if (instrument.phase != PowerPhase::MainLoop) return true;
    ++passes;
    if (passes == 3 && !key.isEmpty()) {
      QTest::mouseClick(form.findChild<QWidget*>(key), Qt::LeftButton);
    }
    if (passes < 6) return true;
    description = form.Image1->accessibleDescription();
    accessibleText =
        QAccessible::queryAccessibleInterface(form.Image1)->text(QAccessible::Description);
    shot = form.Image1->grab().toImage();
    QTest::mouseClick(form.Button2, Qt::LeftButton);
    return false;
  });
  QTest::mouseClick(form.Button1, Qt::LeftButton);
  testing::RunWhileOn(instrument);
  QVERIFY(!giveUp.fired);
  QCOMPARE(description, text);
  QCOMPARE(accessibleText, text);
  QCOMPARE(form.Image1->accessibleName(), QStringLiteral("LCD"));
  FrameBuffer dots;
  QVERIFY(ScreenshotDots(shot, dots));
  QCOMPARE(QString::fromStdString(ReadLcdText(dots).AsLines()), text + "\n");
}

}  // namespace kvr9

QTEST_MAIN(kvr9::HostPanelTest)
#include "host_panel_test.moc"
