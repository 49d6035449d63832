// Power-on defaults and the hook points.
#include "core/instrument.h"

namespace kvr9 {

Hardware& NoHardware() {
  static Hardware none;
  return none;
}

void HookSaveSettings(Instrument& instrument) {
  instrument.hardware->SaveSettings();
}
void HookMaxValuesReset(Instrument& instrument) {
  instrument.hardware->MaxValuesReset();
}
void HookSetContrast(Instrument& instrument) {
  instrument.hardware->SetContrast();
}
void HookBacklightOn(Instrument& instrument) {
  instrument.hardware->BacklightOn();
}
void HookBacklightOff(Instrument& instrument) {
  instrument.hardware->BacklightOff();
}
void HookAlarmOutputOn(Instrument& instrument) {
  instrument.hardware->AlarmOutputOn();
}
void HookAlarmOutputOff(Instrument& instrument) {
  instrument.hardware->AlarmOutputOff();
}
void EraseFlightLog(Instrument& instrument) {
  instrument.hardware->EraseFlightLog();
}
void StoreFlightLogEntry(Instrument& instrument) {
  instrument.hardware->StoreFlightLogEntry();
}

void LoadDefaultSettings(Instrument& instrument) {
  Settings& settings = instrument.state.settings;
  settings.contrast = 32;
  HookSetContrast(instrument);
  settings.backlightOn = 1;
  HookBacklightOn(instrument);
  settings.qnh = 1013250;
  settings.altUnit = 0;
  settings.qnhUnit = 0;
  settings.altitudeOnTop = 0;
  settings.asiShowsTas = 0;
  settings.lowAlarmSpeed = 30;
  settings.lowAlarmOn = 1;
  settings.highAlarmSpeed = 80;
  settings.highAlarmOn = 1;
  settings.asiFilter = 1;
  settings.asiUnit = 0;
  settings.distZeroAuto = 0;
  settings.hourFractDecimal = 0;
  settings.takeoffSpeed = 30;
  settings.flightDetectAuto = 0;
  EraseFlightLog(instrument);
  ResetAirDistance(instrument);
}

void LoadDefaultCalibration(Instrument& instrument) {
  Settings& settings = instrument.state.settings;
  settings.altCalOffset = 0;
  settings.asiCalPercent = 100;
  settings.asiZeroOffset = 0;
  HookSaveSettings(instrument);
}

void ResetMaxValues(Instrument& instrument) {
  AirData& air = instrument.state.airData;
  air.maxAirspeed = air.airspeed;
  air.maxAltitude = air.altitude;
  HookMaxValuesReset(instrument);
}

void ResetAirDistance(Instrument& instrument) {
  instrument.state.airData.distanceSum = 0;
}

void RunPowerOnSequence(Instrument& instrument) {
  ResetMaxValues(instrument);
  LoadDefaultSettings(instrument);
  LoadDefaultCalibration(instrument);
  InstrumentState& state = instrument.state;
  state.airData.alarmActive = 0;
  state.airData.alarmAcknowledged = 0;
  state.airData.asiAdcRaw = 0;
  state.airData.distanceSum = 0;
  state.flightTimer.flightHours = 0;
  state.flightTimer.flightMinutes = 0;
  state.flightTimer.inFlight = 0;
  state.flightTimer.flightCounted = 0;
  state.ui.calibrateMode = 0;
  state.ui.pendingKey = KeyNone;
}

void StoreKey(Instrument& instrument, KeyEvent key) {
  if (instrument.state.ui.pendingKey == KeyNone) instrument.state.ui.pendingKey = key;
}

void RequestStop(Instrument& instrument) {
  instrument.state.ui.stopRequested = 1;
}

bool IsRunning(const Instrument& instrument) {
  return instrument.running;
}

void RequestPowerOn(Instrument& instrument) {
  if (instrument.running) {
    instrument.restartRequested = true;
    return;
  }
  PowerOn(instrument);
}

}  // namespace kvr9
