// CSV profiles: a header line naming the three columns with their units,
// then one sample a line, comma separated. Blank lines and lines starting
// with '#' are skipped. See examples/flights/README.md.
#include <array>
#include <cctype>
#include <vector>

#include "host/flights/flight_profile.h"
#include "host/flights/profile_text.h"

namespace kvr9 {

using namespace profile_text;

namespace {

enum Column : std::size_t { TimeColumn, AltitudeColumn, AirspeedColumn, ColumnCount };

struct ColumnUnit {
  Column column;
  std::string_view name;
  std::string_view unit;
  double factor;  // to seconds, feet or mph; 0 marks hh:mm:ss
};

constexpr std::array kColumnUnits{
    ColumnUnit{TimeColumn, "time", "s", 1.0},
    ColumnUnit{TimeColumn, "time", "hh:mm:ss", 0.0},
    ColumnUnit{AltitudeColumn, "altitude", "ft", 1.0},
    ColumnUnit{AltitudeColumn, "altitude", "m", kFeetPerMetre},
    ColumnUnit{AirspeedColumn, "airspeed", "mph", 1.0},
    ColumnUnit{AirspeedColumn, "airspeed", "kmh", kMphPerKmh},
    ColumnUnit{AirspeedColumn, "airspeed", "km/h", kMphPerKmh},
    ColumnUnit{AirspeedColumn, "airspeed", "knots", kMphPerKnot},
    ColumnUnit{AirspeedColumn, "airspeed", "kt", kMphPerKnot},
};

constexpr std::array<std::string_view, ColumnCount> kUnitChoices{
    "time(s) or time(hh:mm:ss)", "altitude(ft) or altitude(m)",
    "airspeed(mph), airspeed(kmh) or airspeed(knots)"};

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (;;) {
    const std::size_t comma = line.find(',');
    fields.push_back(Trim(line.substr(0, comma)));
    if (comma == std::string_view::npos) return fields;
    line.remove_prefix(comma + 1);
  }
}

struct Header {
  std::array<std::size_t, ColumnCount> position{};
  std::array<double, ColumnCount> factor{};
  std::size_t fields = 0;
};

// Empty on success, else what is wrong with the header.
std::string ReadHeader(std::string_view line, Header& header) {
  const std::vector<std::string_view> fields = SplitFields(line);
  std::array<bool, ColumnCount> seen{};
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const std::string field = Lower(fields[i]);
    const std::size_t open = field.find('(');
    const std::string name(Trim(std::string_view(field).substr(0, open)));
    const ColumnUnit* named = nullptr;
    for (const ColumnUnit& choice : kColumnUnits) {
      if (choice.name == name) named = &choice;
    }
    if (named == nullptr) {
      return "unknown column " + Quoted(fields[i]) +
             "; the columns are time, altitude and airspeed, each with its unit, as in "
             "time(s),altitude(ft),airspeed(mph)";
    }
    const Column column = named->column;
    if (open == std::string::npos || field.back() != ')') {
      return "column " + Quoted(fields[i]) + " gives no unit; write " +
             std::string(kUnitChoices[column]);
    }
    const std::string unit(Trim(std::string_view(field).substr(open + 1, field.size() - open - 2)));
    const ColumnUnit* chosen = nullptr;
    for (const ColumnUnit& choice : kColumnUnits) {
      if (choice.column == column && choice.unit == unit) chosen = &choice;
    }
    if (chosen == nullptr) {
      return "unknown unit " + Quoted(unit) + " for " + name + "; write " +
             std::string(kUnitChoices[column]);
    }
    if (seen[column]) return "two " + name + " columns";
    seen[column] = true;
    header.position[column] = i;
    header.factor[column] = chosen->factor;
  }
  for (std::size_t column = 0; column < ColumnCount; ++column) {
    if (!seen[column]) return "the header has no " + std::string(kUnitChoices[column]) + " column";
  }
  header.fields = fields.size();
  return {};
}

// hh:mm:ss, the hours of any length up to 6 digits so that a flight may run
// past midnight as 24:00:05.
bool ParseClock(std::string_view text, double& seconds) {
  const std::size_t first = text.find(':');
  if (first == std::string_view::npos || first == 0 || first > 6) return false;
  if (text.size() != first + 6 || text[first + 3] != ':') return false;
  long hours = 0;
  long minutes = 0;
  long secs = 0;
  if (!ParseDigits(text.substr(0, first), hours) ||
      !ParseDigits(text.substr(first + 1, 2), minutes) ||
      !ParseDigits(text.substr(first + 4, 2), secs) || minutes > 59 || secs > 59) {
    return false;
  }
  seconds = static_cast<double>(hours) * 3600 + static_cast<double>(minutes * 60 + secs);
  return true;
}

}  // namespace

ProfileReadResult ReadCsvProfile(std::string_view text, const std::string& source) {
  ProfileReadResult result;
  result.error = SizeError(text.size(), source);
  if (!result.Ok()) return result;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // a UTF-8 mark from an editor

  LineReader lines(text);
  std::string_view line;
  Header header;
  bool haveHeader = false;
  std::vector<ProfileSample> samples;
  while (lines.Next(line)) {
    const std::string_view content = Trim(line);
    if (content.empty() || content.front() == '#') continue;
    const auto fail = [&](const std::string& what) {
      result.error = AtLine(source, lines.Number(), what);
      return result;
    };
    if (!haveHeader) {
      const std::string wrong = ReadHeader(content, header);
      if (!wrong.empty()) return fail(wrong);
      haveHeader = true;
      continue;
    }
    const std::vector<std::string_view> fields = SplitFields(content);
    if (fields.size() != header.fields) {
      return fail(std::to_string(fields.size()) + " fields where the header names " +
                  std::to_string(header.fields));
    }
    std::array<double, ColumnCount> values{};
    for (std::size_t column = 0; column < ColumnCount; ++column) {
      const std::string_view field = fields[header.position[column]];
      const double factor = header.factor[column];
      const bool read =
          factor == 0 ? ParseClock(field, values[column]) : ParseDecimal(field, values[column]);
      if (!read) {
        return fail(Quoted(field) + " is no " +
                    (factor == 0 ? std::string("time hh:mm:ss") : std::string("number")));
      }
      if (factor != 0) values[column] *= factor;
    }
    const ProfileSample sample{values[TimeColumn], values[AltitudeColumn], values[AirspeedColumn]};
    if (!samples.empty() && !(sample.seconds > samples.back().seconds)) {
      return fail("time " + Number(sample.seconds) + " s does not come after " +
                  Number(samples.back().seconds) + " s of the sample before");
    }
    const std::string beyond = ReachError(sample.altitudeFt, sample.airspeedMph);
    if (!beyond.empty()) return fail(beyond);
    samples.push_back(sample);
  }
  if (!haveHeader) {
    result.error = InFile(source, "no header line naming the columns");
  } else if (samples.empty()) {
    result.error = InFile(source, "no samples after the header");
  } else {
    result.profile = FlightProfile(std::move(samples));
  }
  return result;
}

}  // namespace kvr9
