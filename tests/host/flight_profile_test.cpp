// Flight profiles: interpolation, the CSV and IGC readers, the files they
// refuse, the example flights and the demo flight.
#include "host/flights/flight_profile.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>

#include "core/instrument.h"

namespace kvr9 {
namespace {

constexpr double kFt = 1 / 0.3048;     // feet per metre
constexpr double kKmh = 1 / 1.609344;  // mph per km/h
constexpr double kKnot = 1.852 / 1.609344;

TEST(FlightProfileAt, StraightLinesBetweenSamplesAndEndsHeld) {
  const FlightProfile profile({{10, 100, 20}, {20, 300, 40}, {40, 300, 0}});
  EXPECT_EQ(profile.StartSeconds(), 10);
  EXPECT_EQ(profile.DurationSeconds(), 30);
  const struct {
    double seconds, altitudeFt, airspeedMph;
  } rows[] = {{0, 100, 20},  {10, 100, 20}, {15, 200, 30}, {20, 300, 40},
              {30, 300, 20}, {40, 300, 0},  {99, 300, 0}};
  for (const auto& row : rows) {
    const ProfileSample at = profile.At(row.seconds);
    EXPECT_DOUBLE_EQ(at.altitudeFt, row.altitudeFt) << row.seconds;
    EXPECT_DOUBLE_EQ(at.airspeedMph, row.airspeedMph) << row.seconds;
  }
  EXPECT_EQ(profile.AltitudeRangeFt().lowest, 100);
  EXPECT_EQ(profile.AirspeedRangeMph().highest, 40);
}

template <typename Case>
std::string CaseName(const testing::TestParamInfo<Case>& c) {
  return c.param.name;
}

struct GoodCase {
  const char* name;
  bool igc;
  std::string text;
  std::size_t samples;
  ProfileSample last;   // the last sample, in seconds, feet and mph
  const char* warning;  // a word of the one warning expected, or nullptr for none
};

// A fix at 46 deg 10.000 min N (plus `northThousandths` thousandths of a minute).
std::string Fix(const char* time, const char* pressure, const char* gnss, const char* extra = "",
                int northThousandths = 0) {
  char latitude[16];
  std::snprintf(latitude, sizeof latitude, "46%05dN", 10000 + northThousandths);
  return std::string("B") + time + latitude + "00730000EA" + pressure + gnss + extra + "\r\n";
}

void PrintTo(const GoodCase& c, std::ostream* os) {
  *os << c.name;
}

class ReadsGoodProfile : public testing::TestWithParam<GoodCase> {};

TEST_P(ReadsGoodProfile, Samples) {
  const GoodCase& c = GetParam();
  const ProfileReadResult r = c.igc ? ReadIgcProfile(c.text, "t") : ReadCsvProfile(c.text, "t");
  ASSERT_TRUE(r.Ok()) << r.error;
  ASSERT_EQ(r.profile.Samples().size(), c.samples);
  const ProfileSample& last = r.profile.Samples().back();
  EXPECT_DOUBLE_EQ(last.seconds, c.last.seconds);
  EXPECT_NEAR(last.altitudeFt, c.last.altitudeFt, 1e-9);
  EXPECT_NEAR(last.airspeedMph, c.last.airspeedMph, 0.05);
  if (c.warning == nullptr) {
    EXPECT_TRUE(r.warnings.empty()) << r.warnings.front();
  } else {
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_NE(r.warnings.front().find(c.warning), std::string::npos) << r.warnings.front();
    EXPECT_EQ(r.warnings.front().rfind("t: ", 0), 0u);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Csv, ReadsGoodProfile,
    testing::Values(
        GoodCase{"Seconds",
                 false,
                 "time(s),altitude(ft),airspeed(mph)\n0,100,50\n10.5,-20,60\n",
                 2,
                 {10.5, -20, 60},
                 nullptr},
        GoodCase{"ClockMetresKmhAnyOrderCommentsCrlfMark",
                 false,
                 "\xEF\xBB\xBF# made by hand\r\n\r\nairspeed(kmh), time(hh:mm:ss) ,altitude(m)\r\n"
                 "100,10:00:00,1000\r\n",
                 1,
                 {36000, 1000 * kFt, 100 * kKmh},
                 nullptr},
        GoodCase{"KnotsAnyCase",
                 false,
                 "Time(s),Altitude(FT),Airspeed(Knots)\n0,0,100\n",
                 1,
                 {0, 0, 100 * kKnot},
                 nullptr},
        GoodCase{"KtAsKnots",
                 false,
                 "time(s),altitude(ft),airspeed(kt)\n0,0,100\n",
                 1,
                 {0, 0, 100 * kKnot},
                 nullptr},
        GoodCase{"ClockPastMidnight",
                 false,
                 "time(hh:mm:ss),altitude(ft),airspeed(mph)\n23:59:59,0,0\n24:00:05,0,0\n",
                 2,
                 {86405, 0, 0},
                 nullptr}),
    CaseName<GoodCase>);

// ISA density ratio at 3000 m from the standard tables: 0.7423.
INSTANTIATE_TEST_SUITE_P(
    Igc, ReadsGoodProfile,
    testing::Values(
        GoodCase{"IasAfterAnotherExtension",
                 true,
                 "AXXX\r\nHFDTE010126\r\nI023638FXA3941IAS\r\n" +
                     Fix("100000", "00100", "00150", "005120"),
                 1,
                 {36000, 100 * kFt, 120 * kKmh},
                 nullptr},
        GoodCase{"TasAtTheStandardAtmosphere",
                 true,
                 "I013638TAS\r\n" + Fix("100000", "03000", "03050", "200"),
                 1,
                 {36000, 3000 * kFt, 200 * kKmh * 0.86157},
                 nullptr},
        // Five digits are hundredths of km/h, as the loggers write them.
        GoodCase{"FiveDigitTasInHundredths",
                 true,
                 "I023640TAS4145GSP\r\n" + Fix("100000", "03000", "03050", "2000019000"),
                 1,
                 {36000, 3000 * kFt, 200 * kKmh * 0.86157},
                 nullptr},
        GoodCase{"FiveDigitIasInHundredths",
                 true,
                 "I013640IAS\r\n" + Fix("100000", "00100", "00150", "12050"),
                 1,
                 {36000, 100 * kFt, 120.5 * kKmh},
                 nullptr},
        // The logger's own ground speed stands in, before the fixes' one.
        GoodCase{"GspWithoutAirspeed",
                 true,
                 "I023638ENL3943GSP\r\n" + Fix("100000", "00300", "00350", "00009000") +
                     Fix("100004", "00300", "00350", "00009500", 54),
                 2,
                 {36004, 300 * kFt, 95 * kKmh},
                 "wind"},
        GoodCase{"IasChosenOverTas",
                 true,
                 "I023638TAS3941IAS\r\n" + Fix("100000", "03000", "03050", "200150"),
                 1,
                 {36000, 3000 * kFt, 150 * kKmh},
                 nullptr},
        // 54 thousandths of a minute in 4 s on a 6371 km sphere: 55.966 mph.
        GoodCase{"GroundSpeedWithoutExtensions",
                 true,
                 Fix("100000", "00300", "00350") + Fix("100004", "00300", "00350", "", 54) +
                     Fix("100008", "00300", "00350", "", 108),
                 3,
                 {36008, 300 * kFt, 55.966},
                 "wind"},
        GoodCase{"GnssWherePressureAltitudeIsMissing",
                 true,
                 "I013638IAS\r\n" + Fix("100000", "00000", "00500", "090") +
                     Fix("100004", "00000", "00510", "090"),
                 2,
                 {36004, 510 * kFt, 90 * kKmh},
                 "GNSS"},
        GoodCase{"NegativePressureAltitude",
                 true,
                 "I013638IAS\r\n" + Fix("100000", "-0012", "00030", "090"),
                 1,
                 {36000, -12 * kFt, 90 * kKmh},
                 nullptr},
        GoodCase{"OverMidnight",
                 true,
                 "I013638IAS\r\n" + Fix("235959", "00100", "00150", "090") +
                     Fix("000001", "00100", "00150", "091"),
                 2,
                 {86401, 100 * kFt, 91 * kKmh},
                 nullptr},
        GoodCase{"RepeatedSecondLeftOut",
                 true,
                 "I013638IAS\r\n" + Fix("100000", "00100", "00150", "090") +
                     Fix("100000", "00200", "00250", "095") +
                     Fix("100002", "00100", "00150", "091"),
                 2,
                 {36002, 100 * kFt, 91 * kKmh},
                 "repeating"},
        GoodCase{"OtherRecordsPassedOver",
                 true,
                 "I013638IAS\r\nLXXX a note\r\n" + Fix("100000", "00100", "00150", "090") +
                     "E100001PEV\r\nGABCDEF\r\n",
                 1,
                 {36000, 100 * kFt, 90 * kKmh},
                 nullptr}),
    CaseName<GoodCase>);

struct BadCase {
  const char* name;
  bool igc;
  std::string text;
  const char* where;  // the message's start: "t:LINE: " or "t: "
  const char* what;   // a word of it
};

void PrintTo(const BadCase& c, std::ostream* os) {
  *os << c.name;
}

class RefusesBadProfile : public testing::TestWithParam<BadCase> {};

TEST_P(RefusesBadProfile, WithOneLineNamingFileAndLine) {
  const BadCase& c = GetParam();
  const ProfileReadResult r = c.igc ? ReadIgcProfile(c.text, "t") : ReadCsvProfile(c.text, "t");
  EXPECT_FALSE(r.Ok());
  EXPECT_TRUE(r.profile.Empty());
  EXPECT_EQ(r.error.rfind(c.where, 0), 0u) << r.error;
  EXPECT_NE(r.error.find(c.what), std::string::npos) << r.error;
  EXPECT_EQ(r.error.find('\n'), std::string::npos) << r.error;
}

const std::string kCsvHeader = "time(s),altitude(ft),airspeed(mph)\n";

INSTANTIATE_TEST_SUITE_P(
    Csv, RefusesBadProfile,
    testing::Values(
        BadCase{"NoUnit", false, "# c\ntime,altitude(ft),airspeed(mph)\n", "t:2: ", "no unit"},
        BadCase{"UnknownUnit", false, "time(s),altitude(yd),airspeed(mph)\n", "t:1: ", "'yd'"},
        BadCase{"UnknownColumn", false, "time(s),height(ft),airspeed(mph)\n", "t:1: ", "height"},
        BadCase{"MissingColumn", false, "time(s),altitude(ft)\n0,0\n", "t:1: ", "airspeed"},
        BadCase{"TwiceNamed", false, "time(s),altitude(ft),airspeed(mph),altitude(m)\n",
                "t:1: ", "two"},
        BadCase{"BadNumber", false, kCsvHeader + "0,1e3,50\n", "t:2: ", "'1e3'"},
        BadCase{"FieldCount", false, kCsvHeader + "0,100\n", "t:2: ", "2 fields"},
        BadCase{"BadClock", false, "time(hh:mm:ss),altitude(ft),airspeed(mph)\n10:60:00,0,0\n",
                "t:2: ", "hh:mm:ss"},
        BadCase{"ClockSixtySeconds", false,
                "time(hh:mm:ss),altitude(ft),airspeed(mph)\n10:00:60,0,0\n", "t:2: ", "hh:mm:ss"},
        BadCase{"EmptyField", false, kCsvHeader + "0,,50\n", "t:2: ", "'' is no number"},
        BadCase{"SignOnly", false, kCsvHeader + "0,100,-\n", "t:2: ", "'-' is no number"},
        BadCase{"TimeBackwards", false, kCsvHeader + "5,0,0\n\n4,0,0\n", "t:4: ", "after"},
        BadCase{"TimeStands", false, kCsvHeader + "5,0,0\n5,0,0\n", "t:3: ", "after"},
        BadCase{"AltitudeBeyondConverter", false, kCsvHeader + "0,50861,0\n", "t:2: ", "static"},
        BadCase{"AltitudeBelowConverter", false, kCsvHeader + "0,-5942,0\n", "t:2: ", "static"},
        BadCase{"AirspeedBeyondChannel", false, kCsvHeader + "0,0,250.5\n", "t:2: ", "airspeed"},
        BadCase{"AirspeedBelowZero", false, kCsvHeader + "0,0,-1\n", "t:2: ", "airspeed"},
        BadCase{"NoHeader", false, "# only a comment\n\n", "t: ", "header"},
        BadCase{"NoSamples", false, kCsvHeader, "t: ", "no samples"}),
    CaseName<BadCase>);

const std::string kIas = "I013638IAS\r\n";

INSTANTIATE_TEST_SUITE_P(
    Igc, RefusesBadProfile,
    testing::Values(
        BadCase{"ShortFix", true, "B1000004610000N00730000EA0010000\r\n", "t:1: ", "35"},
        BadCase{"BadTime", true, Fix("246000", "00100", "00150"), "t:1: ", "HHMMSS"},
        BadCase{"BadLatitude", true, "B1000009100000N00730000EA0010000150\r\n",
                "t:1: ", "latitude"},
        BadCase{"BadLongitude", true, "B1000004610000N00730000XA0010000150\r\n",
                "t:1: ", "longitude"},
        BadCase{"BadValidity", true, "B1000004610000N00730000EX0010000150\r\n",
                "t:1: ", "validity"},
        BadCase{"BadAltitude", true, Fix("100000", "00a00", "00150"), "t:1: ", "pressure"},
        BadCase{"BadGnssAltitude", true, Fix("100000", "00100", "0-150"), "t:1: ", "GNSS"},
        BadCase{"IRecordLength", true, "I023638FXA3941\r\n", "t:1: ", "bytes"},
        BadCase{"ExtensionInsideTheFix", true, "I013032IAS\r\n", "t:1: ", "byte 35"},
        BadCase{"FixEndsBeforeItsAirspeed", true, kIas + Fix("100000", "00100", "00150", "09"),
                "t:2: ", "airspeed"},
        BadCase{"AirspeedNotDigits", true, kIas + Fix("100000", "00100", "00150", "9 0"),
                "t:2: ", "km/h"},
        BadCase{"FourDigitSpeed", true, "I013639TAS\r\n", "t:1: ", "TAS of 4 bytes"},
        // The unprintable byte is escaped as every message escapes it.
        BadCase{"UnprintableInAMessage", true,
                "I013638IAS\r\n" + Fix("100000", "00100", "00150", "\x1b\\d"),
                "t:2: ", "'\\x1b\\d'"},
        BadCase{"IRecordAfterFixes", true, Fix("100000", "00100", "00150") + kIas,
                "t:2: ", "after"},
        BadCase{"SecondIRecord", true, kIas + kIas, "t:2: ", "second"},
        BadCase{
            "TimeBackwards", true,
            kIas + Fix("120000", "00100", "00150", "090") + Fix("110000", "00100", "00150", "090"),
            "t:3: ", "back"},
        BadCase{"NotARecord", true, kIas + "time(s),altitude(ft)\r\n", "t:2: ", "no IGC record"},
        BadCase{"NoFixes", true, "AXXX\r\nHFDTE010126\r\n" + kIas, "t: ", "no B records"},
        BadCase{
            "IasBeyondChannel", true,
            kIas + Fix("100000", "00100", "00150", "090") + Fix("100004", "00100", "00150", "403"),
            "t:3: ", "airspeed"},
        BadCase{"FiveDigitTasBeyondChannel", true,
                "I013640TAS\r\n" + Fix("100000", "00100", "00150", "76420"),
                "t:2: ", "TAS 764.2 km/h"},
        BadCase{"AltitudeBeyondConverter", true, kIas + Fix("100000", "15503", "15503", "090"),
                "t:2: ", "static"}),
    CaseName<BadCase>);

TEST(ProfileSizeCap, TextAndFileOverTheCapRefused) {
  std::string folder = (std::filesystem::path(testing::TempDir()) / "kvr9_cap_XXXXXX").string();
  ASSERT_NE(mkdtemp(folder.data()), nullptr);
  // Exactly the cap is read, as a text and as a file.
  {
    std::string full = kCsvHeader + "0,0,0\n#";
    full.resize(kLargestProfileBytes, '#');
    const ProfileReadResult atCap = ReadProfileText(full, "full.csv");
    EXPECT_TRUE(atCap.Ok()) << atCap.error;
    std::ofstream(folder + "/full.csv", std::ios::binary) << full;
  }
  const ProfileReadResult fileAtCap = ReadProfileFile(folder + "/full.csv");
  EXPECT_TRUE(fileAtCap.Ok()) << fileAtCap.error;
  EXPECT_EQ(fileAtCap.profile.Samples().size(), 1u);

  const std::string big(kLargestProfileBytes + 1, '#');
  for (const bool igc : {false, true}) {
    const ProfileReadResult r = igc ? ReadIgcProfile(big, "big") : ReadCsvProfile(big, "big");
    EXPECT_EQ(r.error.rfind("big: ", 0), 0u) << r.error;
    EXPECT_NE(r.error.find("64 MB"), std::string::npos) << r.error;
  }
  // A sparse file: the size is refused before a byte is read.
  const std::filesystem::path path = std::filesystem::path(folder) / "over-cap.csv";
  { std::ofstream(path) << kCsvHeader; }
  std::filesystem::resize_file(path, kLargestProfileBytes + 1);
  const ProfileReadResult r = ReadProfileFile(path.string());
  std::filesystem::remove_all(folder);
  EXPECT_EQ(r.error, path.string() + ": " + std::to_string(kLargestProfileBytes + 1) +
                         " bytes is more than the 64 MB a profile may hold");
}

// Files are told apart by extension, else by the first line.
TEST(ProfileFile, ReaderChosenByNameOrFirstLine) {
  const std::filesystem::path dir = testing::TempDir();
  const std::string igc = "AXXX1\r\n" + Fix("100000", "00100", "00150");
  const std::string csv = kCsvHeader + "0,0,0\n";
  const struct {
    const char* name;
    const std::string* text;
    bool ok;
  } rows[] = {{"p.IGC", &igc, true},
              {"p.dat", &igc, true},
              {"p", &csv, true},
              {"p.igc", &csv, false},
              {"p.csv", &igc, false}};
  for (const auto& row : rows) {
    const std::filesystem::path path = dir / row.name;
    { std::ofstream(path, std::ios::binary) << *row.text; }
    const ProfileReadResult r = ReadProfileFile(path.string());
    std::filesystem::remove(path);
    EXPECT_EQ(r.Ok(), row.ok) << row.name << ": " << r.error;
  }
  EXPECT_EQ(ReadProfileFile("/nonexistent/flight.igc").error,
            "/nonexistent/flight.igc: cannot be opened");
  EXPECT_EQ(ReadProfileFile(dir.string()).error, dir.string() + ": is a folder, not a profile");
}

// The limits the readers hold profiles to are what the firmware's channels
// read at their ends, under the settings that stretch them furthest.
TEST(ProfileLimits, AreTheConvertersEnds) {
  const struct {
    std::int32_t altCount;
    std::int8_t altCalOffset;
    std::int32_t asiCount;
    std::uint8_t asiCalPercent;
    double altitudeFt;
    double airspeedMph;
  } rows[] = {{0, -125, 4096, 150, kHighestProfileAltitudeFt, kHighestProfileAirspeedMph},
              {4096, 125, 0, 50, kLowestProfileAltitudeFt, 0}};
  for (const auto& row : rows) {
    Instrument instrument;
    RunPowerOnSequence(instrument);
    instrument.state.settings.altCalOffset = row.altCalOffset;
    instrument.state.settings.asiCalPercent = row.asiCalPercent;
    instrument.state.settings.asiFilter = 0;
    instrument.state.airData.altAdcRaw = row.altCount;
    instrument.state.airData.asiAdcRaw = row.asiCount;
    UpdateAltitude(instrument);
    UpdateAirspeed(instrument);
    EXPECT_EQ(instrument.state.airData.pressureAltitudeFt, row.altitudeFt);
    EXPECT_EQ(instrument.state.airData.airspeed, row.airspeedMph);
  }
}

std::string ExampleFlight(const char* name) {
  return std::string(KVR9_EXAMPLE_FLIGHTS_DIR) + "/" + name;
}

// Expected values come from the key points in scripts/make-example-flights.py,
// not from reading the file.
TEST(ExampleFlights, SoaringHourFromItsIasExtensionOverMidnight) {
  const ProfileReadResult r = ReadProfileFile(ExampleFlight("soaring-hour.igc"));
  ASSERT_TRUE(r.Ok()) << r.error;
  EXPECT_TRUE(r.warnings.empty());
  const FlightProfile& profile = r.profile;
  EXPECT_EQ(profile.Samples().size(), 3600u / 4 + 1);
  EXPECT_EQ(profile.StartSeconds(), 23 * 3600 + 32 * 60);
  EXPECT_EQ(profile.DurationSeconds(), 3600);
  EXPECT_DOUBLE_EQ(profile.AltitudeRangeFt().lowest, 120 * kFt);
  EXPECT_DOUBLE_EQ(profile.AltitudeRangeFt().highest, 1850 * kFt);
  EXPECT_DOUBLE_EQ(profile.AirspeedRangeMph().highest, 160 * kKmh);
}

TEST(ExampleFlights, GroundSpeedFileAndCircuit) {
  const ProfileReadResult ground = ReadProfileFile(ExampleFlight("ground-speed.igc"));
  ASSERT_TRUE(ground.Ok()) << ground.error;
  EXPECT_EQ(ground.warnings.size(), 1u);
  EXPECT_NEAR(ground.profile.AirspeedRangeMph().lowest, 55.966, 0.01);
  EXPECT_NEAR(ground.profile.AirspeedRangeMph().highest, 55.966, 0.01);

  const ProfileReadResult circuit = ReadProfileFile(ExampleFlight("circuit.csv"));
  ASSERT_TRUE(circuit.Ok()) << circuit.error;
  EXPECT_EQ(circuit.profile.DurationSeconds(), 480);
  EXPECT_EQ(circuit.profile.AltitudeRangeFt().highest, 1500);
  EXPECT_EQ(circuit.profile.AirspeedRangeMph().highest, 72);
}

// The demo is written for the power-on settings: it must take off, pass the
// high alarm and dip under the low alarm in the air, and end at rest.
TEST(DemoFlight, ShowsBothAlarmsUnderThePowerOnSettings) {
  Instrument instrument;
  LoadDefaultSettings(instrument);
  const Settings& s = instrument.state.settings;
  ASSERT_EQ(s.asiUnit, 0);  // speeds in mph, as the profile's
  ASSERT_EQ(s.qnh, 1013250u);
  ASSERT_TRUE(s.highAlarmOn && s.lowAlarmOn);

  const FlightProfile& demo = DemoFlight();
  const double ground = demo.Samples().front().altitudeFt;
  bool airborne = false;
  bool high = false;
  bool lowInTheAir = false;
  double previous = -1;
  for (const ProfileSample& sample : demo.Samples()) {
    EXPECT_GT(sample.seconds, previous);
    previous = sample.seconds;
    EXPECT_GE(sample.altitudeFt, kLowestProfileAltitudeFt);
    EXPECT_LE(sample.airspeedMph, kHighestProfileAirspeedMph);
    airborne = airborne || (sample.airspeedMph >= s.takeoffSpeed && sample.altitudeFt > ground);
    high = high || sample.airspeedMph > s.highAlarmSpeed;
    lowInTheAir = lowInTheAir || (airborne && sample.airspeedMph < s.lowAlarmSpeed &&
                                  sample.altitudeFt > ground + 20);
  }
  EXPECT_TRUE(airborne);
  EXPECT_TRUE(high);
  EXPECT_TRUE(lowInTheAir);
  EXPECT_EQ(demo.Samples().back().airspeedMph, 0);
  EXPECT_EQ(demo.Samples().back().altitudeFt, ground);
  EXPECT_GE(demo.DurationSeconds(), 180);
  EXPECT_LE(demo.DurationSeconds(), 600);
}

}  // namespace
}  // namespace kvr9
