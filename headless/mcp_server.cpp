#include "headless/mcp_server.h"

#include <array>
#include <exception>
#include <nlohmann/json.hpp>

#include "headless/mcp_manual.h"
#include "host/common/json_nesting.h"
#include "host/common/quote.h"

namespace kvr9::headless {

using nlohmann::json;

namespace {

// JSON-RPC's own error codes, and the protocol's for a resource it lacks.
constexpr int kParseError = -32700;
constexpr int kInvalidRequest = -32600;
constexpr int kMethodNotFound = -32601;
constexpr int kInvalidParams = -32602;
constexpr int kInternalError = -32603;
constexpr int kResourceNotFound = -32002;

// The revisions this server speaks, the latest first.
constexpr std::array<const char*, 3> kRevisions = {kMcpLatestRevision, "2025-03-26", "2024-11-05"};

struct Resource {
  const char* uri;
  const char* name;
  const char* title;
  const char* description;
  const char* mimeType;
  const std::string_view* text;
};

const std::array<Resource, 2>& Resources() {
  static const std::array<Resource, 2> resources = {{
      {"kvr9://docs/headless.md", "headless.md", "kvr9-headless guide",
       "How kvr9-headless runs the firmware: the scenario language step by step, fields, "
       "flights, pictures, and this MCP server.",
       "text/markdown", &kHeadlessGuide},
      {"kvr9://man/kvr9-headless.1", "kvr9-headless.1", "kvr9-headless(1) manual page",
       "The manual page of kvr9-headless, in troff.", "text/troff", &kHeadlessManPage},
  }};
  return resources;
}

// Strings that are not UTF-8 (none are expected) are written with U+FFFD
// rather than stopping the answer.
std::string Dump(const json& message) {
  return message.dump(-1, ' ', false, json::error_handler_t::replace);
}

// Deeper nesting than any message of the protocol needs is refused before
// it is parsed: copying or walking such a value would recurse as deep.
constexpr int kDeepestNesting = 64;

std::string ErrorAnswer(const json& id, int code, const std::string& message) {
  return Dump(
      json{{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}});
}

std::string ResultAnswer(const json& id, json result) {
  return Dump(json{{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}});
}

// A request's problem, answered as a JSON-RPC error.
struct RpcError {
  int code;
  std::string message;
};

json Initialize(const json& params) {
  const auto asked = params.find("protocolVersion");
  if (asked == params.end() || !asked->is_string()) {
    throw RpcError{kInvalidParams, "initialize: protocolVersion must be a string"};
  }
  std::string revision = kMcpLatestRevision;
  for (const char* known : kRevisions) {
    if (*asked == known) revision = known;
  }
  return json{
      {"protocolVersion", revision},
      {"capabilities",
       {{"tools", {{"listChanged", false}}},
        {"resources", {{"subscribe", false}, {"listChanged", false}}}}},
      {"serverInfo",
       {{"name", "kvr9-headless"}, {"title", "KVR-9 simulator"}, {"version", KVR9_VERSION}}},
      {"instructions",
       "One KVR-9 airspeed indicator and altimeter, run by its own firmware without a window. "
       "It starts off: call power with state on first. Every tool that changes the "
       "instrument returns the LCD's text after it; read_lcd_text, read_fields and read_panel "
       "only look. The resource kvr9://docs/headless.md explains keys, passes and the "
       "scenario language run_scenario takes."}};
}

json ToolsList() {
  json tools = json::array();
  for (const McpTool& tool : McpTools()) {
    tools.push_back(json{{"name", tool.name},
                         {"title", tool.title},
                         {"description", tool.description},
                         {"inputSchema", ToolSchema(tool)}});
  }
  return json{{"tools", std::move(tools)}};
}

json CallTool(McpInstrument& instrument, const json& params) {
  const auto name = params.find("name");
  if (name == params.end() || !name->is_string()) {
    throw RpcError{kInvalidParams, "tools/call: name must be a string"};
  }
  const McpTool* tool = FindMcpTool(name->get<std::string>());
  if (tool == nullptr) {
    throw RpcError{kInvalidParams, "tools/call: unknown tool " + Quoted(name->get<std::string>()) +
                                       " (tools/list names them)"};
  }
  json arguments = json::object();
  if (const auto given = params.find("arguments"); given != params.end() && !given->is_null()) {
    arguments = *given;
  }
  const ArgumentCheck check = CheckArguments(ToolSchema(*tool), arguments);
  ToolResult result;
  if (check.problem == ArgumentProblem::Malformed) {
    throw RpcError{kInvalidParams, std::string(tool->name) + ": " + check.message};
  }
  if (check.problem == ArgumentProblem::OutOfRange) {
    result.content.push_back(
        json{{"type", "text"}, {"text", std::string(tool->name) + ": " + check.message}});
    result.isError = true;
  } else {
    result = tool->handler(instrument, arguments);
  }
  return json{{"content", std::move(result.content)}, {"isError", result.isError}};
}

json ResourcesList() {
  json resources = json::array();
  for (const Resource& resource : Resources()) {
    resources.push_back(json{{"uri", resource.uri},
                             {"name", resource.name},
                             {"title", resource.title},
                             {"description", resource.description},
                             {"mimeType", resource.mimeType},
                             {"size", resource.text->size()}});
  }
  return json{{"resources", std::move(resources)}};
}

json ReadResource(const json& params) {
  const auto uri = params.find("uri");
  if (uri == params.end() || !uri->is_string()) {
    throw RpcError{kInvalidParams, "resources/read: uri must be a string"};
  }
  for (const Resource& resource : Resources()) {
    if (*uri == resource.uri) {
      return json{{"contents", json::array({json{{"uri", resource.uri},
                                                 {"mimeType", resource.mimeType},
                                                 {"text", std::string(*resource.text)}}})}};
    }
  }
  throw RpcError{kResourceNotFound, "resources/read: no resource " +
                                        Quoted(uri->get<std::string>(), kLongestQuotedPath) +
                                        " (resources/list names them)"};
}

}  // namespace

std::string McpServer::LineTooLong() {
  return ErrorAnswer(nullptr, kInvalidRequest,
                     "the message is longer than " + std::to_string(kLargestMcpLineBytes) +
                         " bytes; it was read to its end and dropped");
}

std::string McpServer::HandleLine(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.find_first_not_of(" \t") == std::string_view::npos) return {};
  if (JsonNestsDeeperThan(line, kDeepestNesting)) {
    return ErrorAnswer(nullptr, kInvalidRequest,
                       "nested deeper than " + std::to_string(kDeepestNesting) + " levels");
  }
  const json message = json::parse(line, nullptr, false);
  if (message.is_discarded()) return ErrorAnswer(nullptr, kParseError, "not JSON");
  if (message.is_array()) {
    return ErrorAnswer(nullptr, kInvalidRequest, "batches are not taken: one message a line");
  }
  if (!message.is_object()) return ErrorAnswer(nullptr, kInvalidRequest, "not a JSON-RPC message");
  const auto id = message.find("id");
  const bool hasId = id != message.end();
  if (hasId && !id->is_string() && !id->is_number_integer() && !id->is_number_unsigned()) {
    return ErrorAnswer(nullptr, kInvalidRequest, "id must be a string or an integer");
  }
  const json answerId = hasId ? *id : json(nullptr);
  if (message.value("jsonrpc", json()) != "2.0") {
    return hasId ? ErrorAnswer(answerId, kInvalidRequest, "jsonrpc must be \"2.0\"") : "";
  }
  const auto method = message.find("method");
  if (method == message.end()) {
    // A response to a request of ours; this server sends none.
    if (message.contains("result") || message.contains("error")) return {};
    return ErrorAnswer(answerId, kInvalidRequest, "method is missing");
  }
  if (!method->is_string())
    return ErrorAnswer(answerId, kInvalidRequest, "method must be a string");
  // Notifications (initialized, cancelled) need nothing of this server and
  // are never answered.
  if (!hasId) return {};
  json params = json::object();
  if (const auto given = message.find("params"); given != message.end()) {
    if (!given->is_object())
      return ErrorAnswer(answerId, kInvalidParams, "params must be an object");
    params = *given;
  }
  const std::string name = method->get<std::string>();
  try {
    if (name == "initialize") return ResultAnswer(answerId, Initialize(params));
    if (name == "ping") return ResultAnswer(answerId, json::object());
    if (name == "tools/list") return ResultAnswer(answerId, ToolsList());
    if (name == "tools/call") return ResultAnswer(answerId, CallTool(instrument_, params));
    if (name == "resources/list") return ResultAnswer(answerId, ResourcesList());
    if (name == "resources/read") return ResultAnswer(answerId, ReadResource(params));
    if (name == "resources/templates/list") {
      return ResultAnswer(answerId, json{{"resourceTemplates", json::array()}});
    }
  } catch (const RpcError& error) {
    return ErrorAnswer(answerId, error.code, error.message);
  } catch (const std::exception& error) {
    return ErrorAnswer(answerId, kInternalError, std::string(name) + ": " + error.what());
  }
  return ErrorAnswer(answerId, kMethodNotFound, "no method " + Quoted(name));
}

namespace {

enum class LineRead { Line, TooLong, End };

// Reads up to the next newline; past the cap the rest of the line is
// skipped without being kept.
LineRead ReadCappedLine(std::istream& in, std::string& line) {
  line.clear();
  std::streambuf* buffer = in.rdbuf();
  bool tooLong = false;
  for (;;) {
    const int c = buffer->sbumpc();
    if (c == std::char_traits<char>::eof()) {
      in.setstate(std::ios::eofbit);
      if (tooLong) return LineRead::TooLong;
      return line.empty() ? LineRead::End : LineRead::Line;
    }
    if (c == '\n') return tooLong ? LineRead::TooLong : LineRead::Line;
    if (tooLong) continue;
    if (line.size() == kLargestMcpLineBytes) {
      tooLong = true;
      line.clear();
      line.shrink_to_fit();
      continue;
    }
    line.push_back(static_cast<char>(c));
  }
}

}  // namespace

void McpServer::Serve(std::istream& in, std::ostream& out) {
  std::string line;
  for (;;) {
    const LineRead read = ReadCappedLine(in, line);
    if (read == LineRead::End) return;
    const std::string answer = read == LineRead::TooLong ? LineTooLong() : HandleLine(line);
    if (!answer.empty()) out << answer << '\n' << std::flush;
    if (in.eof()) return;
  }
}

int RunMcpServer(std::istream& in, std::ostream& out) {
  McpServer server;
  server.Serve(in, out);
  return 0;
}

}  // namespace kvr9::headless
