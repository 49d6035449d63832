// The airspeed setup list, the sensor zero page, calibration and the raw
// converter readings.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "core/limits.h"
#include "lcd/text.h"
#include "screens/framework.h"
#include "screens/screen_rows.h"
#include "screens/screen_table.h"
#include "screens/screens.h"

namespace kvr9 {

namespace {

constexpr std::uint8_t kZeroRow = 1;
constexpr std::uint8_t kFirstSettingRow = 2;
constexpr std::uint8_t kAsiLastRow = kAsiSetupLastRow;

enum AsiRow : std::uint8_t {
  RowAsiDisplay = 2,
  RowLowAlarmOn = 3,
  RowLowAlarmSpeed = 4,
  RowHighAlarmOn = 5,
  RowHighAlarmSpeed = 6,
  RowAsiUnit = 7,
  RowAsiFilter = 8,
  RowDistZero = 9,
  RowPosition = 10,
};

// Labels of rows 2 to 10, below the done and zero rows.
const char* const kAsiRowLabels[] = {
    "ASI DISP: ",    // 2
    "LOW ALARM: ",   // 3
    "LOW ALARM: ",   // 4
    "HIGH ALARM: ",  // 5
    "HIGH ALARM: ",  // 6
    "ASI UNIT: ",    // 7
    "ASI FILTER: ",  // 8
    "DIST ZERO: ",   // 9
    "POSITION: ",    // 10
};

constexpr std::uint8_t kCalAltRow = 1;
constexpr std::uint8_t kCalAsiRow = 2;
constexpr std::uint8_t kCalLastRow = kCalibrateLastRow;

// Formatted values: "%u" of a 32-bit speed, "%+d %d" of offset and altitude.
constexpr std::size_t kValueBufferSize = 32;

// The value shown on an ASI setup row; numbers are formatted into buffer.
const char* AsiRowValue(const Settings& s, std::uint8_t row, char* buffer, std::size_t size) {
  switch (row) {
    case RowAsiDisplay:
      return AsiKindName(s.asiShowsTas);
    case RowLowAlarmOn:
      return SwitchName(s.lowAlarmOn);
    case RowLowAlarmSpeed:
      std::snprintf(buffer, size, "%u", static_cast<unsigned>(s.lowAlarmSpeed));
      return buffer;
    case RowHighAlarmOn:
      return SwitchName(s.highAlarmOn);
    case RowHighAlarmSpeed:
      std::snprintf(buffer, size, "%u", static_cast<unsigned>(s.highAlarmSpeed));
      return buffer;
    case RowAsiUnit:
      return AsiUnitName(s.asiUnit);
    case RowAsiFilter:
      return FilterName(s.asiFilter);
    case RowDistZero:
      return s.distZeroAuto == 0 ? "MAN" : "AUTO";
    case RowPosition:
      // Where the airspeed stands: the opposite word to the altitude setup's.
      return s.altitudeOnTop == 0 ? "TOP" : "BOTTOM";
    default:
      return "";
  }
}

// Alarm speeds wrap round the unit's range. Both tests are strict so that
// stepping lands on either bound before it wraps; the lower test is written
// without a subtraction so a small value cannot wrap the unsigned sum.
void StepSpeed(std::uint32_t& speed, bool increase, std::uint8_t step, SpeedRange range) {
  if (increase) {
    speed = speed + step > range.highest ? range.lowest : speed + step;
  } else {
    speed = speed < range.lowest + step ? range.highest : speed - step;
  }
}

// Three choices in a ring: 0, 1, 2.
std::uint8_t NextOfThree(std::uint8_t value, bool increase) {
  if (increase) return value >= 2 ? 0 : static_cast<std::uint8_t>(value + 1);
  return value == 0 || value > 2 ? 2 : static_cast<std::uint8_t>(value - 1);
}

void ChangeAsiRow(Instrument& instrument, std::uint8_t key) {
  Settings& s = instrument.state.settings;
  const std::uint8_t row = instrument.state.ui.cursor;
  const bool increase = IsIncreaseKey(key);
  const SpeedRange range = SpeedRangeForUnit(s.asiUnit);
  const std::uint8_t step = instrument.state.ui.keyStep;
  switch (row) {
    case RowAsiDisplay:
      s.asiShowsTas = Flipped(s.asiShowsTas);
      break;
    case RowLowAlarmOn:
      s.lowAlarmOn = Flipped(s.lowAlarmOn);
      break;
    case RowLowAlarmSpeed:
      StepSpeed(s.lowAlarmSpeed, increase, step, range);
      break;
    case RowHighAlarmOn:
      s.highAlarmOn = Flipped(s.highAlarmOn);
      break;
    case RowHighAlarmSpeed:
      StepSpeed(s.highAlarmSpeed, increase, step, range);
      break;
    case RowAsiUnit:
      // The speeds keep their numbers; the next pass pulls them into the new
      // unit's range. Maxima in the old unit would mislead.
      s.asiUnit = NextOfThree(s.asiUnit, increase);
      ResetMaxValues(instrument);
      break;
    case RowAsiFilter:
      s.asiFilter = NextOfThree(s.asiFilter, increase);
      break;
    case RowDistZero:
      s.distZeroAuto = Flipped(s.distZeroAuto);
      break;
    case RowPosition:
      s.altitudeOnTop = Flipped(s.altitudeOnTop);
      break;
    default:
      break;
  }
}

void ChangeCalibration(Instrument& instrument, std::uint8_t key) {
  Settings& s = instrument.state.settings;
  const std::uint8_t row = instrument.state.ui.cursor;
  const bool increase = IsIncreaseKey(key);
  // One count or one percent per key whatever keyStep says: these are fine trims.
  if (row == kCalAltRow) {
    if (increase && s.altCalOffset < kAltCalLimit) ++s.altCalOffset;
    if (!increase && s.altCalOffset > -kAltCalLimit) --s.altCalOffset;
  } else if (row == kCalAsiRow) {
    if (increase && s.asiCalPercent < kAsiCalHighest) ++s.asiCalPercent;
    if (!increase && s.asiCalPercent > kAsiCalLowest) --s.asiCalPercent;
  }
}

void ChooseAsiRow(Instrument& instrument) {
  UiState& ui = instrument.state.ui;
  if (ui.cursor == 0) {
    LeaveTo(instrument, MainMenuScreen, ReturnMenuItem(AsiSetupScreen));
  } else if (ui.cursor == kZeroRow) {
    ui.currentScreen = ZeroAsiScreen;  // comes back to this row
  } else {
    ui.editing = 1;
  }
}

void ChooseCalibrateRow(Instrument& instrument) {
  if (instrument.state.ui.cursor == 0) {
    LeaveTo(instrument, MainMenuScreen, ReturnMenuItem(CalibrateScreen));
    HookSaveSettings(instrument);
  } else {
    instrument.state.ui.editing = 1;
  }
}

}  // namespace

void AsiSetupScreen(Instrument& instrument) {
  UiState& ui = instrument.state.ui;
  const std::uint8_t offset = ScrollOffset(instrument);
  DrawTitle(instrument, " ASI SETUP ");
  // A unit changed on the previous pass takes effect here, before anything is shown.
  ClampSpeedSettings(instrument);

  if (ui.cursor < kVisibleListRows) DrawDoneRow(instrument);
  // The zero row scrolls up under the title once the list moves by two rows.
  if (offset < 2) {
    DrawRowText(instrument, 0, static_cast<std::uint8_t>(16 - 8 * offset), "ZERO ASI SENSOR",
                ui.cursor == kZeroRow ? 1 : 0);
  }
  char number[kValueBufferSize];
  for (std::uint8_t row = kFirstSettingRow; row <= kAsiLastRow; ++row) {
    DrawSettingRow(instrument, 0, row - offset, kAsiRowLabels[row - kFirstSettingRow],
                   AsiRowValue(instrument.state.settings, row, number, sizeof number));
  }

  HandleListKey(instrument, TakeKey(instrument), kAsiLastRow, ChooseAsiRow, ChangeAsiRow);
}

void ZeroAsiScreen(Instrument& instrument) {
  FrameBuffer& fb = instrument.frameBuffer;
  UiState& ui = instrument.state.ui;
  DrawText8CentredLiteral(fb, 64, 5, "ARE YOU SURE", 0, PixelSet, 0);
  DrawText8CentredLiteral(fb, 64, 15, "YOU WANT TO", 0, PixelSet, 0);
  DrawText8CentredLiteral(fb, 64, 25, "ZERO THE AIR", 0, PixelSet, 0);
  DrawText8CentredLiteral(fb, 64, 35, "SPEED SENSOR?", 0, PixelSet, 0);
  // Above the F1 key, which confirms.
  DrawText8Literal(fb, 0, 56, " ZERO ", 0, PixelSet, 1);

  const std::uint8_t key = TakeKey(instrument);
  if (key == KeyF1) {
    instrument.state.settings.asiZeroOffset = instrument.state.airData.asiAdc;
    HookSaveSettings(instrument);
    ui.returnScreen = AsiSetupScreen;
    ui.currentScreen = MessageScreen;
  } else if (key != KeyNone) {
    ui.currentScreen = AsiSetupScreen;
  }
}

void CalibrateScreen(Instrument& instrument) {
  const Settings& s = instrument.state.settings;
  const AirData& air = instrument.state.airData;
  DrawTitle(instrument, " CALIBRATE ");
  DrawDoneRow(instrument);
  char value[kValueBufferSize];
  std::snprintf(value, sizeof value, "%+d %d", static_cast<int>(s.altCalOffset),
                static_cast<int>(air.pressureAltitudeFt));
  DrawSettingRow(instrument, 0, kCalAltRow, "ALT: ", value);
  std::snprintf(value, sizeof value, "%d%% %u", static_cast<int>(s.asiCalPercent),
                static_cast<unsigned>(air.airspeed));
  DrawSettingRow(instrument, 0, kCalAsiRow, "ASI: ", value);

  HandleListKey(instrument, TakeKey(instrument), kCalLastRow, ChooseCalibrateRow,
                ChangeCalibration);
}

void AdcValuesScreen(Instrument& instrument) {
  UiState& ui = instrument.state.ui;
  const AirData& air = instrument.state.airData;
  DrawTitle(instrument, " ADC VALUES ");
  DrawDoneRow(instrument);  // the only row that can be selected
  char line[kValueBufferSize];
  std::snprintf(line, sizeof line, "ALTITUDE: %u", static_cast<unsigned>(air.altAdc));
  DrawText8(instrument.frameBuffer, 0, 16, line, 0, PixelSet, 0);
  std::snprintf(line, sizeof line, "AIRSPEED: %u", static_cast<unsigned>(air.asiAdc));
  DrawText8(instrument.frameBuffer, 0, 24, line, 0, PixelSet, 0);

  if (TakeKey(instrument) == KeyPress && ui.cursor == 0) {
    LeaveTo(instrument, MainMenuScreen, ReturnMenuItem(AdcValuesScreen));
  }
}

}  // namespace kvr9
