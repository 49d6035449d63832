// Measures the web page (not a test): a firmware pass in the page against
// the native pass, the time to the first frame, the size of its files and
// its CPU at rest on the main display. node web/bench/measure.mjs KVR9_BENCH
// (or node web/bench/measure.mjs --cpu: the CPU alone, no native bench).
import { execFileSync, spawnSync } from "node:child_process";
import { readdirSync, readFileSync, statSync } from "node:fs";
import { join, resolve } from "node:path";
import { distDir, launchBrowser, openPanel, startServer } from "../tests/harness.mjs";

const nativeBench = process.argv[2];
const cpuOnly = nativeBench === "--cpu";
const served = resolve(distDir, "..");
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

// The same pass built with the page's flags, beside the page (the web
// preset's kvr9_pass_bench target writes it there).

const native = cpuOnly ? NaN : JSON.parse(spawnSync(nativeBench, ["--benchmark_filter=BM_MainLoopPass/13$", "--benchmark_repetitions=5",
  "--benchmark_format=json"], { encoding: "utf8" }).stdout).benchmarks
  .filter((b) => b.aggregate_name === "median")[0].real_time;

const server = await startServer(served);
const browser = await launchBrowser();
const url = server.url + "dist/";

let inPage = NaN;
const loads = [];
if (!cpuOnly) {
const { page } = await openPanel(browser.context, url);
await page.addScriptTag({ url: server.url + "pass_bench.js" });
inPage = await page.evaluate(async () => {
  const bench = await createPassBench();
  bench._kvr9_pass_ns(20000);
  const runs = [];
  for (let i = 0; i < 5; ++i) runs.push(bench._kvr9_pass_ns(100000));
  return runs.sort((a, b) => a - b)[2];
});
await page.close();

// From the start of loading to the panel ready, and to the first LCD frame
// when ON is clicked as soon as it is ready; five loads, no cache.
for (let i = 0; i < 5; ++i) {
  const p = await browser.context.newPage();
  const cdp = await browser.context.newCDPSession(p);
  await cdp.send("Network.setCacheDisabled", { cacheDisabled: true });
  await p.addInitScript(() => {
    window.kvr9Observer = (kind) => {
      if (kind === "ready") { window.readyAt = performance.now(); document.getElementById("Button1").click(); }
      if (kind === "frame" && window.frameAt === undefined) window.frameAt = performance.now();
    };
  });
  await p.goto(url);
  await p.waitForFunction(() => window.frameAt !== undefined, null, { timeout: 0 });
  loads.push(await p.evaluate(() => ({ ready: window.readyAt, frame: window.frameAt,
    paint: performance.getEntriesByName("first-contentful-paint")[0]?.startTime })));
  await p.close();
}
}

const bytes = readdirSync(distDir).reduce((sum, f) => sum + statSync(join(distDir, f)).size, 0);

// CPU of every Chromium process over 60 s, the page on the main display:
// first while the communication window fills (a row a pass), then at rest,
// once it holds its 1,000 lines (as the window is measured). Without the
// tests' recorder, which reads the canvas back after every frame.
const resting = await browser.context.newPage();
await resting.addInitScript(() => {
  window.frames = 0;
  window.kvr9Observer = (kind) => {
    if (kind === "ready") document.getElementById("Button1").click();
    if (kind === "frame") ++window.frames;
  };
});
await resting.goto(url);
const framesShown = (count) => resting.waitForFunction((n) => window.frames >= n, count, { timeout: 0, polling: 500 });
const descendants = () => {
  const parents = new Map();
  for (const pid of readdirSync("/proc").filter((d) => /^\d+$/.test(d))) {
    try { parents.set(pid, readFileSync(`/proc/${pid}/stat`, "utf8").split(") ")[1].split(" ")[1]); } catch {}
  }
  const mine = new Set([String(process.pid)]);
  for (let grown = true; grown; ) {
    grown = false;
    for (const [pid, parent] of parents) if (mine.has(parent) && !mine.has(pid)) { mine.add(pid); grown = true; }
  }
  mine.delete(String(process.pid));
  return [...mine];
};
const cpuTicks = (pids) => pids.reduce((sum, pid) => {
  try { const f = readFileSync(`/proc/${pid}/stat`, "utf8").split(") ")[1].split(" "); return sum + Number(f[11]) + Number(f[12]); } catch { return sum; }
}, 0);
const clk = Number(execFileSync("getconf", ["CLK_TCK"], { encoding: "utf8" }));
async function cpuOver60s() {
  const pids = descendants();
  const t0 = cpuTicks(pids); const w0 = Date.now();
  await new Promise((done) => setTimeout(done, 60000));
  const t1 = cpuTicks(pids); const w1 = Date.now();
  return (100 * (t1 - t0)) / clk / ((w1 - w0) / 1000);
}
const kSplashPasses = 80;
await framesShown(kSplashPasses + 20);
const cpuFilling = await cpuOver60s();
await framesShown(kSplashPasses + 1000 + 20);
const cpu = await cpuOver60s();

await browser.close();
server.close();
if (!cpuOnly) {
console.log(`pass on AsiSetupScreen: page ${(inPage / 1000).toFixed(2)} us, native ${(native / 1000).toFixed(2)} us, ratio ${(inPage / native).toFixed(2)}`);
console.log(`load to ready (ms): ${loads.map((l) => l.ready.toFixed(0)).join(" ")}; to first LCD frame: ${loads.map((l) => l.frame.toFixed(0)).join(" ")}; first paint: ${loads.map((l) => l.paint?.toFixed(0)).join(" ")}`);
console.log(`page files: ${bytes} bytes (${(bytes / 1024).toFixed(1)} KiB)`);
}
console.log(`CPU of all Chromium processes over 60 s on the main display: ${cpu.toFixed(2)} % of one core at rest, ${cpuFilling.toFixed(2)} % while the communication window fills`);
