// Draws the page's pictures in docs/: the page served from build/web/dist,
// switched on, four minutes into the demo flight. docs/web-page.png is the
// form as the README shows it, with the flight bar below it; the others are the whole window of a phone
// upright and on its side, a tablet and a laptop; web-de-phone.png and
// web-fr-phone.png the whole page on a phone upright, in German and French;
// web-de-lessons.png the lessons panel there in German, with a lesson of
// one's own opened from a file.
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
  ["web-de-lessons.png", { viewport: { width: 390, height: 844 }, deviceScaleFactor: 2, locale: "de-DE", ...kTouch }, "lessons"],
];
// Only the pictures named after OUT_DIR, when any are.
const wanted = process.argv.slice(3);

// A club's lesson, written by hand in German.
const kOwnLesson = `title QNH des Flugplatzes einstellen
start defaults
step Schalten Sie das Instrument ein.
hint Tippen Sie auf ON.
control ON
check expect currentScreen MainScreen
step Der Turm meldet QNH 1015. Drehen Sie den Knopf, bis unten "1015mB" steht.
hint Tippen Sie zweimal auf "Im Uhrzeigersinn".
control knob
check expect-text line 1015mB
`;

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
      // The lessons' list with one's own lesson under the built-in ones.
      if (clip === "lessons") {
        await page.click("#LessonsOpen");
        await page.locator("#LessonList button").first().waitFor();
        await page.locator("#LessonFile").setInputFiles({ name: "qnh-flugplatz.lesson", mimeType: "text/plain", buffer: Buffer.from(kOwnLesson) });
        await page.locator("#LessonStepNo").waitFor();
        await page.click("#LessonBack");
      }
      // The whole page: the window made as tall as it, a new window size
      // the page lays itself out for.
      if (clip === "page" || clip === "lessons") {
        const height = await page.evaluate(() => document.documentElement.scrollHeight);
        await page.setViewportSize({ width: device.viewport.width, height });
        await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
      }
      if (clip === "lessons") {
        const panel = await page.locator("#LessonPanel").boundingBox();
        options.clip = { x: 0, y: panel.y - 4, width: device.viewport.width, height: panel.height + 6 };
      }
      await page.screenshot(options);
    } finally {
      await browser.close();
    }
  }
} finally {
  server.close();
}
