// kvr9-headless --mcp: a Model Context Protocol server over standard input
// and output, one JSON-RPC 2.0 message a line, offering one instrument's
// panel as tools and the driver's manual pages as resources. Nothing but
// protocol messages is written to its output; no input ends it but the end
// of its input.
#pragma once

#include <cstddef>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

#include "headless/mcp_tools.h"

namespace kvr9::headless {

// A line longer than this is read to its end, dropped and answered with an
// error.
inline constexpr std::size_t kLargestMcpLineBytes = 1024 * 1024;

inline constexpr const char* kMcpLatestRevision = "2025-06-18";

class McpServer {
 public:
  // One message as a line without its end; the answer as a line without
  // its end, empty when there is none (a notification, a response).
  std::string HandleLine(std::string_view line);
  // The answer to a line that was past the size cap.
  static std::string LineTooLong();

  // Serves until in ends.
  void Serve(std::istream& in, std::ostream& out);

  McpInstrument& instrument() { return instrument_; }

 private:
  McpInstrument instrument_;
};

// kvr9-headless --mcp; the exit status.
int RunMcpServer(std::istream& in, std::ostream& out);

}  // namespace kvr9::headless
