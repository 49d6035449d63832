// Draws the page's pictures in docs/: the page served from build/web/dist,
// switched on, four minutes into the demo flight. docs/web-page.png is the
// form as the README shows it, with the flight bar below it; the others are the whole window of a phone
// upright and on its side, a tablet and a laptop; web-de-phone.png and
// web-fr-phone.png the whole page on a phone upright, in German and French.
//   node web/screenshot.mjs [OUT_DIR [FILE...]]
// then, to keep them small: pngquant --speed 1 --quality 65-90 --ext .png --force docs/web-*.png
import { launchBrowser, openPanel, startServer, waitForFrames } from "./tests/harness.mjs";

const out = process.argv[2] ?? "docs";
const kTouch = { hasTouch: true, isMobile: true };
// [file, context options, clip of the page ("form", "page" for all of it)
// or null for the whole window]
const kShots = [
  ["web-page.png", { viewport: { width: 800, height: 800 } }, "form"],
  ["web-phone.png", { viewport: { width: 390, height: 844 }, deviceScaleFactor: 3, ...kTouch }, null],
  ["web-phone-landscape.png", { viewport: { width: 844, height: 390 }, deviceScaleFactor: 3, ...kTouch }, null],
  ["web-tablet.png", { viewport: { width: 768, height: 1024 }, deviceScaleFactor: 2, ...kTouch }, null],
  ["web-desktop.png", { viewport: { width: 1280, height: 800 } }, null],
  ["web-de-phone.png", { viewport: { width: 390, height: 844 }, deviceScaleFactor: 2, locale: "de-DE", ...kTouch }, "page"],
  ["web-fr-phone.png", { viewport: { width: 390, height: 844 }, deviceScaleFactor: 2, locale: "fr-FR", ...kTouch }, "page"],
];
// Only the pictures named after OUT_DIR, when any are.
const wanted = process.argv.slice(3);

const server = await startServer();
try {
  for (const [file, device, clip] of kShots) {
    if (wanted.length > 0 && !wanted.includes(file)) continue;
    const browser = await launchBrowser(device);
    try {
      const { page } = await openPanel(browser.context, server.url);
      await page.click("#Button1");
      await waitForFrames(page, 90); // the splash's 80 frames, then the main display
      // Four minutes into the demo flight, paused: the LCD and the
      // flight bar as a pilot sees them together.
      await page.click("#FlightDemo");
      await page.click("#FlightSpeed button[data-speed='16']");
      await waitForFrames(page, 90 + 150);
      await page.click("#FlightPlay");
      await waitForFrames(page, 90 + 154);
      const options = { path: `${out}/${file}`, scale: "css" };
      if (clip === "form") {
        const main = await page.locator("main").boundingBox();
        options.clip = { x: main.x, y: main.y, width: main.width, height: main.height };
      }
      // The whole page: the window made as tall as it, a new window size
      // the page lays itself out for.
      if (clip === "page") {
        const height = await page.evaluate(() => document.documentElement.scrollHeight);
        await page.setViewportSize({ width: device.viewport.width, height });
        await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
      }
      await page.screenshot(options);
    } finally {
      await browser.close();
    }
  }
} finally {
  server.close();
}
