// The page in the pilot's language: every text of the table in every
// language, with the same parameters, and every id the page names in it; a
// German page on a phone shows no English outside the LCD and the
// communication window, its lessons included; the page follows the
// browser's language, a choice made on the page is kept on the device, and
// a language the page lacks is English.
import assert from "node:assert/strict";
import { readFileSync, readdirSync } from "node:fs";
import { join } from "node:path";
import { fileURLToPath } from "node:url";
import vm from "node:vm";
import { after, before, test } from "node:test";

import { browserPool, distDir, kPhone, openPanel, reloadPanel, startServer } from "./harness.mjs";

const web = fileURLToPath(new URL("..", import.meta.url));
const lessonsDir = fileURLToPath(new URL("../../lessons", import.meta.url));

// The table of a texts.js: the source's, or the page's with the form's
// English filled in.
function tableOf(path) {
  const window = {};
  const context = {
    window,
    navigator: { languages: ["en"] },
    localStorage: { getItem: () => null },
    document: { documentElement: {}, querySelectorAll: () => [], getElementById: () => null },
  };
  vm.runInNewContext(readFileSync(path, "utf8"), context);
  return window.kvr9Texts.tables;
}

const parametersOf = (template) => [...template.matchAll(/\{(\w+)\}/g)].map((found) => found[1]).sort();

test("every text has every language, with the English text's parameters, and every id the page names is in the table", () => {
  const texts = tableOf(join(web, "texts.js"));
  const ids = Object.keys(texts.en).sort();
  for (const [language, table] of Object.entries(texts)) {
    assert.deepEqual(Object.keys(table).sort(), ids, `${language}: the same ids as English`);
    for (const id of ids) {
      assert.ok(table[id].trim() !== "", `${language} ${id}: not empty`);
      // The form's English comes from its table with the keyboard key written
      // in; a translation names it as {key}.
      const form = /^@\w+:\w+@$/.test(texts.en[id]);
      const parameters = parametersOf(table[id]).filter((name) => !(form && name === "key"));
      assert.deepEqual(parameters, parametersOf(texts.en[id]), `${language} ${id}: the parameters of the English text`);
    }
  }
  const named = new Set();
  for (const file of readdirSync(web).filter((name) => /\.(js|html)$/.test(name) && name !== "texts.js")) {
    const source = readFileSync(join(web, file), "utf8");
    for (const found of source.matchAll(/data-text(?:-\w+)?="([\w.]+)"/g)) named.add(found[1]);
    for (const found of source.matchAll(/"((?:page|form|lcd|flight|controls|notice|keep|lessons|language)\.(?!(?:js|css)")\w+)"/g)) named.add(found[1]);
  }
  assert.ok(named.size > 50, "the page names its texts");
  assert.deepEqual([...named].filter((id) => !ids.includes(id)), [], "ids the page names that the table lacks");
});

let server;
const browsers = browserPool();

before(async () => {
  server = await startServer();
});

after(async () => {
  await browsers.closeAll();
  server.close();
});

// Every text a person sees or hears outside the LCD and the communication
// window: the visible text nodes, and the names and titles of the visible
// elements.
const shownTexts = (page) =>
  page.evaluate(() => {
    const own = (element) => !element.closest("#Image1, #LcdText, #Memo1, script, style");
    const texts = [];
    const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
    for (let node = walker.nextNode(); node !== null; node = walker.nextNode()) {
      const parent = node.parentElement;
      if (node.textContent.trim() !== "" && own(parent) && parent.checkVisibility()) texts.push(node.textContent.trim());
    }
    for (const element of document.body.querySelectorAll("*")) {
      if (!own(element) || !element.checkVisibility()) continue;
      for (const name of ["aria-label", "title", "alt", "aria-valuetext"]) {
        const value = element.getAttribute(name);
        if (value !== null && value.trim() !== "") texts.push(value.trim());
      }
    }
    return texts;
  });

// The English the page could show where it speaks German: each English
// text of the table that differs from its German one (its parameters any
// words), and the English built-in lessons' words, as said to a finger.
function englishFinder(texts) {
  const escape = (words) => words.replace(/[.*+?^${}()|[\]\\]/g, "\\$&");
  const patterns = Object.entries(texts.en)
    .filter(([id, english]) => english !== texts.de[id])
    .map(([id, english]) => ({
      id,
      whole: new RegExp(`^${english.split(/\{\w+\}/).map(escape).join("[^]*?")}$`),
      // A long sentence without parameters is looked for within a text too.
      part: /\{\w+\}/.test(english) || english.length < 24 ? null : english.replace(/<\/?b>/g, ""),
    }));
  const lessonWords = readdirSync(lessonsDir)
    .filter((name) => name.endsWith(".lesson"))
    .flatMap((name) => readFileSync(join(lessonsDir, name), "utf8").split("\n"))
    .filter((line) => /^(title|step|hint) /.test(line))
    .map((line) => line.slice(line.indexOf(" ") + 1).replace(/\b([Cc])lick/g, (_, c) => (c === "C" ? "Tap" : "tap")));
  return (shown) => {
    const found = [];
    for (const text of shown) {
      const pattern = patterns.find(({ whole, part }) => whole.test(text) || (part !== null && text.includes(part)));
      if (pattern !== undefined) found.push(`${pattern.id}: ${text}`);
      if (lessonWords.some((words) => text.includes(words))) found.push(`a lesson's English: ${text}`);
    }
    return found;
  };
}

test("a German phone, 390 x 844: no English outside the LCD, on the panel, the demo flying and the lessons panel", async () => {
  const texts = tableOf(join(distDir, "texts.js"));
  const english = englishFinder(texts);
  const browser = await browsers.launch({ ...kPhone, locale: "de-DE" });
  const { page, errors } = await openPanel(browser.context, server.url);
  assert.equal(await page.evaluate(() => document.documentElement.lang), "de");
  // Off, the bar says Fly switches the instrument on; once it has, where
  // the maxima count from.
  const says = () => page.evaluate(() => document.getElementById("FlightSays").textContent);
  await page.waitForFunction(() => document.getElementById("FlightSays").textContent !== "");
  const seen = await shownTexts(page);
  const off = await says();
  await page.locator("#FlightPlay").tap();
  await page.waitForFunction((off) => !["", off].includes(document.getElementById("FlightSays").textContent), off);
  seen.push(...(await shownTexts(page)));
  await page.locator("#LessonsOpen").tap();
  await page.locator("#LessonList button").first().waitFor();
  seen.push(...(await shownTexts(page)));
  await page.locator("#LessonList button").nth(3).tap();
  await page.locator("#LessonHintButton").tap();
  await page.locator("#LessonHint").waitFor();
  seen.push(...(await shownTexts(page)));
  assert.ok(seen.includes(texts.de["lessons.back"]) && seen.some((text) => text.startsWith("Tipp: ")), "the lesson's texts were read");
  assert.deepEqual(english(seen), []);
  assert.deepEqual(errors, []);
  await browser.close();
});

test("French from the browser, the choice on the page kept on the device, English for a language the page lacks", async () => {
  const texts = tableOf(join(distDir, "texts.js"));
  // [the browser's language, the page's]
  for (const [locale, language] of [["fr-CA", "fr"], ["es-ES", "en"]]) {
    const browser = await browsers.launch({ ...kPhone, locale });
    const { page } = await openPanel(browser.context, server.url);
    const shown = async () =>
      page.evaluate(() => [document.documentElement.lang, document.getElementById("FlightDemo").textContent, document.getElementById("Language").value]);
    assert.deepEqual(await shown(), [language, texts[language]["flight.demo"], language], locale);
    const select = page.getByRole("combobox", { name: texts[language]["language.label"] });
    await Promise.all([page.waitForEvent("load"), select.selectOption("de")]);
    await reloadPanel(page);
    assert.deepEqual(await shown(), ["de", texts.de["flight.demo"], "de"], `${locale}: chosen German, after a reload too`);
    await browser.close();
  }
});
