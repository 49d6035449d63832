// Lighthouse on the page as a phone sees it (its default mobile mode: a
// mid-range phone's screen, CPU slowed 4 times, a slow 4G network,
// simulated), in Debian's Chromium. A measurement, not a test: prints the
// median of RUNS runs of each category's score and the main timings.
//   CHROME_PATH=/usr/bin/chromium node web/bench/lighthouse.mjs [RUNS]
import { mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import * as chromeLauncher from "chrome-launcher";
import lighthouse from "lighthouse";
import { kChromiumFlags, startServer } from "../tests/harness.mjs";

const runs = Number(process.argv[2] ?? 3);
const kCategories = ["performance", "accessibility", "best-practices"];
const kAudits = ["first-contentful-paint", "largest-contentful-paint", "total-blocking-time", "cumulative-layout-shift", "speed-index"];
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

const server = await startServer();
const results = [];
try {
  for (let run = 0; run < runs; ++run) {
    const profile = mkdtempSync(join(tmpdir(), "kvr9-lighthouse-"));
    const chrome = await chromeLauncher.launch({
      chromePath: process.env.CHROME_PATH ?? "/usr/bin/chromium",
      chromeFlags: [...kChromiumFlags, "--headless=new"],
      userDataDir: profile,
    });
    try {
      const { lhr } = await lighthouse(server.url, { port: chrome.port, logLevel: "error", onlyCategories: kCategories });
      results.push(lhr);
      const failed = Object.values(lhr.audits).filter((a) => a.score !== null && a.score < 1 && a.scoreDisplayMode === "binary");
      if (failed.length) console.log(`run ${run + 1}, audits not passed: ${failed.map((a) => a.id).join(", ")}`);
    } finally {
      await chrome.kill();
      rmSync(profile, { recursive: true, force: true });
    }
  }
} finally {
  server.close();
}

console.log(`Lighthouse ${results[0].lighthouseVersion}, ${results[0].configSettings.formFactor}, median of ${runs} runs`);
for (const category of kCategories) {
  console.log(`  ${category}: ${Math.round(100 * median(results.map((r) => r.categories[category].score)))}`);
}
for (const audit of kAudits) {
  console.log(`  ${audit}: ${median(results.map((r) => r.audits[audit].numericValue)).toFixed(audit === "cumulative-layout-shift" ? 3 : 0)}`);
}
