#include "headless/junit_report.h"

#include <cstdint>
#include <cstdio>
#include <string_view>

#include "host/common/read_file.h"

namespace kvr9::headless {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// The length of the well-formed UTF-8 sequence at the start of text, with
// its code point; 0 when the bytes are not UTF-8 (overlong forms and
// surrogates included).
std::size_t Utf8Sequence(std::string_view text, std::uint32_t& codePoint) {
  const auto lead = static_cast<unsigned char>(text[0]);
  std::size_t length = 0;
  std::uint32_t lowest = 0;
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, codePoint = lead & 0x1Fu, lowest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, codePoint = lead & 0x0Fu, lowest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, codePoint = lead & 0x07u, lowest = 0x10000;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xC0) != 0x80) return 0;
    codePoint = codePoint << 6 | (next & 0x3Fu);
  }
  const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
  if (codePoint < lowest || codePoint > 0x10FFFF || surrogate) return 0;
  return length;
}

// Text as XML character data, or as an attribute's value in double quotes.
// XML 1.0 cannot hold most control characters even escaped; they are
// written out as \xNN so the report stays well-formed. Bytes that are not
// UTF-8, and the two non-characters XML refuses, become U+FFFD.
std::string Xml(std::string_view text, bool attribute = false) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    std::uint32_t code = 0;
    const std::size_t length = Utf8Sequence(text, code);
    if (length == 0 || code == 0xFFFE || code == 0xFFFF) {
      out += kReplacement;
      text.remove_prefix(1);
      continue;
    }
    if (code == '&') {
      out += "&amp;";
    } else if (code == '<') {
      out += "&lt;";
    } else if (code == '>') {
      out += "&gt;";
    } else if (code == '"' && attribute) {
      out += "&quot;";
    } else if ((code == '\n' || code == '\t' || code == '\r') && attribute) {
      // Kept through the attribute-value normalisation of every parser.
      out += "&#" + std::to_string(code) + ";";
    } else if (code == '\r') {
      out += "&#13;";
    } else if (code < 0x20 && code != '\n' && code != '\t') {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", code);
      out += escaped;
    } else {
      out.append(text.substr(0, length));
    }
    text.remove_prefix(length);
  }
  return out;
}

std::string Seconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", seconds);
  return text;
}

std::string Attribute(std::string_view name, std::string_view value) {
  return " " + std::string(name) + "=\"" + Xml(value, true) + "\"";
}

std::string TestCase(const ScenarioResult& result) {
  std::string xml = "    <testcase" + Attribute("name", result.name) +
                    Attribute("classname", "kvr9-headless") +
                    Attribute("time", Seconds(result.seconds));
  std::string output = result.output;
  for (const std::string& file : result.attachments) output += "[[ATTACHMENT|" + file + "]]\n";
  const bool hasBody = result.status != kExitPassed || !output.empty();
  if (!hasBody) return xml + "/>\n";
  xml += ">\n";
  if (result.status != kExitPassed) {
    const bool failed = result.status == kExitExpectationFailed;
    const char* element = failed ? "failure" : "error";
    xml += "      <" + std::string(element) + Attribute("message", result.message) +
           Attribute("type", failed ? "expectation" : "malformed") + ">" + Xml(result.details) +
           "</" + element + ">\n";
  }
  if (!output.empty()) xml += "      <system-out>" + Xml(output) + "</system-out>\n";
  return xml + "    </testcase>\n";
}

}  // namespace

std::string JUnitReportText(const std::vector<ScenarioResult>& results) {
  int failures = 0;
  int errors = 0;
  double seconds = 0;
  for (const ScenarioResult& result : results) {
    failures += result.status == kExitExpectationFailed ? 1 : 0;
    errors += result.status == kExitBadInput ? 1 : 0;
    seconds += result.seconds;
  }
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites>\n  <testsuite" +
      Attribute("name", "kvr9-headless") + Attribute("tests", std::to_string(results.size())) +
      Attribute("failures", std::to_string(failures)) +
      Attribute("errors", std::to_string(errors)) + Attribute("time", Seconds(seconds)) + ">\n";
  for (const ScenarioResult& result : results) xml += TestCase(result);
  xml += "  </testsuite>\n</testsuites>\n";
  return xml;
}

bool WriteJUnitReport(const std::string& path, const std::vector<ScenarioResult>& results) {
  return WriteWholeFile(path, JUnitReportText(results));
}

}  // namespace kvr9::headless
