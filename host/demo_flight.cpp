// The built-in demo: a microlight's circuit from a field at 300 ft, written
// for the power-on settings (take-off speed 30 mph, low alarm 30 mph on,
// high alarm 80 mph on, QNH 1013.25 hPa, so the displayed altitude is the
// pressure altitude below).
//
//   0:00  parked, engine running
//   0:20  taxi out at 12 mph (the display shows 0: under its 16 mph floor)
//   1:20  holding at the runway, then full power
//   1:40  30 mph, the take-off speed: a flight set to DETECT starts here
//   1:44  lift-off at 38 mph, climb at 45 to 55 mph
//   3:10  level at 1300 ft, cruise at 65 to 68 mph
//   4:08  a shallow dive: above the 80 mph high alarm for about 16 s
//   4:30  back to cruise, then descent, downwind and base
//   5:45  final at 42 mph
//   5:49  a gust: below the 30 mph low alarm for about 6 s, some 50 ft up
//         (the low alarm sounds only while a flight runs: FLIGHT set to
//         DETECT, or started on the start/stop screen)
//   6:05  touchdown at 34 mph, roll-out
//   6:25  taxi in at 10 mph, stopped at 7:10
#include <array>

#include "host/flight_profile.h"

namespace kvr9 {

namespace {

constexpr std::array<ProfileSample, 27> kCircuit{{
    {0, 300, 0},     {10, 300, 0},    {20, 300, 12},   {70, 300, 12},   {80, 300, 0},
    {90, 300, 0},    {100, 300, 30},  {104, 300, 38},  {110, 340, 45},  {170, 1100, 55},
    {190, 1300, 60}, {200, 1300, 65}, {240, 1300, 68}, {250, 1250, 84}, {262, 1200, 84},
    {270, 1200, 68}, {290, 1000, 55}, {320, 600, 50},  {345, 400, 42},  {350, 360, 27},
    {354, 340, 27},  {358, 320, 40},  {365, 300, 34},  {375, 300, 15},  {385, 300, 10},
    {420, 300, 10},  {430, 300, 0},
}};

}  // namespace

const FlightProfile& DemoFlight() {
  // Built once, never changed.
  static const FlightProfile demo(std::vector<ProfileSample>(kCircuit.begin(), kCircuit.end()));
  return demo;
}

}  // namespace kvr9
