// How the window runs the instrument: the controller's timer steps the rig
// a pass at a time, every kPassPeriodMs paced or back to back unpaced, and
// Qt's own event loop delivers the window's events between the passes; and
// how closing the window switches a running instrument off.
#include <QCloseEvent>

#include "panel/panel_widgets.h"
#include "panel/pcmain.h"

namespace kvr9 {

// What the firmware's wait for events used to do as a pass ended: the LCD
// is read as text for a new frame, once it has been presented, and what
// the main loop hid while drawing is shown again.
void TForm1::PassEnded() {
  if (lcdDescriptionStale_) {
    lcdDescriptionStale_ = false;
    DescribeLcd();
  }
  Image1->ShowVisibilityChange();
  UpdateSliderToolTips();
}

// Closing the window while the instrument runs switches it off: its passes
// run back to back until it is (a stop during the splash is asked again at
// every pass); the program ends once the window has closed.
void TForm1::closeEvent(QCloseEvent* event) {
  rig().RunUntilOff();
  event->accept();
}

}  // namespace kvr9
