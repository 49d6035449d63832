// The page's flight bar on the firmware's side: the flight it holds (the
// demo flight or a log the person opened from their own disk, read here and
// sent nowhere), whether it plays and how fast, and one pass of it before
// each pass of the instrument. The sliders move through the panel's inputs,
// so the session copy holds the flight as the instrument saw it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/instrument.h"
#include "host/flights/flight_player.h"
#include "host/flights/flight_profile.h"
#include "host/panel/panel_inputs.h"

namespace kvr9::web {

// The instrument whose settings a reading is worked out with: the running
// one's own, or, while it is off, the defaults that "ON" loads.
const Instrument& SettingsInForce(const Instrument& instrument);

class PageFlight {
 public:
  PageFlight(PanelInputs& inputs, const Instrument& instrument);

  // The built-in demo flight, paused at its start, the sliders there.
  void UseDemo();
  // Room for a log's name and bytes, which the page writes there, one
  // after the other, before Open.
  char* TextBuffer(std::size_t bytes);
  // Reads the text buffer: the log's name (its first nameBytes, UTF-8;
  // its extension, .igc or .csv, chooses the reader), then the log. A log
  // read is paused at its start with the sliders there at once; one that
  // cannot be read leaves the flight as it was and says why in the message.
  void Open(std::size_t nameBytes);

  // Play from where it stands (from the start once it has ended); pause
  // keeps the place. A hand on a slider pauses it. It plays only in the
  // instrument's main loop, so a flight started with "ON" waits out the
  // splash.
  void Play();
  void Pause();
  // Each pass plays speedUp times as much flight as at x1 (one of the
  // flight bar's speeds).
  void SetSpeed(std::uint32_t speedUp);
  // To a moment, in whole seconds from the start (clipped to the flight),
  // the sliders there at once; playing or paused as it was.
  void MoveTo(long seconds);

  // Before a pass of the running instrument: the sliders go where the
  // flight is. The window's pace is the page's too, ten passes a second,
  // and the page's own timer gives the ticks.
  void PlayPass();

  // What the bar shows, a JSON object: "state" ("playing", "paused" or
  // "ended"); the flight's "name"; "elapsed" and "total" whole seconds; the
  // profile's "altitude" and "airspeed" at that moment rounded in the
  // display's units, named by "altitudeUnit" and "airspeedUnit"; the
  // flight's "summary"; the "note" for the pilot in plain words (a log
  // without airspeed, what MAX VALUES counts, that Fly switches it on); a
  // "problem" (why a log was refused, a value beyond the converters'
  // reach), or ""; whether the instrument is "on".
  std::string Status() const;

 private:
  void StartAt(double seconds);
  // The sliders at the player's next moment, through the panel's inputs.
  void SlidersToNext();
  void Loaded(FlightProfile profile, std::string name);

  PanelInputs& inputs_;
  const Instrument& instrument_;
  FlightProfile profile_;
  std::string name_;
  std::string text_;  // the last log's bytes, while it is read
  std::optional<FlightPlayer> player_;
  std::uint32_t speedUp_ = 1;
  bool playing_ = false;
  bool checked_ = false;  // its reach, at its first pass with these settings
  // The summary goes through the whole log: worked out again only when
  // the display's units change.
  mutable std::string summary_;
  mutable int summaryUnits_ = -1;
  std::string pilotNote_;
  std::string message_;
};

}  // namespace kvr9::web
