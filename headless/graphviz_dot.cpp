#include "headless/graphviz_dot.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

extern char** environ;

namespace kvr9::headless {
namespace {

// A file of the DOT text for dot's standard input, removed when done: with
// its input in a file, dot is only read from, so neither side waits on the
// other and a dot that stops early cannot break a pipe under us.
class DotInput {
 public:
  explicit DotInput(const std::string& text) {
    std::string pattern = (std::filesystem::temp_directory_path() / "kvr9-map-XXXXXX.dot").string();
    const int fd = mkstemps(pattern.data(), 4);
    if (fd < 0) return;
    path_ = pattern;
    std::size_t written = 0;
    while (written < text.size()) {
      const ssize_t n = write(fd, text.data() + written, text.size() - written);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      written += static_cast<std::size_t>(n);
    }
    ok_ = written == text.size();
    close(fd);
  }
  DotInput(const DotInput&) = delete;
  DotInput& operator=(const DotInput&) = delete;
  ~DotInput() {
    if (!path_.empty()) unlink(path_.c_str());
  }
  bool ok() const { return ok_; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  bool ok_ = false;
};

}  // namespace

std::optional<std::string> DotToSvg(const std::string& dot) {
  const DotInput input(dot);
  if (!input.ok()) return std::nullopt;
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, input.path().c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  char program[] = "dot";
  char format[] = "-Tsvg";
  char* argv[] = {program, format, nullptr};
  pid_t child = 0;
  const int spawned = posix_spawnp(&child, program, &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  if (spawned != 0) {
    close(out[0]);
    return std::nullopt;
  }
  std::string svg;
  char buffer[65536];
  for (;;) {
    const ssize_t n = read(out[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    svg.append(buffer, static_cast<std::size_t>(n));
  }
  close(out[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return svg;
}

}  // namespace kvr9::headless
