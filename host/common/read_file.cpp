#include "host/common/read_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace kvr9 {

namespace {

// What was read is kept only when all of it was read and it fits.
void Conclude(FileText& result, const char* readError, std::size_t largest) {
  if (readError != nullptr) {
    result.problem = readError;
  } else if (result.text.size() > largest) {
    result.problem = "larger than " + std::to_string(largest) + " bytes";
  } else {
    result.ok = true;
  }
  if (!result.ok) std::string().swap(result.text);
}

}  // namespace

FileText ReadWholeFile(const std::string& name, std::size_t largest) {
  FileText result;
  std::FILE* file = std::fopen(name.c_str(), "rb");
  if (file == nullptr) {
    result.problem = std::strerror(errno);
    return result;
  }
  // A regular file says its size, so the text is allocated once.
  struct stat status {};
  if (fstat(fileno(file), &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
    const auto size = static_cast<std::size_t>(status.st_size);
    result.text.reserve(size < largest ? size : largest + 1);
  }
  char buffer[4096];
  std::size_t count = 0;
  while (result.text.size() <= largest &&
         (count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    result.text.append(buffer, count);
  }
  // A folder opens but cannot be read; errno says why.
  const bool failed = std::ferror(file) != 0;
  const int readError = errno;
  std::fclose(file);
  Conclude(result, failed ? std::strerror(readError) : nullptr, largest);
  return result;
}

FileText ReadWholeStream(std::istream& in, std::size_t largest) {
  FileText result;
  char buffer[4096];
  while (result.text.size() <= largest && in) {
    in.read(buffer, sizeof buffer);
    result.text.append(buffer, static_cast<std::size_t>(in.gcount()));
  }
  Conclude(result, in.bad() ? "read error" : nullptr, largest);
  return result;
}

bool WriteWholeFile(const std::string& name, const std::string& text) {
  std::ofstream file(name, std::ios::binary | std::ios::trunc);
  if (!file) return false;
  file.write(text.data(), static_cast<std::streamsize>(text.size()));
  file.flush();
  return static_cast<bool>(file);
}

}  // namespace kvr9
