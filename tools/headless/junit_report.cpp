#include "tools/headless/junit_report.h"

#include <QFile>
#include <QString>
#include <QXmlStreamWriter>

namespace kvr9::headless {

namespace {

// XML 1.0 cannot hold most control characters even escaped; they are
// written out as \xNN so the report stays well-formed. Bytes that are not
// UTF-8 become U+FFFD.
QString XmlText(const std::string& text) {
  std::string safe;
  safe.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 && c != '\n' && c != '\t' && c != '\r') {
      static constexpr char kHex[] = "0123456789abcdef";
      safe.append("\\x");
      safe.push_back(kHex[byte >> 4]);
      safe.push_back(kHex[byte & 0x0F]);
    } else {
      safe.push_back(c);
    }
  }
  return QString::fromUtf8(safe.data(), static_cast<qsizetype>(safe.size()));
}

QString Seconds(double seconds) {
  return QString::number(seconds, 'f', 3);
}

void WriteTestCase(QXmlStreamWriter& xml, const ScenarioResult& result) {
  xml.writeStartElement("testcase");
  xml.writeAttribute("name", XmlText(result.name));
  xml.writeAttribute("classname", "kvr9-headless");
  xml.writeAttribute("time", Seconds(result.seconds));
  if (result.status != kExitPassed) {
    const bool failed = result.status == kExitExpectationFailed;
    xml.writeStartElement(failed ? "failure" : "error");
    xml.writeAttribute("message", XmlText(result.message));
    xml.writeAttribute("type", failed ? "expectation" : "malformed");
    xml.writeCharacters(XmlText(result.details));
    xml.writeEndElement();
  }
  if (!result.output.empty()) xml.writeTextElement("system-out", XmlText(result.output));
  xml.writeEndElement();
}

}  // namespace

bool WriteJUnitReport(const std::string& path, const std::vector<ScenarioResult>& results) {
  int failures = 0;
  int errors = 0;
  double seconds = 0;
  for (const ScenarioResult& result : results) {
    failures += result.status == kExitExpectationFailed ? 1 : 0;
    errors += result.status == kExitBadInput ? 1 : 0;
    seconds += result.seconds;
  }
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  QXmlStreamWriter xml(&file);
  xml.setAutoFormatting(true);
  xml.writeStartDocument();
  xml.writeStartElement("testsuites");
  xml.writeStartElement("testsuite");
  xml.writeAttribute("name", "kvr9-headless");
  xml.writeAttribute("tests", QString::number(results.size()));
  xml.writeAttribute("failures", QString::number(failures));
  xml.writeAttribute("errors", QString::number(errors));
  xml.writeAttribute("time", Seconds(seconds));
  for (const ScenarioResult& result : results) WriteTestCase(xml, result);
  xml.writeEndElement();
  xml.writeEndElement();
  xml.writeEndDocument();
  return !xml.hasError() && file.flush();
}

}  // namespace kvr9::headless
