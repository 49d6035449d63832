// Cost of one MCP tool call that presses a key and answers with the LCD's
// text: the request line parsed and checked against the tool's schema, the
// click, the two passes that take it and draw the next screen, the new
// frame read as text, and the answer written as a line.
#include <benchmark/benchmark.h>

#include <string>

#include "headless/mcp_server.h"

namespace kvr9::headless {
namespace {

// The knob's press toggles the main display and the main menu (its cursor
// stands on EXIT MENU), so every call draws a screen the last did not.
void BM_McpPressKeyCall(benchmark::State& state) {
  McpServer server;
  server.HandleLine(
      R"({"jsonrpc":"2.0","id":0,"method":"tools/call","params":{"name":"power","arguments":{"state":"on"}}})");
  const std::string press =
      R"({"jsonrpc":"2.0","id":1,"method":"tools/call","params":{"name":"press_key","arguments":{"key":"knob"}}})";
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string answer = server.HandleLine(press);
    bytes += answer.size();
    benchmark::DoNotOptimize(answer.data());
  }
  state.counters["answerBytes"] =
      benchmark::Counter(static_cast<double>(bytes) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_McpPressKeyCall)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kvr9::headless

BENCHMARK_MAIN();
