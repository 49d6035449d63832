// How the running instrument hands the thread back to the window: every
// pass lets the waiting events through and, paced, lasts its 100 ms; and
// how closing the window switches a running instrument off.
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include "panel/panel_widgets.h"
#include "panel/pcmain.h"

namespace kvr9 {

// Lets every waiting event through, then, with pacing on, goes on serving
// events as they come until the pass has lasted kPassPeriodMs. Unpaced, the
// instrument's loop would spin a core at thousands of passes a second.
void TForm1::ProcessPendingEvents() {
  inputs_.EventsBegin();
  if (lcdDescriptionStale_) {
    lcdDescriptionStale_ = false;
    DescribeLcd(shownFrame_);
  }
  Image1->ShowVisibilityChange();
  QCoreApplication::processEvents();
  // Once the window is gone the instrument stops without waiting.
  if (paced_ && !inputs_.StopIsWanted()) WaitForRestOfPass();
  passClock_.start();
  PlayFlightPass();
  UpdateSliderToolTips();
  inputs_.EventsEnd();
}

void TForm1::WaitForRestOfPass() {
  if (!passClock_.isValid()) return;
  const qint64 remaining = kPassPeriodMs - passClock_.elapsed();
  if (remaining <= 0) return;
  QEventLoop wait;
  QTimer::singleShot(static_cast<int>(remaining), Qt::PreciseTimer, &wait, &QEventLoop::quit);
  wait.exec();
}

// Closing the window while the instrument runs switches it off; the program
// ends once the loop has stopped and control is back in the application.
void TForm1::closeEvent(QCloseEvent* event) {
  if (IsRunning(instrument_)) inputs_.StopAtFirstChance();
  event->accept();
}

}  // namespace kvr9
