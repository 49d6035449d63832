// Draws docs/web-page.png: the page served from build/web/dist, switched on and
// resting on the main display.
//   node web/screenshot.mjs [OUT.png]
import { launchBrowser, openPanel, startServer, waitForFrames } from "./tests/harness.mjs";

const out = process.argv[2] ?? "docs/web-page.png";
const server = await startServer();
const browser = await launchBrowser();
try {
  const { page } = await openPanel(browser.context, server.url);
  await page.click("#Button1");
  await waitForFrames(page, 90);  // the splash's 80 frames, then the main display
  await page.screenshot({ path: out, clip: { x: 0, y: 0, width: 660, height: 500 } });
} finally {
  await browser.close();
  server.close();
}
