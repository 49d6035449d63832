// Feeds arbitrary bytes to the JUnit report reader that merge-junit joins
// shards' reports with. Besides the sanitizers' findings it stops on a
// broken promise of the reader: an error that is not one line naming the
// report, or a report it accepts whose testcases, written again, do not
// read back as the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "headless/junit_read.h"
#include "headless/junit_report.h"

namespace {

void Check(bool promise) {
  if (!promise) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const kvr9::headless::JUnitRead read = kvr9::headless::ReadJUnitText(text, "fuzz");
  if (!read.ok) {
    Check(read.error.starts_with("fuzz:"));
    Check(read.error.find('\n') == std::string::npos);
    return 0;
  }
  const std::string written = kvr9::headless::JUnitReportText(read.results);
  const kvr9::headless::JUnitRead again = kvr9::headless::ReadJUnitText(written, "fuzz");
  Check(again.ok && again.results.size() == read.results.size());
  Check(kvr9::headless::JUnitReportText(again.results) == written);
  return 0;
}
