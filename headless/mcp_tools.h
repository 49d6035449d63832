// The tools an agent works the instrument with over the Model Context
// Protocol: one table of name, description, input schema and handler, all
// acting on one panel session, as the window and the page act on theirs.
#pragma once

#include <cstdint>
#include <deque>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "headless/picture_files.h"
#include "host/rig/panel_rig.h"
#include "host/scenario/executor.h"

namespace kvr9::headless {

// The instrument at the agent's hands: the rig's view, which keeps the
// latest communication lines and, while a scenario's steps run on the
// rig, hands the frames and the pass ends on to their executor.
class McpInstrument final : public RigView {
 public:
  static constexpr std::size_t kKeptCommLines = 100;

  McpInstrument() = default;
  McpInstrument(const McpInstrument&) = delete;
  McpInstrument& operator=(const McpInstrument&) = delete;

  PanelRig& rig() { return rig_; }
  PanelSession& session() { return rig_.session(); }
  const std::deque<std::string>& commLines() const { return commLines_; }
  // Passes run since the server started: how a tool tells how many its
  // steps ran.
  std::uint64_t passes() const { return passes_; }

  // The steps of a scenario run on this rig; what they printed goes to
  // out, why the run stopped to err.
  ExitStatus RunScenario(const Scenario& scenario, std::ostream& out, std::ostream& err);

  void ShowFrame(const FrameBuffer& frame, bool changed) override;
  void ShowCommLine(const char* text, const CommLines::Change& change) override;
  void PassEnded() override;

 private:
  PanelRig rig_{*this};
  std::deque<std::string> commLines_;
  PictureFiles pictures_;
  ScenarioExecutor* executor_ = nullptr;
  std::uint64_t passes_ = 0;
};

// What a tool answers: the content of a tools/call result.
struct ToolResult {
  nlohmann::json content = nlohmann::json::array();
  bool isError = false;
};

struct McpTool {
  const char* name;
  const char* title;
  const char* description;
  const char* inputSchema;  // JSON
  ToolResult (*handler)(McpInstrument& instrument, const nlohmann::json& arguments);
};

const std::vector<McpTool>& McpTools();
const McpTool* FindMcpTool(std::string_view name);
// The tool's input schema, parsed once.
const nlohmann::json& ToolSchema(const McpTool& tool);

// How a tool's arguments fail its schema: a wrong type, a missing or an
// unknown argument is a protocol error (the call was malformed); a value
// beyond its range or outside its choices is the tool's own error.
enum class ArgumentProblem { None, Malformed, OutOfRange };
struct ArgumentCheck {
  ArgumentProblem problem = ArgumentProblem::None;
  std::string message;
};
ArgumentCheck CheckArguments(const nlohmann::json& schema, const nlohmann::json& arguments);

// Standard base64, as the protocol carries images.
std::string Base64(const std::vector<unsigned char>& bytes);

}  // namespace kvr9::headless
