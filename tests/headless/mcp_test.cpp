// kvr9-headless --mcp fed lines as a client writes them: every bad input
// gets the protocol's own answer and the server goes on serving; the tools
// act on one instrument and answer with the LCD's text.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "headless/mcp_server.h"
#include "host/state/state_fields.h"

namespace kvr9::headless {
namespace {

using nlohmann::json;

// Serves the lines, one after another, and returns every answer parsed.
std::vector<json> Serve(McpServer& server, const std::string& input) {
  std::istringstream in(input);
  std::ostringstream out;
  server.Serve(in, out);
  std::vector<json> answers;
  std::istringstream lines(out.str());
  std::string line;
  while (std::getline(lines, line)) {
    answers.push_back(json::parse(line));  // nothing but JSON on the output
  }
  return answers;
}

std::string Call(const std::string& tool, const json& arguments, int id = 1) {
  return json{{"jsonrpc", "2.0"},
              {"id", id},
              {"method", "tools/call"},
              {"params", {{"name", tool}, {"arguments", arguments}}}}
      .dump();
}

const std::string kPing = R"({"jsonrpc":"2.0","id":"after","method":"ping"})";

// Arrays within arrays, levels deep.
json Nested(int levels) {
  return json::parse(std::string(static_cast<std::size_t>(levels), '[') +
                     std::string(static_cast<std::size_t>(levels), ']'));
}

struct BadInput {
  const char* name;
  std::string line;
  int code;  // the JSON-RPC error, or 0 for a tool result with isError
  const char* says;
};

// Each line, then a ping: the bad line gets its answer, and the ping is
// still answered.
TEST(McpServer, EveryBadInputIsAnsweredAndTheServerGoesOn) {
  const std::vector<BadInput> rows = {
      {"not JSON", "{\"jsonrpc\":\"2.0\",", -32700, "not JSON"},
      {"not UTF-8", "{\"jsonrpc\":\"2.0\",\"id\":1,\"method\":\"p\xff\"}", -32700, "not JSON"},
      {"a number", "42", -32600, "not a JSON-RPC message"},
      {"nested 300000 deep", std::string(300000, '[') + std::string(300000, ']'), -32600,
       "nested deeper than 64 levels"},
      {"arguments nested deep", Call("read_fields", {{"names", Nested(100)}}), -32600,
       "nested deeper"},
      // The request, params and arguments are three levels.
      {"nested one level past the deepest", Call("read_fields", {{"names", Nested(62)}}), -32600,
       "nested deeper than 64 levels"},
      {"nested to the deepest", Call("read_fields", {{"names", Nested(61)}}), -32602,
       "'names[]' must be a string"},
      {"nested deep after an escaped quote",
       Call("read_fields", {{"names", json::array({"\"", Nested(100)})}}), -32600, "nested deeper"},
      {"a batch", R"([{"jsonrpc":"2.0","id":1,"method":"ping"}])", -32600, "batches"},
      {"no jsonrpc", R"({"id":1,"method":"ping"})", -32600, "jsonrpc"},
      {"jsonrpc 1.0", R"({"jsonrpc":"1.0","id":1,"method":"ping"})", -32600, "jsonrpc"},
      {"id null", R"({"jsonrpc":"2.0","id":null,"method":"ping"})", -32600, "id"},
      {"id an object", R"({"jsonrpc":"2.0","id":{},"method":"ping"})", -32600, "id"},
      {"id a fraction", R"({"jsonrpc":"2.0","id":1.5,"method":"ping"})", -32600, "id"},
      {"no method", R"({"jsonrpc":"2.0","id":1})", -32600, "method is missing"},
      {"method a number", R"({"jsonrpc":"2.0","id":1,"method":7})", -32600, "method"},
      {"unknown method", R"({"jsonrpc":"2.0","id":1,"method":"tools/smash"})", -32601,
       "tools/smash"},
      {"params an array", R"({"jsonrpc":"2.0","id":1,"method":"tools/list","params":[]})", -32602,
       "params"},
      {"initialize without a version",
       R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{}})", -32602, "protocolVersion"},
      {"tools/call without a name", R"({"jsonrpc":"2.0","id":1,"method":"tools/call"})", -32602,
       "name"},
      {"unknown tool", Call("launch", json::object()), -32602, "unknown tool 'launch'"},
      {"arguments an array",
       R"({"jsonrpc":"2.0","id":1,"method":"tools/call","params":{"name":"power","arguments":[]}})",
       -32602, "arguments must be an object"},
      {"missing argument", Call("power", json::object()), -32602, "'state' is missing"},
      {"unknown argument", Call("power", {{"state", "on"}, {"stat", 1}}), -32602,
       "unknown argument 'stat'"},
      {"string for a boolean", Call("set_box", {{"box", "calibrate"}, {"checked", "yes"}}), -32602,
       "'checked' must be a boolean, not a string"},
      {"fraction for an integer", Call("run_passes", {{"count", 1.5}}), -32602,
       "must be an integer"},
      {"number for a string", Call("press_key", {{"key", 1}}), -32602, "must be a string"},
      {"string in a list of names", Call("read_fields", {{"names", {"qnh", 3}}}), -32602,
       "'names[]' must be a string"},
      {"choice not offered", Call("press_key", {{"key", "f1"}}), 0,
       "'f1': did you mean F1?; it must be one of F1, F2, knob"},
      {"count beyond the range", Call("run_passes", {{"count", 1000001}}), 0,
       "must lie within 1..1000000"},
      {"slider count beyond its end", Call("move_slider", {{"slider", "altitude"}, {"count", -1}}),
       0, "0..4096"},
      {"slider reading in the other slider's unit",
       Call("move_slider", {{"slider", "altitude"}, {"reading", 90}, {"unit", "mph"}}), 0,
       "reads in ft or m"},
      {"slider with count and reading",
       Call("move_slider", {{"slider", "altitude"}, {"count", 9}, {"reading", 9}}), 0,
       "either count, or reading with unit"},
      {"key while off", Call("press_key", {{"key", "F1"}}), 0, "off"},
      {"unknown field", Call("read_fields", {{"names", {"qhn"}}}), 0,
       "no field 'qhn': did you mean qnh?"},
      {"flight with a blank", Call("fly", {{"flight", "my flight.csv"}}), 0, "without blanks"},
      {"flight while off", Call("fly", {{"flight", "demo"}}), 0, "the instrument is off"},
      {"flight not there", Call("fly", {{"flight", "no-such-file.csv"}}), 0, "no-such-file.csv"},
      {"steps that do not parse", Call("run_scenario", {{"steps", "jump 3"}}), 0, "steps:1:"},
      {"snapshot that does not hold", Call("load_snapshot", {{"snapshot", "[1]"}}), 0,
       "Not loaded: snapshot: [1] is not an object"},
      {"unknown resource",
       R"({"jsonrpc":"2.0","id":1,"method":"resources/read","params":{"uri":"file:///etc/passwd"}})",
       -32002, "no resource"},
  };
  for (const BadInput& row : rows) {
    SCOPED_TRACE(row.name);
    McpServer server;
    const std::vector<json> answers = Serve(server, row.line + "\n" + kPing + "\n");
    ASSERT_EQ(answers.size(), 2u);
    const json& answer = answers[0];
    if (row.code != 0) {
      ASSERT_TRUE(answer.contains("error")) << answer;
      EXPECT_EQ(answer["error"]["code"], row.code) << answer;
      EXPECT_NE(answer["error"]["message"].get<std::string>().find(row.says), std::string::npos)
          << answer;
    } else {
      ASSERT_TRUE(answer.contains("result")) << answer;
      EXPECT_EQ(answer["result"]["isError"], true) << answer;
      EXPECT_NE(answer["result"]["content"][0]["text"].get<std::string>().find(row.says),
                std::string::npos)
          << answer;
    }
    EXPECT_EQ(answers[1]["id"], "after");
    EXPECT_TRUE(answers[1]["result"].is_object());
  }
}

// Notifications, responses and blank lines get no answer at all.
TEST(McpServer, WhatNeedsNoAnswerGetsNone) {
  McpServer server;
  const std::vector<json> answers = Serve(
      server, "\n\r\n" + std::string(R"({"jsonrpc":"2.0","method":"notifications/initialized"})") +
                  "\n" + R"({"jsonrpc":"2.0","method":"no/such/notification"})" + "\n" +
                  R"({"jsonrpc":"2.0","id":5,"result":{}})" + "\n" + kPing + "\r\n");
  ASSERT_EQ(answers.size(), 1u);
  EXPECT_EQ(answers[0]["id"], "after");
}

// A ping padded to exactly bytes long.
std::string PingOf(std::size_t bytes) {
  const std::string head = R"({"jsonrpc":"2.0","id":"padded","method":"ping","x":")";
  return head + std::string(bytes - head.size() - 2, 'a') + "\"}";
}

// A line past the cap is read to its newline and dropped; the next is served.
TEST(McpServer, ALineTooLongIsDroppedWhole) {
  McpServer server;
  const std::string huge = PingOf(kLargestMcpLineBytes + 50);
  const std::vector<json> answers =
      Serve(server, huge + "\n" + kPing + "\n" + PingOf(kLargestMcpLineBytes) + "\n" +
                        PingOf(kLargestMcpLineBytes + 1) + "\n" + huge);
  ASSERT_EQ(answers.size(), 5u);
  const auto refused = [](const json& answer) {
    return answer.value(json::json_pointer("/error/code"), 0) == -32600 && answer["id"].is_null();
  };
  EXPECT_TRUE(refused(answers[0])) << answers[0];
  EXPECT_EQ(answers[1]["id"], "after");
  EXPECT_TRUE(answers[2].contains("result")) << answers[2];  // exactly the cap is served
  EXPECT_TRUE(refused(answers[3])) << answers[3];            // a byte more is not
  EXPECT_TRUE(refused(answers[4])) << answers[4];            // the last, with no newline after it
}

TEST(McpServer, NegotiatesTheRevision) {
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"2025-06-18", "2025-06-18"},
      {"2025-03-26", "2025-03-26"},
      {"2024-11-05", "2024-11-05"},
      {"2099-01-01", "2025-06-18"},
  };
  for (const auto& [asked, answered] : rows) {
    McpServer server;
    const json request = {
        {"jsonrpc", "2.0"},
        {"id", 0},
        {"method", "initialize"},
        {"params", {{"protocolVersion", asked}, {"capabilities", json::object()}}}};
    const json answer = json::parse(server.HandleLine(request.dump()));
    EXPECT_EQ(answer["result"]["protocolVersion"], answered) << asked;
    EXPECT_TRUE(answer["result"]["capabilities"].contains("tools"));
    EXPECT_TRUE(answer["result"]["capabilities"].contains("resources"));
  }
}

// The fields an agent may read are described from the one table of the
// state, each with its range or its words.
TEST(McpServer, DescribesEveryFieldOfTheState) {
  McpServer server;
  const json answer = json::parse(
      server.HandleLine(R"({"jsonrpc":"2.0","id":1,"method":"tools/list","params":{}})"));
  std::string described;
  for (const json& tool : answer["result"]["tools"]) {
    if (tool["name"] == "read_fields") {
      described = tool["inputSchema"]["properties"]["names"]["description"].get<std::string>();
    }
  }
  for (const StateField& field : StateFields()) {
    const std::string range = field.kind == StateKind::Number
                                  ? std::string(field.name) + " " + std::to_string(field.lowest) +
                                        ".." + std::to_string(field.highest)
                                  : std::string(field.name) + " ";
    EXPECT_NE(described.find(range), std::string::npos) << field.name;
    for (const char* word : field.words) EXPECT_NE(described.find(word), std::string::npos);
  }
}

std::string ToolText(McpServer& server, const std::string& tool, const json& arguments) {
  const json answer = json::parse(server.HandleLine(Call(tool, arguments)));
  EXPECT_FALSE(answer["result"]["isError"].get<bool>()) << answer;
  return answer["result"]["content"][0]["text"].get<std::string>();
}

// The tools work one instrument: what one does, the next sees, and each
// that changes it answers with the LCD's text.
TEST(McpServer, ToolsWorkOneInstrument) {
  McpServer server;
  EXPECT_NE(ToolText(server, "power", {{"state", "on"}}).find("1013mB"), std::string::npos);
  EXPECT_NE(
      ToolText(server, "turn_knob", {{"direction", "clockwise"}, {"clicks", 3}}).find("1016mB"),
      std::string::npos);
  EXPECT_EQ(ToolText(server, "read_fields", {{"names", {"qnh"}}}), "qnh=1016250\n");
  // A snapshot returned as text brings that moment back.
  const std::string saved = ToolText(server, "save_snapshot", json::object());
  ToolText(server, "turn_knob", {{"direction", "clockwise"}});
  EXPECT_NE(ToolText(server, "load_snapshot", {{"snapshot", saved}}).find("1016mB"),
            std::string::npos);
  EXPECT_EQ(ToolText(server, "read_fields", {{"names", {"qnh"}}}), "qnh=1016250\n");
  EXPECT_NE(ToolText(server, "press_key", {{"key", "knob"}}).find("on screen MainMenuScreen"),
            std::string::npos);
  // The steps run from where the instrument stands and leave it running.
  const std::string held =
      ToolText(server, "run_scenario",
               {{"steps", "expect currentScreen MainMenuScreen\nshow qnh\nkey press\npass 2\n"}});
  EXPECT_NE(held.find("Every expectation held."), std::string::npos) << held;
  EXPECT_NE(held.find("qnh=1016250"), std::string::npos) << held;
  EXPECT_NE(held.find("on screen MainScreen"), std::string::npos) << held;
  const std::string failed = ToolText(server, "run_scenario", {{"steps", "expect qnh 1013250\n"}});
  EXPECT_NE(failed.find("An expectation failed"), std::string::npos) << failed;
  EXPECT_NE(failed.find("steps:1: expect qnh"), std::string::npos) << failed;
  // A slider in a pilot's unit, with QNH as it now stands.
  ToolText(server, "move_slider",
           {{"slider", "altitude"}, {"reading", 1000}, {"unit", "ft"}, {"then_passes", 40}});
  // The nearest count reads within one count's step (about 12 ft) of it.
  const std::string altitude = ToolText(server, "read_fields", {{"names", {"altitude"}}});
  EXPECT_NEAR(std::stoi(altitude.substr(altitude.find('=') + 1)), 1000, 12) << altitude;
  EXPECT_NE(ToolText(server, "fly", {{"flight", "demo"}, {"to", 30}}).find("Flown: fly demo 0 30"),
            std::string::npos);
  EXPECT_NE(ToolText(server, "power", {{"state", "off"}}).find("The instrument is off."),
            std::string::npos);
}

// Each argument at either end of its range is taken, and each key is the
// key it names.
TEST(McpServer, ArgumentsAtTheirEndsAreTaken) {
  const struct {
    const char* tool;
    json arguments;
    const char* says;  // in the answer's text; nullptr for a picture
  } rows[] = {
      {"turn_knob", {{"direction", "clockwise"}, {"clicks", 100}}, "100 clicks"},
      {"turn_knob", {{"direction", "clockwise"}, {"clicks", 1}}, "1 click"},
      {"move_slider", {{"slider", "airspeed"}, {"count", 4096}}, "4096 counts"},
      {"move_slider", {{"slider", "airspeed"}, {"count", 0}}, "0 counts"},
      {"lcd_png", {{"scale", 16}}, nullptr},
      {"lcd_png", {{"scale", 1}}, nullptr},
      {"press_key", {{"key", "F1"}}, "on screen StartStopScreen"},
      {"press_key", {{"key", "F2"}}, "on screen FlightInfoScreen"},
      {"press_key", {{"key", "knob"}}, "on screen MainMenuScreen"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.arguments.dump());
    McpServer server;
    ToolText(server, "power", {{"state", "on"}});
    const json answer = json::parse(server.HandleLine(Call(row.tool, row.arguments)));
    ASSERT_FALSE(answer["result"]["isError"].get<bool>()) << answer;
    if (row.says == nullptr) continue;
    EXPECT_NE(answer["result"]["content"][0]["text"].get<std::string>().find(row.says),
              std::string::npos)
        << answer;
  }
}

TEST(McpServer, TheLcdComesAsAPng) {
  McpServer server;
  const json answer = json::parse(server.HandleLine(Call("lcd_png", {{"scale", 1}})));
  const json& image = answer["result"]["content"][0];
  EXPECT_EQ(image["type"], "image");
  EXPECT_EQ(image["mimeType"], "image/png");
  // "\x89PNG\r\n\x1a\n" and the IHDR chunk's length and name, in base64.
  EXPECT_EQ(image["data"].get<std::string>().substr(0, 16), "iVBORw0KGgoAAAAN");
  EXPECT_EQ(Base64({'M', 'a'}), "TWE=");
  EXPECT_EQ(Base64({'M'}), "TQ==");
  EXPECT_EQ(Base64({'M', 'a', 'n'}), "TWFu");
}

TEST(McpServer, OffersTheManualPages) {
  McpServer server;
  const json list =
      json::parse(server.HandleLine(R"({"jsonrpc":"2.0","id":1,"method":"resources/list"})"));
  ASSERT_EQ(list["result"]["resources"].size(), 2u);
  for (const json& resource : list["result"]["resources"]) {
    const json read = json::parse(server.HandleLine(json{
        {"jsonrpc", "2.0"},
        {"id", 2},
        {"method", "resources/read"},
        {"params", {{"uri", resource["uri"]}}}}.dump()));
    const std::string text = read["result"]["contents"][0]["text"];
    EXPECT_EQ(text.size(), resource["size"]);
    EXPECT_NE(text.find("mcpServers"), std::string::npos) << resource["uri"];
  }
}

}  // namespace
}  // namespace kvr9::headless
