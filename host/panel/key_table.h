// The instrument's keys as every front end names them: the word a scenario
// uses, the keyboard key that works it in the window and the page
// (KeyboardEvent.key, and Qt's key name), and what it is on the panel.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/instrument.h"

namespace kvr9 {

struct InstrumentKey {
  KeyEvent key;
  const char* word;      // "f1"
  const char* keyboard;  // "F1"; keys no control of the form uses
  const char* control;   // "F1 key (up arrow)"
};

const std::array<InstrumentKey, 5>& InstrumentKeys();

// nullptr when no key has that word or keyboard key.
const InstrumentKey* KeyByWord(std::string_view word);
const InstrumentKey* KeyByKeyboard(std::string_view keyboard);
const InstrumentKey* KeyByEvent(KeyEvent key);

// The keyboard keys in a sentence, as a help text gives them: "F1 and F2 are
// the keys, + and - turn the knob, F3 presses it".
std::string KeyboardHelpText();

}  // namespace kvr9
