// The built-in demo: a microlight's circuit from a field at 300 ft, written
// for the power-on settings: take-off speed 30 mph, low alarm 30 mph on,
// high alarm 80 mph on, QNH 1013.25 hPa (so the altitude shown is the
// pressure altitude). The timeline is the table below: taxi out, take-off
// at 1:40, a dive above the high alarm for 16 s, a gust under the low alarm
// for 6 s some 50 ft up on final, touchdown at 6:05, taxi in, stop at 7:10.
// Taxiing at 10 to 12 mph shows 0 (under the display's 16 mph floor). The
// low alarm sounds only while a flight runs: FLIGHT set to DETECT, which
// starts one at 1:40, or a flight started on the start/stop screen.
#include <array>

#include "host/flights/flight_profile.h"

namespace kvr9 {

namespace {

// Seconds, pressure altitude in feet, indicated airspeed in mph; the clock
// of each row in the comment.
constexpr std::array<ProfileSample, 27> kCircuit{{
    {0, 300, 0},      // 0:00 parked, engine running
    {10, 300, 0},     // 0:10
    {20, 300, 12},    // 0:20 taxi out
    {70, 300, 12},    // 1:10
    {80, 300, 0},     // 1:20 holding at the runway
    {90, 300, 0},     // 1:30 full power
    {100, 300, 30},   // 1:40 the take-off speed
    {104, 300, 38},   // 1:44 lift-off
    {110, 340, 45},   // 1:50 climb
    {170, 1100, 55},  // 2:50
    {190, 1300, 60},  // 3:10 level
    {200, 1300, 65},  // 3:20 cruise
    {240, 1300, 68},  // 4:00
    {250, 1250, 84},  // 4:10 dive: above the high alarm from 4:08
    {262, 1200, 84},  // 4:22
    {270, 1200, 68},  // 4:30 cruise again, under the high alarm from 4:24
    {290, 1000, 55},  // 4:50 descent
    {320, 600, 50},   // 5:20 downwind, base
    {345, 400, 42},   // 5:45 final
    {350, 360, 27},   // 5:50 gust: under the low alarm from 5:49
    {354, 340, 27},   // 5:54
    {358, 320, 40},   // 5:58 over it again from 5:55
    {365, 300, 34},   // 6:05 touchdown
    {375, 300, 15},   // 6:15 roll-out
    {385, 300, 10},   // 6:25 taxi in
    {420, 300, 10},   // 7:00
    {430, 300, 0},    // 7:10 stopped
}};

}  // namespace

const FlightProfile& DemoFlight() {
  // Built once, never changed.
  static const FlightProfile demo(std::vector<ProfileSample>(kCircuit.begin(), kCircuit.end()));
  return demo;
}

}  // namespace kvr9
