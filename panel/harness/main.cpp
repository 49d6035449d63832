// kvr9-panel-harness: the simulator's window with switches for
// demonstrations, screenshots, measurements and the program-level test.
// Not installed; the simulator a person uses has none of them.
//   --on                      clicks "ON" once the event loop runs
//   --close-after MS          closes the window after MS milliseconds
//   --screenshot FILE.png     saves the window's picture, then closes it,
//   --screenshot-after MS     MS milliseconds after the start (default 10000,
//                             past the splash)
//   --open-log FILE           opens a flight log as the dialog would
//   --fly                     clicks the flight bar's "Fly" once the event
//                             loop runs (with --open-log)
//   --flight-speed N          clicks the flight bar's xN (with --open-log)
//   --lesson FILE             opens the lessons and follows a lesson file
//                             as the menu would
//   --report-first-paint      prints "first paint at <ms since the epoch>"
//                             to stderr when the window first paints
#include <QAbstractButton>
#include <QButtonGroup>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QEvent>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "panel/pcmain.h"
#include "panel/run_simulator.h"

namespace {

constexpr int kDefaultScreenshotDelayMs = 10000;

struct Switches {
  bool on = false;
  std::optional<int> closeAfterMs;
  QString screenshot;
  int screenshotAfterMs = kDefaultScreenshotDelayMs;
  bool reportFirstPaint = false;
  QString openLog;
  bool fly = false;
  int flightSpeed = 0;
  QString lesson;
};

class FirstPaintReporter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      std::fprintf(stderr, "first paint at %lld\n",
                   static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
      watched->removeEventFilter(this);
    }
    return false;
  }
};

std::optional<int> Milliseconds(const QCommandLineParser& parser, const QString& name) {
  bool valid = false;
  const int value = parser.value(name).toInt(&valid);
  if (!valid || value < 0) return std::nullopt;
  return value;
}

// Read before the application exists; Qt takes its own settings from the
// environment here (QT_QPA_PLATFORM=offscreen and the like).
std::optional<Switches> ReadSwitches(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("The KVR-9 simulator window with test switches"));
  parser.addHelpOption();
  parser.addOptions({
      {QStringLiteral("on"), QStringLiteral("Click ON once the window is up.")},
      {QStringLiteral("close-after"), QStringLiteral("Close the window after MS ms."),
       QStringLiteral("MS")},
      {QStringLiteral("screenshot"), QStringLiteral("Save the window's picture, then close it."),
       QStringLiteral("FILE.png")},
      {QStringLiteral("screenshot-after"),
       QStringLiteral("When to take the screenshot, in ms (default 10000)."), QStringLiteral("MS")},
      {QStringLiteral("report-first-paint"),
       QStringLiteral("Print the wall-clock time of the first paint to stderr.")},
      {QStringLiteral("open-log"), QStringLiteral("Open a flight log as the dialog would."),
       QStringLiteral("FILE")},
      {QStringLiteral("fly"), QStringLiteral("Click the flight bar's Fly once the window is up.")},
      {QStringLiteral("flight-speed"), QStringLiteral("Click the flight bar's xN."),
       QStringLiteral("N")},
      {QStringLiteral("lesson"), QStringLiteral("Follow a lesson file as the menu would."),
       QStringLiteral("FILE")},
  });
  if (!parser.parse(arguments)) {
    std::fprintf(stderr, "kvr9-panel-harness: %s\n", qPrintable(parser.errorText()));
    return std::nullopt;
  }
  if (parser.isSet(QStringLiteral("help"))) {
    std::printf("%s", qPrintable(parser.helpText()));
    std::exit(EXIT_SUCCESS);
  }
  Switches switches;
  switches.on = parser.isSet(QStringLiteral("on"));
  switches.reportFirstPaint = parser.isSet(QStringLiteral("report-first-paint"));
  switches.screenshot = parser.value(QStringLiteral("screenshot"));
  switches.openLog = parser.value(QStringLiteral("open-log"));
  switches.fly = parser.isSet(QStringLiteral("fly"));
  switches.flightSpeed = parser.value(QStringLiteral("flight-speed")).toInt();
  switches.lesson = parser.value(QStringLiteral("lesson"));
  for (const QString& name : {QStringLiteral("close-after"), QStringLiteral("screenshot-after")}) {
    if (!parser.isSet(name)) continue;
    const std::optional<int> ms = Milliseconds(parser, name);
    if (!ms) {
      std::fprintf(stderr, "kvr9-panel-harness: --%s needs milliseconds\n", qPrintable(name));
      return std::nullopt;
    }
    if (name == QStringLiteral("close-after")) {
      switches.closeAfterMs = ms;
    } else {
      switches.screenshotAfterMs = *ms;
    }
  }
  return switches;
}

void SaveScreenshotAndClose(kvr9::TForm1& form, const QString& path) {
  if (!form.grab().save(path, "PNG")) {
    std::fprintf(stderr, "kvr9-panel-harness: could not save %s\n", qPrintable(path));
  }
  form.close();
}

void Install(const Switches& switches, kvr9::TForm1& form) {
  if (switches.reportFirstPaint) form.installEventFilter(new FirstPaintReporter(&form));
  if (!switches.openLog.isEmpty() && !form.OpenFlightLog(switches.openLog)) {
    std::fprintf(stderr, "kvr9-panel-harness: %s was refused\n", qPrintable(switches.openLog));
  }
  if (form.FlightSpeed != nullptr && form.FlightSpeed->button(switches.flightSpeed) != nullptr) {
    form.FlightSpeed->button(switches.flightSpeed)->click();
  }
  if (switches.fly && form.FlightPlay != nullptr) {
    QTimer::singleShot(0, form.FlightPlay, &QPushButton::click);
  }
  if (!switches.lesson.isEmpty()) {
    form.ShowLessons();
    if (!form.OpenLessonFile(switches.lesson)) {
      std::fprintf(stderr, "kvr9-panel-harness: %s was refused\n", qPrintable(switches.lesson));
    }
  }
  if (switches.on) QTimer::singleShot(0, form.Button1, &QPushButton::click);
  if (switches.closeAfterMs) QTimer::singleShot(*switches.closeAfterMs, &form, &QWidget::close);
  if (!switches.screenshot.isEmpty()) {
    const QString path = switches.screenshot;
    QTimer::singleShot(switches.screenshotAfterMs, &form,
                       [&form, path] { SaveScreenshotAndClose(form, path); });
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  const std::optional<Switches> switches = ReadSwitches(argc, argv);
  if (!switches) return 2;
  return kvr9::RunSimulator(argc, argv, [&](kvr9::TForm1& form) { Install(*switches, form); });
}
