// Reading a whole file for the driver, up to a stated size: a scenario or a
// frame file named by mistake as /dev/zero, or a huge log, is refused after
// reading just past that size instead of filling the memory.
#pragma once

#include <cstddef>
#include <istream>
#include <string>

namespace kvr9 {

struct FileText {
  bool ok = false;
  std::string text;
  std::string problem;  // why not ok: the system's reason, or the size
};

FileText ReadWholeFile(const std::string& name, std::size_t largest);
FileText ReadWholeStream(std::istream& in, std::size_t largest);

// Writes the text as the whole file; whether every byte went out.
bool WriteWholeFile(const std::string& name, const std::string& text);

}  // namespace kvr9
