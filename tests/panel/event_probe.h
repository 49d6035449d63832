// Helpers for driving the running window from inside its own event
// processing, for the window's tests.
#pragma once

#include <QCoreApplication>
#include <QDropEvent>
#include <QEvent>
#include <QEventLoop>
#include <QList>
#include <QMimeData>
#include <QObject>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <functional>

#include "core/instrument.h"

namespace kvr9::testing {

// Runs a step in every round of event processing (a zero timer fires once a
// round; unpaced, the window's pass timer fires once a round too), until it
// returns false.
class Probe : public QObject {
 public:
  explicit Probe(std::function<bool()> step) : step_(std::move(step)) {
    connect(&timer_, &QTimer::timeout, this, [this] {
      if (!step_()) timer_.stop();
    });
    timer_.start(0);
  }

 private:
  std::function<bool()> step_;
  QTimer timer_;
};

// Lets the window run the switched-on instrument until it is off, as a
// person's session goes on after the click on "ON".
inline void RunWhileOn(const Instrument& instrument) {
  QEventLoop loop;
  QTimer check;
  QObject::connect(&check, &QTimer::timeout, [&] {
    if (!IsRunning(instrument)) loop.quit();
  });
  check.start(0);
  loop.exec();
}

// A drop on a widget, which Qt hands on to the first of its parents that
// takes drops: entered, then let go; false when it is refused as it enters.
inline bool Drop(QWidget* target, const QList<QUrl>& urls) {
  QMimeData data;
  data.setUrls(urls);
  QDragEnterEvent enter(QPoint(100, 60), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(QPointF(100, 60), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &drop);
  return true;
}

// Counts the events of one type that reach a widget.
class EventCounter : public QObject {
 public:
  EventCounter(QObject* watched, QEvent::Type type, int& count) : type_(type), count_(count) {
    watched->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() == type_) ++count_;
    return false;
  }

 private:
  QEvent::Type type_;
  int& count_;
};

// Stops a loop that a failing test would leave running, and says so.
class GiveUpTimer {
 public:
  GiveUpTimer(Instrument& instrument, int giveUpMs) {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [this, &instrument] {
      fired = true;
      RequestStop(instrument);
      QCoreApplication::exit(2);
    });
    timer_.start(giveUpMs);
  }
  bool fired = false;

 private:
  QTimer timer_;
};

}  // namespace kvr9::testing
