// The KVR-9's whole state and the routines of its core: power-on defaults,
// hook points, the two air-data channels and the power cycle.
#pragma once

#include <array>
#include <cstdint>

#include "lcd/frame_buffer.h"

namespace kvr9 {

struct Instrument;

// A screen draws its whole page into the cleared frame buffer, then consumes
// the pending key.
using ScreenHandler = void (*)(Instrument&);

enum KeyEvent : std::uint8_t {
  KeyNone = 0,
  KeyPress = 1,          // knob pressed
  KeyClockwise = 2,      // knob turned clockwise
  KeyAntiClockwise = 3,  // knob turned anticlockwise
  KeyF1 = 4,             // left key, up arrow
  KeyF2 = 5,             // right key, down arrow
};

enum ConverterChannel : std::uint8_t {
  ConverterStatic = 0,
  ConverterPitot = 2,
};

struct Settings {
  std::uint8_t contrast = 0;
  std::uint8_t backlightOn = 0;
  std::uint32_t qnh = 0;  // 0.1 Pa
  std::uint8_t altUnit = 0;
  std::uint8_t qnhUnit = 0;
  std::uint8_t altitudeOnTop = 0;
  std::uint8_t asiShowsTas = 0;
  std::uint32_t lowAlarmSpeed = 0;
  std::uint8_t lowAlarmOn = 0;
  std::uint32_t highAlarmSpeed = 0;
  std::uint8_t highAlarmOn = 0;
  std::uint8_t asiFilter = 0;
  std::uint8_t asiUnit = 0;
  std::uint8_t distZeroAuto = 0;
  std::uint8_t hourFractDecimal = 0;
  std::uint8_t flightDetectAuto = 0;
  std::uint32_t takeoffSpeed = 0;
  std::uint8_t asiCalPercent = 0;
  std::int8_t altCalOffset = 0;
  std::uint32_t asiZeroOffset = 0;

  bool operator==(const Settings&) const = default;
};

struct AirData {
  std::int32_t altAdcRaw = 0;
  std::int32_t asiAdcRaw = 0;
  std::uint32_t altAdc = 0;
  std::uint32_t asiAdc = 0;
  std::uint32_t staticPressure = 0;  // 0.1 Pa
  std::int32_t pressureAltFilter = 0;
  std::int32_t pressureAltitudeFt = 0;
  std::int32_t qnhAltFilter = 0;
  std::int32_t qnhAltitudeFt = 0;
  std::int32_t altitude = 0;
  std::int32_t maxAltitude = 0;
  std::uint32_t asiFilterState = 0;
  std::uint32_t airspeed = 0;
  std::uint32_t maxAirspeed = 0;
  std::uint32_t distanceSum = 0;
  std::uint8_t alarmActive = 0;
  std::uint8_t alarmAcknowledged = 0;

  bool operator==(const AirData&) const = default;
};

inline constexpr std::size_t kFlightLogEntries = 24;

struct FlightTimer {
  std::uint8_t inFlight = 0;
  std::uint8_t flightCounted = 0;
  std::uint8_t flightSeconds = 0;
  std::uint8_t flightMinutes = 0;
  std::uint8_t flightHours = 0;
  std::uint8_t landingCountdown = 0;
  std::uint8_t tickDivider = 0;
  std::uint8_t slowTick = 0;
  // 24 hours bytes, then 24 minutes bytes; an hours byte of 100 or more is empty.
  std::array<std::uint8_t, 2 * kFlightLogEntries> flightLog{};

  bool operator==(const FlightTimer&) const = default;
};

inline constexpr std::size_t kCommLineSize = 50;

struct UiState {
  ScreenHandler currentScreen = nullptr;
  ScreenHandler returnScreen = nullptr;
  std::uint8_t cursor = 0;
  std::uint8_t editing = 0;
  std::uint8_t pendingKey = KeyNone;
  std::uint8_t keyStep = 0;
  std::uint8_t calibrateMode = 0;
  std::uint8_t blinkDivider = 0;
  std::uint8_t blinkPhase = 0;
  std::array<char, kCommLineSize> commLine{};
  std::uint8_t stopRequested = 0;

  bool operator==(const UiState&) const = default;
};

struct InstrumentState {
  Settings settings;
  AirData airData;
  FlightTimer flightTimer;
  UiState ui;

  bool operator==(const InstrumentState&) const = default;
};

// What the main loop needs from whatever stands in for the hardware front
// panel: the window, the headless driver or a test's fake.
class HostPanel {
 public:
  virtual ~HostPanel() = default;
  virtual void PresentFrameBuffer(const FrameBuffer& frameBuffer) = 0;
  virtual void SetLcdVisible(bool visible) = 0;
  virtual void SetAlarmLed(bool lit) = 0;
  virtual bool IsCalibrateChecked() = 0;
  virtual bool IsKeyFastChecked() = 0;
  virtual void AppendCommLine(const char* text) = 0;
  // Delivers every pending front-panel event to its handler, then returns.
  virtual void ProcessPendingEvents() = 0;
};

// The points where the instrument would touch hardware the simulator lacks.
// Every method does nothing; a test may override them to record the calls.
class Hardware {
 public:
  virtual ~Hardware() = default;
  virtual void SaveSettings() {}
  virtual void MaxValuesReset() {}
  virtual void SetContrast() {}
  virtual void BacklightOn() {}
  virtual void BacklightOff() {}
  virtual void AlarmOutputOn() {}
  virtual void AlarmOutputOff() {}
  virtual void EraseFlightLog() {}
  virtual void StoreFlightLogEntry() {}
};

Hardware& NoHardware();

// Where the power cycle is: hosts ask it instead of guessing from what the
// firmware has drawn or written.
enum class PowerPhase : std::uint8_t { Off, Splash, MainLoop };

// The splash's progress through one power-on: passes left and the two
// lines' positions. Both x values are signed bytes: the comparisons are
// signed, while the text routines receive the same byte as an unsigned x
// and wrap with it.
struct SplashProgress {
  std::uint8_t passesLeft = 0;
  std::int8_t makerX = 127;
  std::int8_t modelX = -20;
  // The present pass has had its events; its air data are still to come.
  bool airDataDue = false;

  bool operator==(const SplashProgress&) const = default;
};

struct Instrument {
  InstrumentState state;
  FrameBuffer frameBuffer;
  HostPanel* host = nullptr;
  Hardware* hardware = &NoHardware();
  // Set by "ON" while the instrument runs: the running loop restarts the
  // power cycle in place instead of nesting a second one.
  bool restartRequested = false;
  bool running = false;  // switched on and not yet stopped
  PowerPhase phase = PowerPhase::Off;
  SplashProgress splash;
};

// Hook points (no effect in the simulator).
void HookSaveSettings(Instrument& instrument);
void HookMaxValuesReset(Instrument& instrument);
void HookSetContrast(Instrument& instrument);
void HookBacklightOn(Instrument& instrument);
void HookBacklightOff(Instrument& instrument);
void HookAlarmOutputOn(Instrument& instrument);
void HookAlarmOutputOff(Instrument& instrument);
void EraseFlightLog(Instrument& instrument);
void StoreFlightLogEntry(Instrument& instrument);

// Power-on defaults.
void LoadDefaultSettings(Instrument& instrument);
void LoadDefaultCalibration(Instrument& instrument);
void ResetMaxValues(Instrument& instrument);
void ResetAirDistance(Instrument& instrument);
void RunPowerOnSequence(Instrument& instrument);

// Flights: a start clears the timer (and, with DIST ZERO AUTO, the air
// distance); a stop logs the flight if it completed its first minute.
void StartFlight(Instrument& instrument);
void StopFlight(Instrument& instrument);

// Air data.
std::uint32_t ReadConverter(const Instrument& instrument, std::uint8_t channel);
void UpdateAltitude(Instrument& instrument);
void UpdateAirspeed(Instrument& instrument);
std::uint32_t IntegerSquareRoot(std::uint32_t value);
void ClampSpeedSettings(Instrument& instrument);
// The airspeed alarm condition from the present airspeed and settings: the
// high alarm, or the low alarm during a flight; both comparisons strict.
bool AirspeedAlarmCondition(const InstrumentState& state);

struct SpeedRange {
  std::uint32_t lowest;
  std::uint32_t highest;
};
SpeedRange SpeedRangeForUnit(std::uint8_t asiUnit);

// Power cycle and main loop. The host owns time: SwitchOn starts the power
// cycle (the power-on sequence runs at once) and every StepPowerCycle runs
// it on to the end of its next ProcessPendingEvents: a main-loop pass, or
// a splash pass up to its events (its air data follow at the next step,
// as they follow the events in the firmware's splash). A restart or a stop
// asked for before or inside it is acted on as the firmware's loop does.
// It returns whether the instrument is still on. PowerOn is the loop over
// the two, returning when "OFF" has stopped the instrument.
void SwitchOn(Instrument& instrument);
bool StepPowerCycle(Instrument& instrument);
void PowerOn(Instrument& instrument);
void MainLoopPass(Instrument& instrument);
void OnTimerTick(Instrument& instrument);

// Front-panel handlers' share of the work, used by every front end.
void StoreKey(Instrument& instrument, KeyEvent key);  // kept only while none is pending
void RequestPowerOn(Instrument& instrument);          // "ON": starts, or restarts a running loop
void RequestStop(Instrument& instrument);             // "OFF"
bool IsRunning(const Instrument& instrument);

}  // namespace kvr9
