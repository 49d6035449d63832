#include "headless/junit_read.h"

#include <expat.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "host/common/read_file.h"

namespace kvr9::headless {

namespace {

// What an open element is to the reader.
enum class Open : unsigned char { Other, Testcase, Outcome, Output };

class JUnitParser {
 public:
  JUnitParser(std::string_view text, std::string name) : text_(text), name_(std::move(name)) {}

  JUnitRead Read() {
    parser_ = XML_ParserCreate("UTF-8");
    if (parser_ == nullptr) return Refused("cannot start the XML parser");
    XML_SetUserData(parser_, this);
    XML_SetElementHandler(parser_, Start, End);
    XML_SetCharacterDataHandler(parser_, Text);
    XML_SetStartDoctypeDeclHandler(parser_, Doctype);
    XML_SetEntityDeclHandler(parser_, Entity);
    const bool parsed = XML_Parse(parser_, text_.data(), static_cast<int>(text_.size()), 1) != 0;
    if (!parsed && problem_.empty()) {
      problem_ = Line() + "not a JUnit report: " + XML_ErrorString(XML_GetErrorCode(parser_));
    }
    XML_ParserFree(parser_);
    if (!problem_.empty()) return {false, name_ + ":" + problem_, {}};
    if (!sawTestsuite_) return {false, name_ + ": not a JUnit report: no testsuite", {}};
    return {true, {}, std::move(results_)};
  }

 private:
  static JUnitParser& Self(void* data) { return *static_cast<JUnitParser*>(data); }

  std::string Line() const { return std::to_string(XML_GetCurrentLineNumber(parser_)) + ": "; }

  JUnitRead Refused(const std::string& why) const { return {false, name_ + ": " + why, {}}; }

  void Stop(const std::string& why) {
    if (problem_.empty()) problem_ = Line() + why;
    XML_StopParser(parser_, XML_FALSE);
  }

  static const char* Attribute(const XML_Char** attributes, const char* wanted) {
    for (const XML_Char** a = attributes; *a != nullptr; a += 2) {
      if (std::strcmp(a[0], wanted) == 0) return a[1];
    }
    return nullptr;
  }

  static void Start(void* data, const XML_Char* element, const XML_Char** attributes) {
    JUnitParser& self = Self(data);
    const std::string_view name = element;
    const Open inside = self.open_.empty() ? Open::Other : self.open_.back();
    Open kind = Open::Other;
    if (name == "testsuite") self.sawTestsuite_ = true;
    if (name == "testcase") {
      if (self.inTestcase_) return self.Stop("a testcase inside a testcase");
      self.StartTestcase(attributes);
      kind = Open::Testcase;
    } else if (inside == Open::Testcase && (name == "failure" || name == "error")) {
      ScenarioResult& result = self.results_.back();
      if (result.status != kExitPassed) return self.Stop("a testcase with two outcomes");
      result.status = name == "failure" ? kExitExpectationFailed : kExitBadInput;
      const char* message = Attribute(attributes, "message");
      result.message = message != nullptr ? message : "";
      kind = Open::Outcome;
    } else if (inside == Open::Testcase && name == "system-out") {
      kind = Open::Output;
    } else if (inside == Open::Testcase && name == "skipped") {
      return self.Stop("a skipped testcase, which a merged report cannot keep");
    }
    if (kind == Open::Testcase) self.inTestcase_ = true;
    self.open_.push_back(kind);
  }

  static constexpr double kLongest = 365.0 * 24 * 60 * 60;

  void StartTestcase(const XML_Char** attributes) {
    const char* name = Attribute(attributes, "name");
    if (name == nullptr) return Stop("a testcase without a name");
    ScenarioResult result;
    result.name = name;
    if (const char* time = Attribute(attributes, "time")) {
      char* end = nullptr;
      result.seconds = std::strtod(time, &end);
      if (end == time || *end != '\0' || !(result.seconds >= 0 && result.seconds <= kLongest)) {
        return Stop("a testcase's time is not a number of seconds up to a year");
      }
      // Kept to the millisecond a report writes.
      result.seconds = std::round(result.seconds * 1000) / 1000;
    }
    results_.push_back(std::move(result));
  }

  static void End(void* data, const XML_Char*) {
    JUnitParser& self = Self(data);
    if (self.open_.empty()) return;
    if (self.open_.back() == Open::Testcase) self.inTestcase_ = false;
    self.open_.pop_back();
  }

  static void Text(void* data, const XML_Char* text, int length) {
    JUnitParser& self = Self(data);
    if (self.open_.empty() || self.results_.empty()) return;
    const std::string_view piece(text, static_cast<std::size_t>(length));
    if (self.open_.back() == Open::Outcome) self.results_.back().details.append(piece);
    if (self.open_.back() == Open::Output) self.results_.back().output.append(piece);
  }

  // A report declares nothing: no DOCTYPE, no entities to expand.
  static void Doctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
    Self(data).Stop("a DOCTYPE, which a report does not have");
  }

  static void Entity(void* data, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                     const XML_Char*, const XML_Char*, const XML_Char*) {
    Self(data).Stop("an entity declaration, which a report does not have");
  }

  std::string_view text_;
  std::string name_;
  XML_Parser parser_ = nullptr;
  std::string problem_;
  std::vector<Open> open_;
  bool inTestcase_ = false;
  bool sawTestsuite_ = false;
  std::vector<ScenarioResult> results_;
};

}  // namespace

JUnitRead ReadJUnitText(std::string_view text, const std::string& name) {
  if (text.size() > kLargestJUnitReportBytes) {
    return {
        false, name + ": larger than " + std::to_string(kLargestJUnitReportBytes) + " bytes", {}};
  }
  return JUnitParser(text, name).Read();
}

JUnitRead ReadJUnitFile(const std::string& path) {
  const FileText file = ReadWholeFile(path, kLargestJUnitReportBytes);
  if (!file.ok) return {false, path + ": " + file.problem, {}};
  return ReadJUnitText(file.text, path);
}

}  // namespace kvr9::headless
