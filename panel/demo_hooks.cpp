#include "panel/demo_hooks.h"

#include <QDateTime>
#include <QEvent>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "panel/pcmain.h"

namespace kvr9 {

namespace {

constexpr int kDefaultScreenshotDelayMs = 10000;

bool IsSet(const char* name) {
  return !qEnvironmentVariableIsEmpty(name);
}

int DelayFrom(const char* name, int fallback) {
  bool valid = false;
  const int delay = qEnvironmentVariableIntValue(name, &valid);
  return valid ? delay : fallback;
}

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

void SaveScreenshotAndClose(TForm1& form, const QString& path) {
  if (!form.grab().save(path, "PNG")) {
    std::fprintf(stderr, "could not save %s\n", qPrintable(path));
  }
  form.close();
}

}  // namespace

void InstallDemoHooks(TForm1& form) {
  if (IsSet("KVR9_REPORT_FIRST_PAINT")) form.installEventFilter(new FirstPaintReporter(&form));
  if (IsSet("KVR9_AUTO_ON")) QTimer::singleShot(0, form.Button1, &QPushButton::click);
  if (IsSet("KVR9_AUTO_CLOSE_MS")) {
    QTimer::singleShot(DelayFrom("KVR9_AUTO_CLOSE_MS", 0), &form, &QWidget::close);
  }
  if (IsSet("KVR9_SCREENSHOT")) {
    const QString path = qEnvironmentVariable("KVR9_SCREENSHOT");
    QTimer::singleShot(DelayFrom("KVR9_SCREENSHOT_AFTER_MS", kDefaultScreenshotDelayMs), &form,
                       [&form, path] { SaveScreenshotAndClose(form, path); });
  }
}

}  // namespace kvr9
