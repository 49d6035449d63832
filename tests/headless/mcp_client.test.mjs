// kvr9-headless --mcp driven by the protocol's official TypeScript SDK, as
// an agent's client drives it: list the tools, switch on, walk to ALT SETUP,
// set QNH and read it back from the LCD's text.
//   node tests/headless/mcp_client.test.mjs path/to/kvr9-headless
// Exits 77 (skipped) where the npm packages are not installed (npm ci).
import assert from "node:assert/strict";

const headless = process.argv[2];
if (!headless) {
  console.error("usage: node mcp_client.test.mjs KVR9_HEADLESS");
  process.exit(2);
}

let Client;
let StdioClientTransport;
try {
  ({ Client } = await import("@modelcontextprotocol/sdk/client/index.js"));
  ({ StdioClientTransport } = await import("@modelcontextprotocol/sdk/client/stdio.js"));
} catch (error) {
  if (error.code !== "ERR_MODULE_NOT_FOUND") throw error;
  console.log("SKIPPED: @modelcontextprotocol/sdk is not installed (npm ci)");
  process.exit(77);
}

const transport = new StdioClientTransport({ command: headless, args: ["--mcp"], stderr: "pipe" });
let stderr = "";
transport.stderr?.on("data", (chunk) => (stderr += chunk));
const client = new Client({ name: "kvr9-sdk-test", version: "1.0.0" });
// Anything on the server's output that is not a protocol message lands here.
const strays = [];
client.onerror = (error) => strays.push(String(error));
await client.connect(transport);

try {
  assert.equal(client.getServerVersion().name, "kvr9-headless");
  assert.ok(client.getServerCapabilities().tools);
  assert.ok(client.getServerCapabilities().resources);

  const { tools } = await client.listTools();
  const names = tools.map((tool) => tool.name);
  for (const name of ["power", "press_key", "turn_knob", "read_lcd_text", "run_scenario"]) {
    assert.ok(names.includes(name), `tools/list lacks ${name}: ${names}`);
  }
  for (const tool of tools) {
    assert.equal(tool.inputSchema.type, "object", tool.name);
    assert.ok(tool.description.length > 40, `${tool.name} is described`);
  }

  // Each call answers with text: the LCD's after the change.
  const call = async (name, args = {}) => {
    const result = await client.callTool({ name, arguments: args });
    assert.equal(result.isError, false, `${name}: ${JSON.stringify(result.content)}`);
    return result.content[0].text;
  };
  const lcdLines = (text) => text.slice(text.indexOf("LCD:\n") + 5).split("\n");

  assert.ok(lcdLines(await call("power", { state: "on" })).includes("1013mB"));

  // The main menu's fifth item, ALTITUDE SETUP.
  assert.match(await call("press_key", { key: "knob" }), /on screen MainMenuScreen/);
  await call("turn_knob", { direction: "clockwise", clicks: 4 });
  let text = await call("press_key", { key: "knob" });
  assert.match(text, /on screen AltSetupScreen/);
  assert.ok(lcdLines(text).includes("ALT SETUP"), text);
  assert.ok(lcdLines(text).includes("QNH UNIT: mB"), text);

  // QNH in inches of mercury: row 2, edited with a press, flipped with a turn.
  await call("turn_knob", { direction: "clockwise", clicks: 2 });
  await call("press_key", { key: "knob" });
  await call("turn_knob", { direction: "clockwise" });
  text = await call("press_key", { key: "knob" });
  assert.ok(lcdLines(text).includes('QNH UNIT: "Hg'), text);

  // Back through *** DONE *** and EXIT MENU to the main display, where the
  // knob sets QNH: three clicks of 0.01 inch.
  await call("turn_knob", { direction: "anticlockwise", clicks: 2 });
  await call("press_key", { key: "knob" });
  await call("turn_knob", { direction: "anticlockwise", clicks: 4 });
  assert.match(await call("press_key", { key: "knob" }), /on screen MainScreen/);
  text = await call("turn_knob", { direction: "clockwise", clicks: 3 });
  assert.ok(lcdLines(text).includes('29.95"Hg'), text);

  // Read back: the LCD's text, and the field behind it.
  assert.ok(lcdLines(await call("read_lcd_text")).includes('29.95"Hg'));
  assert.equal(await call("read_fields", { names: ["qnh"] }), "qnh=1014264\n");

  // A value out of range is the tool's error; an unknown tool the protocol's.
  const refused = await client.callTool({ name: "turn_knob", arguments: { direction: "up" } });
  assert.equal(refused.isError, true);
  await assert.rejects(client.callTool({ name: "launch", arguments: {} }), /unknown tool/);

  const png = await client.callTool({ name: "lcd_png", arguments: { scale: 1 } });
  assert.equal(png.content[0].type, "image");
  assert.equal(png.content[0].mimeType, "image/png");
  assert.equal(Buffer.from(png.content[0].data, "base64").subarray(1, 4).toString(), "PNG");

  const { resources } = await client.listResources();
  const guide = await client.readResource({ uri: resources[0].uri });
  assert.ok(guide.contents[0].text.includes("mcpServers"), "the guide tells the configuration");

  assert.deepEqual(strays, []);
  assert.equal(stderr, "");
  console.log(`passed: ${tools.length} tools, QNH set to 29.95"Hg and read back`);
} finally {
  await client.close();
}
