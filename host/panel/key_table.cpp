#include "host/panel/key_table.h"

namespace kvr9 {

const std::array<InstrumentKey, 5>& InstrumentKeys() {
  static constexpr std::array<InstrumentKey, 5> kKeys = {{
      {KeyPress, "press", "F3", "Knob: press"},
      {KeyClockwise, "cw", "+", "Knob: turn clockwise"},
      {KeyAntiClockwise, "ccw", "-", "Knob: turn anticlockwise"},
      {KeyF1, "f1", "F1", "F1 key (up arrow)"},
      {KeyF2, "f2", "F2", "F2 key (down arrow)"},
  }};
  return kKeys;
}

const InstrumentKey* KeyByWord(std::string_view word) {
  for (const InstrumentKey& key : InstrumentKeys()) {
    if (word == key.word) return &key;
  }
  return nullptr;
}

const InstrumentKey* KeyByKeyboard(std::string_view keyboard) {
  for (const InstrumentKey& key : InstrumentKeys()) {
    if (keyboard == key.keyboard) return &key;
  }
  return nullptr;
}

const InstrumentKey* KeyByEvent(KeyEvent event) {
  for (const InstrumentKey& key : InstrumentKeys()) {
    if (event == key.key) return &key;
  }
  return nullptr;
}

std::string KeyboardHelpText() {
  const auto keyboard = [](KeyEvent event) { return std::string(KeyByEvent(event)->keyboard); };
  return keyboard(KeyF1) + " and " + keyboard(KeyF2) + " are the keys, " + keyboard(KeyClockwise) +
         " and " + keyboard(KeyAntiClockwise) + " turn the knob, " + keyboard(KeyPress) +
         " presses it";
}

}  // namespace kvr9
