// Drives one setup screen through real main-loop passes and tells apart the
// hooks the screen called from those the loop calls on every pass.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/instrument.h"
#include "lcd/text.h"
#include "support/fake_host.h"
#include "support/golden.h"
#include "support/ink_runs.h"

namespace kvr9::testing {

class SetupScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartOnMainDisplay(instrument);
    hooks.calls.clear();
  }

  void Open(ScreenHandler screen, std::uint8_t cursor = 0, std::uint8_t editing = 0) {
    ui().currentScreen = screen;
    ui().cursor = cursor;
    ui().editing = editing;
  }

  // One pass with the key pending; returns the hooks the screen called. The
  // loop's own hooks end with the alarm output, just before the screen runs.
  std::vector<std::string> Pass(KeyEvent key) {
    hooks.calls.clear();
    PassWithKey(instrument, key);
    const auto loopEnd =
        std::find_if(hooks.calls.rbegin(), hooks.calls.rend(),
                     [](const std::string& call) { return call.rfind("AlarmOutput", 0) == 0; });
    return {loopEnd.base(), hooks.calls.end()};
  }

  const FrameBuffer& Frame() const { return host.frames.back(); }
  UiState& ui() { return instrument.state.ui; }
  Settings& settings() { return instrument.state.settings; }
  AirData& air() { return instrument.state.airData; }

  Instrument instrument;
  FakeHost host{instrument};
  HookRecorder hooks{instrument};
};

// Names parameterised cases after their "name" field.
struct CaseName {
  template <class Case>
  std::string operator()(const ::testing::TestParamInfo<Case>& caseInfo) const {
    return caseInfo.param.name;
  }
};

// The dots of an area of the frame, as text art.
inline std::string Area(const FrameBuffer& frame, int x, int y, int width, int height) {
  std::string art;
  for (int row = y; row < y + height; ++row) {
    for (int col = x; col < x + width; ++col) {
      art += GetPixel(frame, static_cast<std::uint8_t>(col), static_cast<std::uint8_t>(row)) != 0
                 ? '#'
                 : '.';
    }
    art += '\n';
  }
  return art;
}

// The cells of an 8x8-font text at (x, y) as it would look drawn alone, so a
// test can read one formatted value off a frame.
inline std::string TextCells(int x, int y, const char* text, std::uint8_t inverse = 0) {
  FrameBuffer alone{};
  DrawText8(alone, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), text, 0, PixelSet,
            inverse);
  return Area(alone, x, y, 8 * static_cast<int>(std::char_traits<char>::length(text)), 8);
}

inline std::string FrameCells(const FrameBuffer& frame, int x, int y, const char* text) {
  return Area(frame, x, y, 8 * static_cast<int>(std::char_traits<char>::length(text)), 8);
}

}  // namespace kvr9::testing
