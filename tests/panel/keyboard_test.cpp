// What desktop users expect beyond the click targets: keyboard keys for the
// instrument's keys whichever control has the focus, the mouse wheel over the
// knob, tooltips, and Ctrl+C copying the LCD picture.
#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QWheelEvent>

#include "core/instrument.h"
#include "event_probe.h"
#include "panel/panel_widgets.h"
#include "panel/pcmain.h"

namespace kvr9 {

class KeyboardTest : public QObject {
  Q_OBJECT

 private slots:
  void KeysStoreTheirEvent_data();
  void KeysStoreTheirEvent();
  void SecondKeyIsDroppedWhileOneIsPending();
  void WheelOverTheKnobTurnsIt();
  void ClickTargetsNameTheirKeys();
  void CtrlCCopiesTheLcdPicture();
};

void KeyboardTest::KeysStoreTheirEvent_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<QString>("focus");
  QTest::addColumn<int>("expected");
  const struct {
    const char* name;
    Qt::Key key;
    int expected;
  } keys[] = {{"Up", Qt::Key_Up, KeyF1},
              {"F1", Qt::Key_F1, KeyF1},
              {"Down", Qt::Key_Down, KeyF2},
              {"F2", Qt::Key_F2, KeyF2},
              {"Right", Qt::Key_Right, KeyClockwise},
              {"Left", Qt::Key_Left, KeyAntiClockwise},
              {"Enter", Qt::Key_Return, KeyPress},
              {"Space", Qt::Key_Space, KeyPress},
              {"Other", Qt::Key_A, KeyNone}};
  // The same on a slider, which would move with the arrows, and on "ON",
  // which Space would click.
  for (const char* focus : {"TrackBar1", "Button1"}) {
    for (const auto& k : keys) {
      QTest::addRow("%s on %s", k.name, focus) << int{k.key} << QString(focus) << k.expected;
    }
  }
}

void KeyboardTest::KeysStoreTheirEvent() {
  QFETCH(int, key);
  QFETCH(QString, focus);
  QFETCH(int, expected);
  Instrument instrument;
  TForm1 form(instrument);
  form.SetPacing(false);
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  testing::GiveUpTimer giveUp(instrument, 20000);
  auto* focused = form.findChild<QWidget*>(focus);
  QVERIFY(focused != nullptr);
  focused->setFocus();
  const int sliderBefore = form.TrackBar1->value();
  QTest::keyClick(focused, static_cast<Qt::Key>(key));
  QCOMPARE(int{instrument.state.ui.pendingKey}, expected);
  QVERIFY(!giveUp.fired);                           // Space did not switch the instrument on
  QCOMPARE(form.TrackBar1->value(), sliderBefore);  // the slider kept its place
}

void KeyboardTest::SecondKeyIsDroppedWhileOneIsPending() {
  Instrument instrument;
  TForm1 form(instrument);
  form.show();
  QTest::keyClick(&form, Qt::Key_Up);
  QTest::keyClick(&form, Qt::Key_Down);
  QCOMPARE(int{instrument.state.ui.pendingKey}, int{KeyF1});
}

void KeyboardTest::WheelOverTheKnobTurnsIt() {
  for (const auto& [delta, expected] :
       {std::pair{120, KeyClockwise}, std::pair{-120, KeyAntiClockwise}}) {
    Instrument instrument;
    TForm1 form(instrument);
    form.show();
    const QPointF centre(24, 24);
    QWheelEvent wheel(centre, form.Image5->mapToGlobal(centre), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(form.Image5, &wheel);
    QCOMPARE(int{instrument.state.ui.pendingKey}, int{expected});
  }
}

void KeyboardTest::ClickTargetsNameTheirKeys() {
  Instrument instrument;
  TForm1 form(instrument);
  const struct {
    QWidget* target;
    const char* key;
  } targets[] = {{form.Image3, "Up"},     {form.Image6, "Down"},  {form.Image5, "Space"},
                 {form.Button3, "Right"}, {form.Button4, "Left"}, {form.Image1, "Ctrl+C"}};
  for (const auto& t : targets) {
    QVERIFY2(t.target->toolTip().contains(QLatin1String(t.key)), qPrintable(t.target->toolTip()));
  }
}

void KeyboardTest::CtrlCCopiesTheLcdPicture() {
  Instrument instrument;
  TForm1 form(instrument);
  form.show();
  PutPixel(instrument.frameBuffer, 0, 0, PixelSet);
  PutPixel(instrument.frameBuffer, 127, 63, PixelSet);
  QTest::keyClick(&form, Qt::Key_C, Qt::ControlModifier);
  const QImage copied = QApplication::clipboard()->image();
  QCOMPARE(copied.size(), QSize(256, 128));
  const QRgb black = qRgb(0, 0, 0);
  const QRgb blank = form.LcdDotColour().rgb();
  QCOMPARE(copied.pixel(1, 1), black);
  QCOMPARE(copied.pixel(255, 127), black);
  QCOMPARE(copied.pixel(2, 0), blank);
  QCOMPARE(copied.pixel(253, 127), blank);
  QCOMPARE(int{instrument.state.ui.pendingKey}, int{KeyNone});
}

}  // namespace kvr9

QTEST_MAIN(kvr9::KeyboardTest)
#include "keyboard_test.moc"
