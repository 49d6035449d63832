// A flight flown on the panel, as every front end controls it: choose a
// flight (the sliders go to its first moment at once), play, pause, a
// speed-up, a moment to go to; a hand on a slider pauses it; it ends at
// its log's last moment. Played only in the main loop: before each pass
// the sliders go where the flight is, a pass standing for 1/passesPerSecond
// of the flight times the speed-up. Checked against the converters' reach
// at its first pass; "Fly" switches the instrument on and, should the
// maxima the splash starts from be left from before, asks for "ON" once
// more. The front end moves the sliders (through its own controls, so that
// labels and the session record follow) and clicks "ON"; the control
// keeps the rules and says what to show as named fields.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "core/instrument.h"
#include "host/flights/flight_player.h"
#include "host/flights/flight_profile.h"
#include "host/flights/flight_summary.h"

namespace kvr9 {

// What a front end shows of its flight.
struct FlightStatus {
  bool open = false;  // a flight is chosen; without one only message counts
  bool playing = false;
  bool ended = false;         // paused at the log's last moment
  bool instrumentOn = false;  // "Fly" while off, "Play" or "Pause" while on
  std::uint32_t speed = 1;    // the speed-up chosen, kept with a snapshot's flight
  std::string name;
  std::string summary;      // in the units the flight is flown with
  long elapsedSeconds = 0;  // the moment the sliders stand at, whole seconds from the start
  long totalSeconds = 0;
  ShownFlightValues now;  // the flight's values at that moment
  // Why a log was refused, a reader's warning, a value beyond the
  // converters' reach; empty when there is nothing to say.
  std::string message;
  std::string pilotNote;
  // Where MAX VALUES count from (kSwitchOnToFlyNote, kMaxValuesFromFlyNote,
  // kMaxValuesNote while they hold more than the flight has shown);
  // nullptr without a flight, or when there is nothing to say.
  const char* maximaNote = nullptr;
};

// What the pilot reads under the bar: the log's pilot's note, that the
// flight has ended (when sayEnded), and where MAX VALUES count from,
// separated by separator.
std::string FlightNotes(const FlightStatus& status, std::string_view separator, bool sayEnded);

class FlightControl {
 public:
  // Puts both sliders at a pass's counts. jump: the flight was put at a
  // moment, and the sliders are set even where they already stand (at the
  // start they stand at 1 while the readings are 0).
  using PutSliders = std::function<void(const FlightPass& pass, bool jump)>;

  FlightControl(const Instrument& instrument, PutSliders putSliders,
                std::uint32_t passesPerSecond = kDefaultPassesPerSecond);

  // A flight chosen: it stands at its start, paused; the sliders go there.
  void Use(FlightProfile profile, std::string name, std::string pilotNote, std::string message);
  // A log that could not be read: the flight stays as it was, this says why.
  void Refuse(std::string message) { message_ = std::move(message); }
  void Close();
  bool Open() const { return player_.has_value(); }

  // Puts the flight, and the sliders at once, at a moment of it; the
  // player goes on from the pass after it.
  void MoveTo(double secondsFromStart);
  // From its start again when it had finished.
  void Play();
  void Pause() { playing_ = false; }
  bool Playing() const { return playing_; }
  void SetSpeed(std::uint32_t speedUp);
  std::uint32_t Speed() const { return speedUp_; }

  // "Fly", just before the front end switches the instrument on: plays,
  // and watches the splash for maxima left from an earlier run.
  void Fly();
  // A slider moved by hand: the flight pauses, the maxima are no longer
  // the flight's alone.
  void TakeOver();
  // The instrument is off again.
  void SwitchedOff() {
    maximaAreTheFlights_ = false;
    watchedPhase_ = PowerPhase::Off;
  }

  // Before each pass but the first of a power-on, after the front end's
  // events; it notes what the pass before showed. True when "ON" is to be
  // clicked again (the maxima left from before stand above the flight's
  // first readings); otherwise a playing flight in the main loop moves the
  // sliders on.
  bool BeforePass();

  // What a snapshot keeps of the flight: its player, nullptr without one.
  const FlightPlayer* Player() const { return player_ ? &*player_ : nullptr; }
  // A flight taken up from a snapshot (times from the profile's start):
  // at the pace it was played with, its player goes on exactly from where
  // it stood; at another, from the same moment. The sliders stay where
  // the snapshot put them.
  void Resume(FlightProfile profile, std::string name, double fromSeconds, double toSeconds,
              std::uint32_t passesPerSecond, std::uint32_t speedUp, FlightPlayer::Progress played,
              bool playing);

  FlightStatus Status() const;
  const FlightProfile& Profile() const { return profile_; }

  // The instrument whose settings readings are worked out with: the
  // running one, or while it is off the settings "ON" loads.
  const Instrument& FlownWith() const;

 private:
  void StartAt(double seconds);
  void PutAt(const FlightPass& pass, bool jump);
  bool WatchMaxima();
  void NoteShown();
  bool MaximaBeyondShown() const;

  const Instrument& instrument_;
  PutSliders putSliders_;
  std::uint32_t passesPerSecond_;
  Instrument powerOnSettings_;
  FlightProfile profile_;
  std::string name_;
  std::string pilotNote_;
  std::string message_;
  std::optional<FlightPlayer> player_;  // points into profile_
  double at_ = 0;  // the moment the sliders were last put at, on the log's clock
  std::uint32_t speedUp_ = 1;
  bool playing_ = false;
  bool checked_ = false;  // against the converters' reach, at its first pass
  bool flyWatch_ = false;
  // Since "Fly" switched it on, only the flight has moved the sliders.
  bool maximaAreTheFlights_ = false;
  std::optional<std::array<std::int64_t, 4>> flyReadings_;
  // The highest altitude and airspeed the instrument has shown since its
  // power-on, with the sliders where the flight put them: MAX VALUES above
  // them hold something else (a run before, a hand on a slider).
  std::int32_t shownAltitude_ = std::numeric_limits<std::int32_t>::min();
  std::uint32_t shownAirspeed_ = 0;
  bool byHand_ = false;  // a hand has moved a slider since the flight last put them
  PowerPhase watchedPhase_ = PowerPhase::Off;
  // The summary in the units it was last written in.
  mutable std::string summary_;
  mutable std::array<std::uint8_t, 2> summaryUnits_{0xff, 0xff};
};

}  // namespace kvr9
