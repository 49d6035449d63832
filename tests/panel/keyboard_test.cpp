// What desktop users expect beyond the click targets: the instrument's keys
// on keys of their own whichever control has the focus, the focused control
// keeping its standard keys, the mouse wheel over the knob, tooltips, and
// Ctrl+C copying the LCD picture.
#include <QApplication>
#include <QCheckBox>
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
  void FocusedControlKeepsItsKeys_data();
  void FocusedControlKeepsItsKeys();
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
  } keys[] = {{"F1", Qt::Key_F1, KeyF1},
              {"F2", Qt::Key_F2, KeyF2},
              {"F3", Qt::Key_F3, KeyPress},
              {"Plus", Qt::Key_Plus, KeyClockwise},
              {"Minus", Qt::Key_Minus, KeyAntiClockwise},
              {"Other", Qt::Key_A, KeyNone}};
  // The same whichever control has the focus.
  for (const char* focus : {"TrackBar1", "Button2", "CheckBox2", "Memo1"}) {
    for (const auto& k : keys) {
      const QByteArray row = QByteArray(k.name) + " on " + focus;
      QTest::newRow(row.constData()) << int{k.key} << QString::fromLatin1(focus) << k.expected;
    }
  }
}

void KeyboardTest::KeysStoreTheirEvent() {
  QFETCH(int, key);
  QFETCH(QString, focus);
  QFETCH(int, expected);
  Instrument instrument;
  TForm1 form(instrument);
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  auto* focused = form.findChild<QWidget*>(focus);
  QVERIFY(focused != nullptr);
  focused->setFocus();
  const int sliderBefore = form.TrackBar1->value();
  QTest::keyClick(focused, static_cast<Qt::Key>(key));
  QCOMPARE(int{instrument.state.ui.pendingKey}, expected);
  QCOMPARE(form.TrackBar1->value(), sliderBefore);  // the slider kept its place
  QVERIFY(!form.CheckBox2->isChecked());
  QCOMPARE(int{instrument.state.ui.stopRequested}, 0);  // OFF was not clicked
}

// The exact converter count is set from the keyboard: one count an arrow.
void KeyboardTest::FocusedControlKeepsItsKeys_data() {
  QTest::addColumn<QString>("focus");
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("slider");   // TrackBar1's value afterwards; it starts at 1
  QTest::addColumn<bool>("ticked");  // CheckBox2 afterwards
  QTest::addColumn<int>("stop");     // stopRequested afterwards: OFF was clicked
  QTest::newRow("Right moves a slider up one")
      << "TrackBar1" << int{Qt::Key_Right} << 2 << false << 0;
  QTest::newRow("Up moves a slider up one") << "TrackBar1" << int{Qt::Key_Up} << 2 << false << 0;
  QTest::newRow("Left moves a slider down one")
      << "TrackBar1" << int{Qt::Key_Left} << 0 << false << 0;
  QTest::newRow("Page Up moves a slider a page")
      << "TrackBar1" << int{Qt::Key_PageUp} << 3 << false << 0;
  QTest::newRow("Space ticks a box") << "CheckBox2" << int{Qt::Key_Space} << 1 << true << 0;
  QTest::newRow("Space clicks a button") << "Button2" << int{Qt::Key_Space} << 1 << false << 1;
}

void KeyboardTest::FocusedControlKeepsItsKeys() {
  QFETCH(QString, focus);
  QFETCH(int, key);
  QFETCH(int, slider);
  QFETCH(bool, ticked);
  QFETCH(int, stop);
  Instrument instrument;
  TForm1 form(instrument);
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  auto* focused = form.findChild<QWidget*>(focus);
  QVERIFY(focused != nullptr);
  focused->setFocus();
  QTest::keyClick(focused, static_cast<Qt::Key>(key));
  QCOMPARE(form.TrackBar1->value(), slider);
  QCOMPARE(form.CheckBox2->isChecked(), ticked);
  QCOMPARE(int{instrument.state.ui.stopRequested}, stop);
  QCOMPARE(int{instrument.state.ui.pendingKey}, int{KeyNone});
}

void KeyboardTest::SecondKeyIsDroppedWhileOneIsPending() {
  Instrument instrument;
  TForm1 form(instrument);
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  QTest::keyClick(&form, Qt::Key_F1);
  QTest::keyClick(&form, Qt::Key_F2);
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
  } targets[] = {{form.Image3, "F1"}, {form.Image6, "F2"}, {form.Image5, "F3"},
                 {form.Button3, "+"}, {form.Button4, "-"}, {form.Image1, "Ctrl+C"}};
  for (const auto& t : targets) {
    QVERIFY2(t.target->toolTip().contains(QLatin1String(t.key)), qPrintable(t.target->toolTip()));
  }
}

void KeyboardTest::CtrlCCopiesTheLcdPicture() {
  Instrument instrument;
  TForm1 form(instrument);
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
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
