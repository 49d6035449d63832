// The window as a person meets it: layout, captions, focus order, the start
// state, and what each click target and slider does to the instrument.
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "core/instrument.h"
#include "event_probe.h"
#include "host/flights/flight_summary.h"
#include "host/panel/reading_units.h"
#include "host/snapshot/snapshot_json.h"
#include "panel/panel_widgets.h"
#include "panel/pcmain.h"
#include "panel/window_language.h"

namespace kvr9 {

class FormTest : public QObject {
  Q_OBJECT

 private slots:
  void WindowIsFixedSizeWithCaptionAndMinimiseOnly();
  void ControlsLieWhereTheLayoutPutsThem_data();
  void ControlsLieWhereTheLayoutPutsThem();
  void SliderCaptionsEndBeforeTheirValues();
  void TabOrderFollowsTheLayout();
  void StartsWithPictureRedLedZeroReadingsAndNoLcdSurface();
  void ClickTargetStoresItsKeyOnlyWhileNoneIsPending_data();
  void ClickTargetStoresItsKeyOnlyWhileNoneIsPending();
  void SliderSetsConverterReadingAndLabel_data();
  void SliderSetsConverterReadingAndLabel();
  void SliderToolTipGivesTheReadingInThePilotsUnits_data();
  void SliderToolTipGivesTheReadingInThePilotsUnits();
  void OffWhileOffOnlyAsksToStop();
  void FlightBarGrowsTheWindowBelowTheForm();
  void FlightLogPutsTheSlidersAtItsFirstMoment_data();
  void FlightLogPutsTheSlidersAtItsFirstMoment();
  void StateOfAPersonsFlightNamesItsLogAndFliesOnFromIt();
  void RefusedLogLeavesTheFlightAsItWas_data();
  void RefusedLogLeavesTheFlightAsItWas();
  void WindowSpeaksTheSystemsLanguage_data();
  void WindowSpeaksTheSystemsLanguage();
  void FormWordsAreTranslatedAndFitTheirControls_data();
  void FormWordsAreTranslatedAndFitTheirControls();
};

namespace {

// Logs made for these tests: a climb to 6070 ft that lands after 16:40,
// and an IGC log of fixes alone, 300 m up, whose ground speed stands in.
constexpr const char* kClimbCsv =
    "time(s),altitude(ft),airspeed(mph)\n0,3000,0\n60,3000,60\n300,3000,80\n"
    "420,6070,90\n600,6070,85\n900,1000,70\n1000,450,0\n";
constexpr const char* kFixesIgc =
    "AXXX001 MADE FOR A TEST\nHFDTE150626\n"
    "B1400004610000N00730000EA0030000352\nB1400044610054N00730000EA0030000352\n"
    "B1400084610108N00730000EA0030000352\n";

QString WriteLog(const QTemporaryDir& folder, const QString& name, const char* text) {
  const QString path = folder.filePath(name);
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(text);
  return path;
}

// A drop on the LCD.
bool Drop(TForm1& form, const QList<QUrl>& urls) {
  return testing::Drop(form.Image1, urls);
}

// The count a profile's altitude is flown at with the power-on settings.
int AltitudeCount(double feet) {
  Instrument powerOn;
  LoadDefaultSettings(powerOn);
  LoadDefaultCalibration(powerOn);
  SettledReadings altitude;
  altitude.Update(powerOn, SliderKind::Altitude, ReadingOf::Profile, ReadingUnit::Feet);
  return static_cast<int>(altitude.Nearest(feet).count);
}

}  // namespace

void FormTest::WindowIsFixedSizeWithCaptionAndMinimiseOnly() {
  Instrument instrument;
  TForm1 form(instrument);
  QCOMPARE(form.windowTitle(), QStringLiteral("Tarvesk KVR-9"));
  QCOMPARE(form.size(), QSize(621, 404));
  QCOMPARE(form.minimumSize(), form.maximumSize());
  QVERIFY(form.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
  QVERIFY(!form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
  QVERIFY(form.session().Hosts(instrument));
}

// Labels size themselves to their caption: only their top left is stored.
void FormTest::ControlsLieWhereTheLayoutPutsThem_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QRect>("geometry");
  QTest::addColumn<QString>("caption");
  const auto row = [](const char* name, QRect geometry, const char* caption = "") {
    QTest::newRow(name) << QString::fromLatin1(name) << geometry << QString::fromLatin1(caption);
  };
  row("Image2", {0, 0, 336, 323});
  row("Shape1", {154, 16, 29, 29});
  row("Image3", {73, 240, 49, 49});
  row("Image5", {144, 252, 49, 49});
  row("Image6", {213, 240, 49, 49});
  row("Panel1", {39, 92, 259, 131});
  row("Image1", {1, 1, 257, 129});
  row("Button3", {96, 292, 59, 25}, "Clockwise");
  row("Button4", {181, 292, 75, 25}, "AntiClockwise");
  row("Button1", {24, 328, 129, 49}, "ON");
  row("Button2", {176, 328, 137, 49}, "OFF");
  row("Label2", {344, 16, 0, 0}, "Altitude");
  row("Label3", {392, 16, 0, 0}, "0");
  row("TrackBar2", {416, 8, 201, 33});
  row("Label1", {344, 48, 0, 0}, "Airspeed");
  row("Label13", {392, 48, 0, 0}, "0");
  row("TrackBar1", {416, 40, 201, 33});
  row("CheckBox2", {360, 80, 97, 17}, "Calibrate");
  row("CheckBox3", {472, 80, 97, 17}, "KeyFast");
  row("GroupBox1", {344, 100, 273, 285}, " Communication Window  ");
  row("Memo1", {2, 15, 269, 268});
  row("StatusBar1", {0, 385, 621, 19});
}

QString CaptionOf(const QWidget* control) {
  if (const auto* button = qobject_cast<const QAbstractButton*>(control)) return button->text();
  if (const auto* label = qobject_cast<const QLabel*>(control)) return label->text();
  if (const auto* box = qobject_cast<const QGroupBox*>(control)) return box->title();
  return {};
}

void FormTest::ControlsLieWhereTheLayoutPutsThem() {
  QFETCH(QString, name);
  QFETCH(QRect, geometry);
  QFETCH(QString, caption);
  Instrument instrument;
  TForm1 form(instrument);
  const auto* control = form.findChild<QWidget*>(name);
  QVERIFY2(control != nullptr, qPrintable(name));
  if (geometry.isEmpty()) {
    QCOMPARE(control->pos(), geometry.topLeft());
  } else {
    QCOMPARE(control->geometry(), geometry);
  }
  QCOMPARE(CaptionOf(control), caption);
}

void FormTest::SliderCaptionsEndBeforeTheirValues() {
  Instrument instrument;
  TForm1 form(instrument);
  QVERIFY(form.Label2->geometry().right() < form.Label3->x());
  QVERIFY(form.Label1->geometry().right() < form.Label13->x());
}

void FormTest::TabOrderFollowsTheLayout() {
  Instrument instrument;
  TForm1 form(instrument);
  const QWidget* expected[] = {form.Button1,   form.Button2,   form.TrackBar1,
                               form.CheckBox2, form.CheckBox3, form.TrackBar2,
                               form.Button3,   form.Button4,   form.Memo1};
  QWidget* widget = form.Button1;
  for (const QWidget* next : expected) {
    QCOMPARE(widget, next);
    do {
      widget = widget->nextInFocusChain();
    } while (!(widget->focusPolicy() & Qt::TabFocus));
  }
  QCOMPARE(widget, form.Button1);
}

void FormTest::StartsWithPictureRedLedZeroReadingsAndNoLcdSurface() {
  Instrument instrument;
  TForm1 form(instrument);
  QCOMPARE(form.Image2->pixmap().size(), QSize(371, 371));  // the face JPEG decoded
  QCOMPARE(form.Shape1->BrushColour(), QColor(255, 0, 0));
  QCOMPARE(form.TrackBar1->value(), 1);
  QCOMPARE(form.TrackBar2->value(), 1);
  QCOMPARE(form.TrackBar1->maximum(), 4096);
  QCOMPARE(instrument.state.airData.asiAdcRaw, 0);  // no handler ran for the stored position
  QCOMPARE(instrument.state.airData.altAdcRaw, 0);
  QVERIFY(!form.Image1->HasSurface());
  QVERIFY(form.Timer1->isActive());
  QCOMPARE(form.Timer1->interval(), 100);
  QVERIFY(form.Memo1->toPlainText().isEmpty());
}

void FormTest::ClickTargetStoresItsKeyOnlyWhileNoneIsPending_data() {
  QTest::addColumn<QString>("target");
  QTest::addColumn<int>("key");
  QTest::addColumn<QString>("other");
  QTest::newRow("F1 then F2 keeps F1")
      << QStringLiteral("Image3") << int{KeyF1} << QStringLiteral("Image6");
  QTest::newRow("F2 then F1 keeps F2")
      << QStringLiteral("Image6") << int{KeyF2} << QStringLiteral("Image3");
  QTest::newRow("knob press") << QStringLiteral("Image5") << int{KeyPress}
                              << QStringLiteral("Image3");
  QTest::newRow("clockwise") << QStringLiteral("Button3") << int{KeyClockwise}
                             << QStringLiteral("Image6");
  QTest::newRow("anticlockwise") << QStringLiteral("Button4") << int{KeyAntiClockwise}
                                 << QStringLiteral("Image5");
}

// The clicks go through the shown window, so they also prove that each
// target lies on top at its place.
void FormTest::ClickTargetStoresItsKeyOnlyWhileNoneIsPending() {
  QFETCH(QString, target);
  QFETCH(int, key);
  QFETCH(QString, other);
  Instrument instrument;
  TForm1 form(instrument);
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  auto* targetWidget = form.findChild<QWidget*>(target);
  auto* otherWidget = form.findChild<QWidget*>(other);

  QTest::mouseClick(targetWidget, Qt::LeftButton);
  QCOMPARE(int{instrument.state.ui.pendingKey}, key);
  QTest::mouseClick(otherWidget, Qt::LeftButton);
  QCOMPARE(int{instrument.state.ui.pendingKey}, key);  // dropped, not queued
  instrument.state.ui.pendingKey = KeyNone;            // the screen consumed it
  QTest::mouseClick(otherWidget, Qt::LeftButton);
  QVERIFY(instrument.state.ui.pendingKey != KeyNone);
  QVERIFY(int{instrument.state.ui.pendingKey} != key);
}

void FormTest::SliderSetsConverterReadingAndLabel_data() {
  QTest::addColumn<bool>("airspeed");
  QTest::addColumn<int>("position");
  QTest::addColumn<int>("expected");
  QTest::newRow("airspeed left end") << true << 0 << 0;
  QTest::newRow("airspeed middle") << true << 2048 << 2048;
  QTest::newRow("airspeed right end") << true << 4096 << 4096;
  QTest::newRow("airspeed beyond the end") << true << 5000 << 4096;
  QTest::newRow("altitude left end") << false << 0 << 0;
  QTest::newRow("altitude middle") << false << 1500 << 1500;
  QTest::newRow("altitude right end") << false << 4096 << 4096;
}

void FormTest::SliderSetsConverterReadingAndLabel() {
  QFETCH(bool, airspeed);
  QFETCH(int, position);
  QFETCH(int, expected);
  Instrument instrument;
  TForm1 form(instrument);
  QSlider* slider = airspeed ? form.TrackBar1 : form.TrackBar2;
  const QLabel* label = airspeed ? form.Label13 : form.Label3;
  const std::int32_t& moved =
      airspeed ? instrument.state.airData.asiAdcRaw : instrument.state.airData.altAdcRaw;
  const std::int32_t& untouched =
      airspeed ? instrument.state.airData.altAdcRaw : instrument.state.airData.asiAdcRaw;
  slider->setValue(position);
  QCOMPARE(moved, expected);
  QCOMPARE(label->text(), QString::number(expected));
  QVERIFY(label->width() >= label->fontMetrics().horizontalAdvance(label->text()));
  QCOMPARE(untouched, 0);
}

// Readings worked out from the channels' sample values: count 1000 reads
// 122 mph, 196 km/h, 106 knots (the filter, settled from rest, a count
// short, changes none of them); count 3000 reads 2666 ft, 812 m.
void FormTest::SliderToolTipGivesTheReadingInThePilotsUnits_data() {
  QTest::addColumn<bool>("airspeed");
  QTest::addColumn<bool>("poweredOn");
  QTest::addColumn<int>("unit");  // asiUnit or altUnit
  QTest::addColumn<int>("position");
  QTest::addColumn<QString>("tip");
  QTest::newRow("mph") << true << true << 0 << 1000
                       << "Airspeed converter: 1000 counts, about 122 mph";
  QTest::newRow("km/h") << true << true << 1 << 1000
                        << "Airspeed converter: 1000 counts, about 196 km/h";
  QTest::newRow("knots") << true << true << 2 << 1000
                         << "Airspeed converter: 1000 counts, about 106 knots";
  QTest::newRow("feet") << false << true << 0 << 3000
                        << "Altitude converter: 3000 counts, about 2666 ft";
  QTest::newRow("metres") << false << true << 1 << 3000
                          << "Altitude converter: 3000 counts, about 812 m";
  QTest::newRow("never powered on")
      << true << false << 0 << 1000 << "Airspeed converter: 1000 counts";
}

void FormTest::SliderToolTipGivesTheReadingInThePilotsUnits() {
  QFETCH(bool, airspeed);
  QFETCH(bool, poweredOn);
  QFETCH(int, unit);
  QFETCH(int, position);
  QFETCH(QString, tip);
  Instrument instrument;
  if (poweredOn) {
    LoadDefaultSettings(instrument);
    LoadDefaultCalibration(instrument);
  }
  (airspeed ? instrument.state.settings.asiUnit : instrument.state.settings.altUnit) =
      static_cast<std::uint8_t>(unit);
  TForm1 form(instrument);
  QSlider* slider = airspeed ? form.TrackBar1 : form.TrackBar2;
  slider->setValue(position);
  QCOMPARE(slider->toolTip(), tip);
  QCOMPARE((airspeed ? form.Label13 : form.Label3)->text(), QString::number(position));
}

void FormTest::OffWhileOffOnlyAsksToStop() {
  Instrument instrument;
  TForm1 form(instrument);
  instrument.state.ui.pendingKey = KeyF2;
  QTest::mouseClick(form.Button2, Qt::LeftButton);
  QCOMPARE(int{instrument.state.ui.stopRequested}, 1);
  QCOMPARE(int{instrument.state.ui.pendingKey}, int{KeyF2});
  QVERIFY(!IsRunning(instrument));
  QVERIFY(!instrument.restartRequested);
  QVERIFY(instrument.state.ui.currentScreen == nullptr);
  QVERIFY(!form.Image1->HasSurface());  // nothing was drawn
}

// The form keeps its stored layout; the bar lies below it and the window
// grows by the bar's height, and shrinks back when the bar closes.
void FormTest::FlightBarGrowsTheWindowBelowTheForm() {
  Instrument instrument;
  TForm1 form(instrument);
  QVERIFY(form.FlightBar == nullptr);
  form.PlayDemoFlightFromStart();
  QCOMPARE(form.size(), QSize(621, 404 + TForm1::kFlightBarHeight));
  QCOMPARE(form.minimumSize(), form.maximumSize());
  QCOMPARE(form.FlightBar->geometry(), QRect(0, 404, 621, TForm1::kFlightBarHeight));
  QCOMPARE(form.StatusBar1->geometry(), QRect(0, 385, 621, 19));
  QCOMPARE(form.GroupBox1->geometry(), QRect(344, 100, 273, 285));
  for (const QWidget* control : form.FlightBar->findChildren<QWidget*>()) {
    QVERIFY2(form.FlightBar->rect().contains(control->geometry()),
             qPrintable(control->objectName()));
  }
  form.FlightClose->click();
  QCOMPARE(form.size(), QSize(621, 404));
  QVERIFY(!form.IsFlightPlaying());

  // Near the screen's corner, growing by the flight bar and the lessons
  // keeps the window on the screen (as far as it fits there).
  form.show();
  const QRect room = form.screen()->availableGeometry();
  form.move(room.right() - 640, room.bottom() - 420);
  form.PlayDemoFlightFromStart();
  form.ShowLessons();
  const QRect frame = form.frameGeometry();
  QVERIFY(room.left() <= frame.left() && room.top() <= frame.top());
  QVERIFY(frame.width() > room.width() || frame.right() <= room.right());
  QVERIFY(frame.height() > room.height() || frame.bottom() <= room.bottom());
}

// Opened through the function the dialog calls, or dropped on the window:
// the sliders stand at the log's first moment at once, through their
// handlers (the converters and the session record follow), and the bar
// gives its name, its own summary and, for fixes alone, the pilot's note.
// The scrub bar moves it to any moment.
void FormTest::FlightLogPutsTheSlidersAtItsFirstMoment_data() {
  QTest::addColumn<bool>("dropped");
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("text");
  QTest::addColumn<double>("firstFeet");
  QTest::addColumn<QString>("nameLine");  // its start
  QTest::addColumn<bool>("groundSpeed");
  QTest::newRow("CSV opened") << false << "climb.csv" << kClimbCsv << 3000.0
                              << "climb.csv: Highest 6070 ft, fastest 90 mph, 16:40 long" << false;
  QTest::newRow("CSV dropped") << true << "climb.csv" << kClimbCsv << 3000.0
                               << "climb.csv: Highest 6070 ft, fastest 90 mph, 16:40 long" << false;
  QTest::newRow("IGC of fixes dropped")
      << true << "fixes.igc" << kFixesIgc << 300 / 0.3048 << "fixes.igc: Highest 984 ft" << true;
}

// A state saved while flying a person's log names the log when it is
// opened, and the log, opened again, flies on from the state's moment. The
// status bar's word on the state goes with the person's next hand on the
// panel.
void FormTest::StateOfAPersonsFlightNamesItsLogAndFliesOnFromIt() {
  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  const QString log = WriteLog(folder, QStringLiteral("climb.csv"), kClimbCsv);
  const QString state = folder.filePath(QStringLiteral("climbing.json"));
  Instrument instrument;
  TForm1 form(instrument);
  QVERIFY(form.OpenFlightLog(log));
  form.MoveFlightTo(420);
  QVERIFY(form.SaveState(state));
  const SnapshotReadResult saved = ReadSnapshotFile(state.toStdString());
  QVERIFY(saved.ok && saved.snapshot.flight);

  Instrument other;
  TForm1 opened(other);
  QVERIFY(opened.OpenState(state));
  QCOMPARE(opened.StatusBar1->currentMessage(),
           QStringLiteral("State opened from climbing.json; it was flying climb.csv: open that "
                          "log to fly on from here"));
  QVERIFY(opened.OpenFlightLog(log));
  QVERIFY(opened.StatusBar1->currentMessage().isEmpty());
  const QString again = folder.filePath(QStringLiteral("again.json"));
  QVERIFY(opened.SaveState(again));
  const SnapshotReadResult resumed = ReadSnapshotFile(again.toStdString());
  QVERIFY(resumed.ok && resumed.snapshot.flight);
  QVERIFY(*resumed.snapshot.flight == *saved.snapshot.flight);

  QVERIFY(opened.OpenState(state));
  QVERIFY(!opened.StatusBar1->currentMessage().isEmpty());
  opened.CheckBox3->click();
  QVERIFY(opened.StatusBar1->currentMessage().isEmpty());
}

void FormTest::FlightLogPutsTheSlidersAtItsFirstMoment() {
  QFETCH(bool, dropped);
  QFETCH(QString, name);
  QFETCH(QString, text);
  QFETCH(double, firstFeet);
  QFETCH(QString, nameLine);
  QFETCH(bool, groundSpeed);
  QTemporaryDir folder;
  const QString path = WriteLog(folder, name, qPrintable(text));
  Instrument instrument;
  TForm1 form(instrument);
  if (dropped) {
    QVERIFY(Drop(form, {QUrl::fromLocalFile(path)}));
  } else {
    QVERIFY(form.OpenFlightLog(path));
  }
  const int count = AltitudeCount(firstFeet);
  QCOMPARE(form.TrackBar2->value(), count);
  QCOMPARE(instrument.state.airData.altAdcRaw, count);
  QCOMPARE(form.Label3->text(), QString::number(count));
  QVERIFY(form.FlightName->text().startsWith(nameLine));
  QCOMPARE(form.FlightTime->text().left(7), QStringLiteral("0:00 / "));
  // Said once, in plain words, then what the bar offers.
  const QString pilotNote =
      QString::fromStdString(PilotNote(ProfileReadResult{{}, {}, {}, true})) + '\n';
  QCOMPARE(form.FlightNote->text(),
           (groundSpeed ? pilotNote : QString()) + QString::fromLatin1(kSwitchOnToFlyNote));
  QVERIFY(!form.IsFlightPlaying());
  form.CopySessionAsScenario();
  QVERIFY(QApplication::clipboard()->text().contains(
      QStringLiteral("slider altitude %1\n").arg(count)));
  if (groundSpeed) return;
  form.FlightSpeed->button(64)->click();  // the bar shows where the sliders stand
  form.FlightScrub->setValue(420);
  QCOMPARE(form.TrackBar2->value(), AltitudeCount(6070));
  QCOMPARE(form.FlightTime->text(), QStringLiteral("7:00 / 16:40"));
  QCOMPARE(form.FlightNow->text(), QStringLiteral("6070 ft, 90 mph"));
  // A saved state keeps the speed, for the log opened after it.
  const QString state = folder.filePath(QStringLiteral("state.json"));
  QVERIFY(form.SaveState(state));
  form.FlightSpeed->button(1)->click();
  QVERIFY(form.OpenState(state));
  QVERIFY(form.OpenFlightLog(path));
  QCOMPARE(form.FlightSpeed->checkedId(), 64);
}

// A log that cannot be read leaves the flight, the sliders and the record
// as they were, and the bar gives the reader's one-line message, naming the
// file by its name. A drop of anything but one file is refused as it enters.
void FormTest::RefusedLogLeavesTheFlightAsItWas_data() {
  QTest::addColumn<QString>("way");  // "open", "drop" or "drop two"
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("message");  // its start; empty: nothing said
  QTest::newRow("a bad line opened") << "open"
                                     << "broken.csv"
                                     << "broken.csv:3: ";
  QTest::newRow("a bad line dropped") << "drop"
                                      << "broken.csv"
                                      << "broken.csv:3: ";
  QTest::newRow("a missing file opened") << "open"
                                         << "missing.csv"
                                         << "missing.csv: cannot be opened";
  QTest::newRow("a folder dropped") << "drop"
                                    << ""
                                    << "";
  QTest::newRow("two files dropped") << "drop two"
                                     << "broken.csv"
                                     << "";
  QTest::newRow("a web address dropped") << "drop web"
                                         << "broken.csv"
                                         << "";
}

void FormTest::RefusedLogLeavesTheFlightAsItWas() {
  QFETCH(QString, way);
  QFETCH(QString, name);
  QFETCH(QString, message);
  QTemporaryDir folder;
  const QString good = WriteLog(folder, QStringLiteral("climb.csv"), kClimbCsv);
  WriteLog(folder, QStringLiteral("broken.csv"),
           "time(s),altitude(ft),airspeed(mph)\n0,450,0\n5,x,1\n");
  const QString path = name.isEmpty() ? folder.path() : folder.filePath(name);
  Instrument instrument;
  TForm1 form(instrument);
  QVERIFY(form.OpenFlightLog(good));
  form.FlightScrub->setValue(420);
  form.CopySessionAsScenario();
  const QString record = QApplication::clipboard()->text().section(QLatin1Char('\n'), 2);
  const QString nameLine = form.FlightName->text();
  const int altitude = form.TrackBar2->value();
  const QString note = form.FlightNote->text();

  if (way == QStringLiteral("open")) {
    QVERIFY(!form.OpenFlightLog(path));
  } else if (way == QStringLiteral("drop")) {
    QVERIFY(Drop(form, {QUrl::fromLocalFile(path)}));
  } else if (way == QStringLiteral("drop two")) {
    QVERIFY(!Drop(form, {QUrl::fromLocalFile(path), QUrl::fromLocalFile(good)}));
  } else {
    QVERIFY(!Drop(form, {QUrl(QStringLiteral("https://example.org/climb.csv"))}));
  }
  QCOMPARE(form.FlightName->text(), nameLine);
  QCOMPARE(form.TrackBar2->value(), altitude);
  QCOMPARE(form.FlightTime->text(), QStringLiteral("7:00 / 16:40"));
  form.CopySessionAsScenario();
  QCOMPARE(QApplication::clipboard()->text().section(QLatin1Char('\n'), 2), record);
  if (!message.isEmpty()) {
    QVERIFY2(form.FlightNote->text().startsWith(message), qPrintable(form.FlightNote->text()));
    QVERIFY(!form.FlightNote->text().section(QLatin1Char('\n'), 0, 0).contains(folder.path()));
  } else if (!name.isEmpty()) {
    QCOMPARE(form.FlightNote->text(), note);
  } else {
    QVERIFY2(form.FlightNote->text().contains(QStringLiteral("folder")),
             qPrintable(form.FlightNote->text()));
  }
}

// The page's words for the same controls (web/texts.js); the built-in
// lessons in the language where they have a translation.
void FormTest::WindowSpeaksTheSystemsLanguage_data() {
  QTest::addColumn<QString>("locale");
  QTest::addColumn<QStringList>("words");
  QTest::addColumn<QString>("lessons");
  QTest::addColumn<QString>("stepLine");
  // Button3, Label1, GroupBox1, the LCD menu's first entry, "Fly", "Open
  // lesson file...", "Copy solution", and Qt's "Cancel".
  QTest::newRow("English") << "en_GB"
                           << QStringList{"Clockwise",        "Airspeed", " Communication Window  ",
                                          "Copy LCD picture", "Fly",      "Open lesson file...",
                                          "Copy solution",    "Cancel"}
                           << ""
                           << "Step %1 of %2";
  QTest::newRow("German, Austria")
      << "de_AT" << QStringList{"Rechts",          "Fahrt",
                                " Datenfenster ",  "LCD-Bild kopieren",
                                "Fliegen",         "Lektionsdatei öffnen...",
                                "Lösung kopieren", "Abbrechen"}
      << "de/"
      << "Schritt %1 von %2";
  QTest::newRow("French") << "fr_FR"
                          << QStringList{"Horaire",
                                         "Vitesse",
                                         " Fenêtre de données ",
                                         "Copier l'image du LCD",
                                         "Voler",
                                         "Ouvrir un fichier de leçon...",
                                         "Copier la solution",
                                         "Annuler"}
                          << "fr/"
                          << "Étape %1 sur %2";
  QTest::newRow("Italian, not spoken") << "it_IT" << QStringList{"Clockwise", "Airspeed"} << ""
                                       << "Step %1 of %2";
}

void FormTest::WindowSpeaksTheSystemsLanguage() {
  QFETCH(QString, locale);
  QFETCH(QStringList, words);
  QFETCH(QString, lessons);
  QFETCH(QString, stepLine);
  const auto translators = WindowTranslators(QLocale(locale));
  QCOMPARE(translators.size(), lessons.isEmpty() ? 0U : 2U);
  for (const auto& translator : translators) QCoreApplication::installTranslator(translator.get());
  Instrument instrument;
  TForm1 form(instrument);
  form.PlayDemoFlightFromStart();
  form.ShowLessons();
  const QString shown[] = {form.Button3->text(), form.Label1->text(), form.GroupBox1->title(),
                           form.lcdMenu_->actions().front()->text(), form.FlightPlay->text(),
                           form.LessonOpen->text(), form.LessonCopyWay->text(),
                           // Qt's own, a file dialog's button
                           QCoreApplication::translate("QPlatformTheme", "Cancel")};
  for (qsizetype i = 0; i < words.size(); ++i) QCOMPARE(shown[i], words[i]);

  QFile first(QStringLiteral(KVR9_LESSONS_DIR "/") + lessons +
              QStringLiteral("01-switching-on.lesson"));
  QVERIFY(first.open(QIODevice::ReadOnly | QIODevice::Text));
  const QString text = QString::fromUtf8(first.readAll());
  const QString title =
      text.section(QStringLiteral("\ntitle "), 1).section(QLatin1Char('\n'), 0, 0);
  QCOMPARE(form.LessonList->item(0)->text(), title);
  // The panel's own lines in the same language, the lesson's words aside.
  form.StartListedLesson(0);
  form.UpdateLessonPanel();
  QCOMPARE(form.LessonStepNo->text(), stepLine.arg(1).arg(text.count(QStringLiteral("\nstep "))));
}

// Every word of the form's table has its translation, and each caption
// translated fits its control in the form's font as the English one does.
void FormTest::FormWordsAreTranslatedAndFitTheirControls_data() {
  QTest::addColumn<QString>("locale");
  QTest::newRow("English") << "en_GB";
  QTest::newRow("German") << "de_DE";
  QTest::newRow("French") << "fr_FR";
}

void FormTest::FormWordsAreTranslatedAndFitTheirControls() {
  QFETCH(QString, locale);
  const auto translators = WindowTranslators(QLocale(locale));
  if (!translators.empty()) {
    const std::unique_ptr<QTranslator>& translator = translators.front();
    QCoreApplication::installTranslator(translator.get());
    bool number = false;
    for (const FormControl& control : FormControls()) {
      for (const char* word : {control.caption, control.tooltip, control.accessibleName}) {
        if (word == nullptr || (QString::fromLatin1(word).toInt(&number), number)) continue;
        QVERIFY2(!translator->translate("Window", word).isEmpty(), word);
      }
    }
  }
  Instrument instrument;
  TForm1 form(instrument);
  QVERIFY(form.Label2->geometry().right() < form.Label3->x());
  QVERIFY(form.Label1->geometry().right() < form.Label13->x());
  for (const QPushButton* button : {form.Button1, form.Button2, form.Button3, form.Button4}) {
    // "AntiClockwise" leaves 3 pixels each side.
    QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) + 6 <= button->width(),
             qPrintable(button->text()));
  }
  for (const QCheckBox* box : {form.CheckBox2, form.CheckBox3}) {
    QVERIFY2(box->sizeHint().width() <= box->width(), qPrintable(box->text()));
  }
  QVERIFY(form.GroupBox1->fontMetrics().horizontalAdvance(form.GroupBox1->title()) + 16 <=
          form.GroupBox1->width());
}

}  // namespace kvr9

QTEST_MAIN(kvr9::FormTest)
#include "form_test.moc"
