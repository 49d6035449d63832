// Developer hooks for demonstrations, screenshots, measurements and the
// end-to-end test, switched on by environment variables; without them the
// program behaves as a person uses it.
//   KVR9_AUTO_ON=1                 clicks "ON" once the window is up
//   KVR9_AUTO_CLOSE_MS=n           closes the window after n ms
//   KVR9_SCREENSHOT=file.png       saves the window's picture and closes it,
//   KVR9_SCREENSHOT_AFTER_MS=n     after n ms (default 10000, past the splash)
//   KVR9_REPORT_FIRST_PAINT=1      prints the wall-clock time of the window's
//                                  first paint (ms since the epoch) to stderr
#pragma once

namespace kvr9 {

class TForm1;

void InstallDemoHooks(TForm1& form);

}  // namespace kvr9
