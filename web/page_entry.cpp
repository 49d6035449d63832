// The instrument of the page and the entry points of its handlers. Each
// handler stores what the window's handler of the same control stores.
#include <emscripten.h>

#include <cstdint>

#include "core/instrument.h"
#include "web/web_panel.h"

namespace {

struct Page {
  kvr9::web::WebPanel panel;
  kvr9::Instrument instrument;
  Page() { instrument.host = &panel; }
};

kvr9::Instrument& PageInstrument() {
  static Page page;
  return page.instrument;
}

kvr9::KeyEvent KeyFromPage(int key) {
  switch (key) {
    case kvr9::KeyPress:
    case kvr9::KeyClockwise:
    case kvr9::KeyAntiClockwise:
    case kvr9::KeyF1:
    case kvr9::KeyF2:
      return static_cast<kvr9::KeyEvent>(key);
    default:
      return kvr9::KeyNone;
  }
}

std::int32_t ConverterReading(int position) {
  constexpr int kConverterMax = 4096;
  if (position < 0) return 0;
  return position > kConverterMax ? kConverterMax : position;
}

}  // namespace

extern "C" {

// "ON": runs the power cycle and returns when it stops (the page calls it
// asynchronously, as it sleeps between passes); while the instrument runs it
// only asks the loop to start over.
EMSCRIPTEN_KEEPALIVE void kvr9_on() {
  kvr9::RequestPowerOn(PageInstrument());
}

EMSCRIPTEN_KEEPALIVE void kvr9_off() {
  kvr9::RequestStop(PageInstrument());
}

EMSCRIPTEN_KEEPALIVE int kvr9_is_running() {
  return kvr9::IsRunning(PageInstrument()) ? 1 : 0;
}

// A key is kept only while none is pending.
EMSCRIPTEN_KEEPALIVE void kvr9_store_key(int key) {
  const kvr9::KeyEvent event = KeyFromPage(key);
  if (event != kvr9::KeyNone) kvr9::StoreKey(PageInstrument(), event);
}

EMSCRIPTEN_KEEPALIVE void kvr9_set_altitude_converter(int position) {
  PageInstrument().state.airData.altAdcRaw = ConverterReading(position);
}

EMSCRIPTEN_KEEPALIVE void kvr9_set_airspeed_converter(int position) {
  PageInstrument().state.airData.asiAdcRaw = ConverterReading(position);
}

EMSCRIPTEN_KEEPALIVE void kvr9_timer_tick() {
  kvr9::OnTimerTick(PageInstrument());
}

}  // extern "C"
