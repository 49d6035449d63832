// Plays a flight profile into the instrument: before each pass both sliders
// go to the counts whose settled readings come nearest the profile's
// pressure altitude and indicated airspeed at that moment (under the
// display's floor, by the pitot's square law), and a timer tick
// is due every 100 ms of profile time, in order with the passes. Played
// faster than the window's real time, a pass stands for more of the log
// than the smoothing can follow, and a short peak would fall between
// passes: there the log's highest altitude and fastest airspeed are each
// played and held for as many passes as the smoothing takes to settle, so
// MAX VALUES reads the log's own extremes at any speed. Shared by every
// front end; it reads no files, throws nothing and, once made, holds no
// more memory however long the flight.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/instrument.h"
#include "host/flights/flight_profile.h"
#include "host/panel/panel_inputs.h"
#include "host/panel/reading_units.h"

namespace kvr9 {

inline constexpr std::uint32_t kDefaultPassesPerSecond = 10;  // the window's pace
inline constexpr std::uint32_t kMostPassesPerSecond = 1000;
inline constexpr std::uint32_t kMostSpeedUp = 100;

// What one pass of a flight asks of the panel.
struct FlightPass {
  ProfileSample sample;     // the profile at this pass
  std::uint32_t ticks = 0;  // timer ticks due before it
  std::int32_t altitudeCount = 0;
  std::int32_t airspeedCount = 0;
};

class FlightPlayer {
 public:
  // Plays the profile from fromSeconds to toSeconds of its own clock (both
  // clipped to it), passesPerSecond passes (1 to kMostPassesPerSecond) for
  // every speedUp seconds of profile time (1 to kMostSpeedUp): a page
  // going round ten times a second plays a flight four times as fast with
  // 10 passes per 4 seconds. Faster than ten passes a second of the log,
  // the samples of the highest altitude and the fastest airspeed between
  // from and to are held for HoldPasses() passes each, right after the
  // pass before them; ticks still follow profile time, so none fall due
  // while a sample is held. The profile must outlive the player.
  FlightPlayer(const FlightProfile& profile, double fromSeconds, double toSeconds,
               std::uint32_t passesPerSecond = kDefaultPassesPerSecond, std::uint32_t speedUp = 1);
  explicit FlightPlayer(const FlightProfile& profile)
      : FlightPlayer(profile, profile.StartSeconds(), profile.EndSeconds()) {}

  // Empty when every value of the flight lies within what the converters
  // reach with the instrument's present settings; otherwise one line
  // naming the first value beyond it, its moment and the reachable range.
  std::string CheckReach(const Instrument& instrument);

  bool Finished() const { return passesDone_ >= passCount_; }
  // Profile time of the next pass (the end time once finished).
  double NextSeconds() const;
  // Profile time of the last pass played (from before the first).
  double PlayedSeconds() const;
  double FromSeconds() const { return from_; }
  double ToSeconds() const { return to_; }
  std::uint32_t PassesPerSecond() const { return passesPerSecond_; }
  std::uint32_t SpeedUp() const { return speedUp_; }

  // The passes the instrument's smoothing takes to settle on a value held
  // still, at its slowest (the SLOW airspeed filter), found by running its
  // own channels.
  static std::uint32_t HoldPasses();

  // How far it has played, for a snapshot; a player made anew with the
  // same profile, times, pace and speed-up goes on exactly from there.
  struct Progress {
    std::uint64_t passesDone = 0;
    std::uint64_t ticksDone = 0;
  };
  Progress Played() const { return {passesDone_, ticksDone_}; }
  // Past the end it stands finished; ticks never run ahead of the passes.
  void Resume(const Progress& progress);

  // The next pass's inputs, worked out with the instrument's present
  // settings; the player moves on to the pass after it.
  FlightPass Next(const Instrument& instrument);
  // Next, applied: the due ticks (when ticks is set), then both sliders.
  // A front end with its own 100 ms timer passes ticks = false.
  FlightPass PlayNext(PanelInputs& inputs, const Instrument& instrument, bool ticks = true);

 private:
  // A sample held: its passes follow grid pass afterPass.
  struct Hold {
    std::uint64_t afterPass = 0;
    double seconds = 0;
  };
  // Where pass `pass` stands: its moment and the ticks due by it.
  struct Moment {
    double seconds = 0;
    std::uint64_t ticksDue = 0;
  };

  std::int32_t AirspeedCount(double mph, const Instrument& instrument) const;
  void PlanHolds();
  Moment MomentOf(std::uint64_t pass) const;
  double StepSeconds(std::uint64_t gridPass) const;
  double GridSeconds(std::uint64_t gridPass) const;
  std::uint64_t GridTicks(std::uint64_t gridPass) const;

  const FlightProfile* profile_;
  double from_;
  double to_;
  std::uint32_t passesPerSecond_;
  std::uint32_t speedUp_;
  std::uint64_t gridCount_;  // passes at from, from + speedUp/rate, ... up to to
  bool endPass_ = false;     // the last of them stands at to, short of a step
  std::array<Hold, 2> holds_{};
  std::uint32_t holdCount_ = 0;
  std::uint32_t holdPasses_ = 0;
  std::uint64_t passCount_;
  std::uint64_t passesDone_ = 0;
  std::uint64_t ticksDone_ = 0;
  SettledReadings altitude_;
  SettledReadings airspeed_;
};

}  // namespace kvr9
