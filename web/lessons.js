// The lessons panel: the built-in lessons with the progress made in each,
// the step to do now in plain words, its hint on request (or by itself when
// the person seems stuck), the control to use marked on the panel, and
// "Done" when a step's check holds. The full program follows the lesson on
// the live session and decides when a step passes; this only shows where
// the lesson stands and never moves the instrument for the person.
// Lessons of the person's own (a file opened or dropped, or a lesson's
// link) are listed under the built-in ones and kept on this device with
// their progress until removed; the program reads each with the lesson
// reader, and one it refuses is said in a sentence and not kept. While a
// lesson is followed the program keeps the way taken through it, which
// "Copy solution" gives as a scenario for kvr9-headless.
// Loaded with its style (lessons.css) when the panel is first opened.
"use strict";

(function () {
  const page = window.kvr9Page;
  const byId = (id) => document.getElementById(id);
  // The best steps passed in each built-in lesson, by file, on this device.
  const kProgress = "kvr9-lesson-progress";
  // Far more than the lessons' progress takes; anything longer is not ours.
  const kLongestProgress = 16 * 1024;
  // The person's own lessons, by name: [{name, text}], the text as the
  // program read it (its snapshot inside).
  const kOwnLessons = "kvr9-own-lessons";
  const kMostOwnLessons = 20;
  const kLongestName = 120;
  // A lesson's link: its name, a line break, its text, deflated. The
  // program's cap on a lesson bounds the text; this, the letters before it.
  const kLongestLessonLink = 128 * 1024;
  // The panel's elements each control word stands for (words.js). The knob is
  // pressed on the picture and turned by the finger or the two buttons.
  const kControls = window.kvr9Words.controls;
  // The page's words in its language (texts.js); the program's lines come
  // in English and are said in it.
  const { language, text, host } = window.kvr9Texts;

  // The lessons are written for a mouse; on a touch screen the page says
  // "tap" where they say "click".
  const kTouch = window.matchMedia("(pointer: coarse)").matches;
  const forHand = (words) => (kTouch ? window.kvr9Texts.forHand(words) : words);

  let full = null;
  // [{file, title, index}] in the page's language, index the program's
  // number of the lesson shown; then the person's own, {file, title, name,
  // text, own: true}, file "own:NAME" for their progress
  let lessons = [];
  let progress = {};
  let followed = -1; // the lesson followed, its place in the list
  let shown = null; // the status last shown
  let asking = false; // the person's own click on "Hint" is being shown
  let marked = [];

  // ---- Progress kept on the device ----

  // The progress kept by earlier visits; what cannot be read is left out
  // whole, and the panel says so.
  let progressUnread = false;
  function readProgress() {
    let text = null;
    try {
      text = localStorage.getItem(kProgress);
    } catch {
      return {};
    }
    if (text === null) return {};
    const kept = {};
    try {
      if (text.length > kLongestProgress) throw new Error("too long");
      const read = JSON.parse(text);
      if (read === null || typeof read !== "object" || Array.isArray(read)) throw new Error("not an object");
      for (const [file, entry] of Object.entries(read)) {
        const { best, steps } = entry ?? {};
        if (!Number.isInteger(best) || !Number.isInteger(steps) || best < 0 || steps < 1 || best > steps) {
          throw new Error("not a lesson's progress");
        }
        kept[file] = { best, steps };
      }
    } catch {
      progressUnread = true;
      return {};
    }
    return kept;
  }

  function keepProgress() {
    try {
      localStorage.setItem(kProgress, JSON.stringify(progress));
    } catch {
      // Storage refused (private browsing, full): progress lasts this visit.
    }
  }

  function progressWords(file) {
    const kept = progress[file];
    if (kept === undefined || kept.best === 0) return text("lessons.notStarted");
    if (kept.best >= kept.steps) return text("lessons.done");
    return text("lessons.partly", { best: kept.best, steps: kept.steps });
  }

  // ---- The person's own lessons, kept on the device ----

  const ownKey = (name) => `own:${name}`;
  const own = () => lessons.filter((lesson) => lesson.own);

  function keepOwn() {
    try {
      localStorage.setItem(kOwnLessons, JSON.stringify(own().map(({ name, text }) => ({ name, text }))));
      return true;
    } catch {
      return false;
    }
  }

  // The program's bytes: the name, the lesson, the snapshot picked for it.
  function openInProgram(name, lesson, snapshot, follow) {
    const encoder = new TextEncoder();
    const nameBytes = encoder.encode(name);
    const lessonBytes = typeof lesson === "string" ? encoder.encode(lesson) : lesson;
    const snapshotBytes = snapshot ?? new Uint8Array(0);
    const at = full._kvr9_input_buffer(nameBytes.length + lessonBytes.length + snapshotBytes.length);
    full.HEAPU8.set(nameBytes, at);
    full.HEAPU8.set(lessonBytes, at + nameBytes.length);
    full.HEAPU8.set(snapshotBytes, at + nameBytes.length + lessonBytes.length);
    return JSON.parse(full.UTF8ToString(full._kvr9_lesson_open(nameBytes.length, lessonBytes.length, follow ? 1 : 0)));
  }

  // The lessons kept by earlier visits, each read again; one this version
  // does not read is left out, and the panel says so.
  let ownUnread = false;
  function readOwn() {
    let kept = [];
    try {
      kept = JSON.parse(localStorage.getItem(kOwnLessons) ?? "[]");
    } catch {
      ownUnread = true;
    }
    if (!Array.isArray(kept)) {
      ownUnread = true;
      kept = [];
    }
    const read = [];
    for (const entry of kept.slice(0, kMostOwnLessons)) {
      const { name, text } = entry ?? {};
      const answer = typeof name === "string" && typeof text === "string" && name.length <= kLongestName ? openInProgram(name, text, null, false) : { error: "" };
      if (answer.error !== undefined) ownUnread = true;
      else if (!read.some((lesson) => lesson.name === name)) read.push({ file: ownKey(name), title: answer.title, name, text: answer.text, own: true });
    }
    return read;
  }

  // The person's sentence for a lesson the program refused.
  function refusal(name, answer) {
    const why = /[.?!]$/.test(answer.reason) ? answer.reason : `${answer.reason}.`;
    return answer.line > 0 ? text("lessons.refusedLine", { name, line: answer.line, why }) : text("lessons.refused", { name, why });
  }

  // A lesson file's text, or a link's: read, kept under its name (in place
  // of one of that name) and followed. A lesson that starts from a
  // snapshot file waits for the person to pick that file.
  let waiting = null; // {name, bytes, file}: the lesson waiting for its snapshot
  function openOwn(name, bytes, snapshot, from) {
    const answer = openInProgram(name, bytes, snapshot, false);
    if (answer.error !== undefined) {
      if (answer.snapshotWanted !== "" && snapshot === null && from === "file") {
        waiting = { name, bytes, file: answer.snapshotWanted };
        showWaiting();
        return false;
      }
      message(refusal(name, answer));
      page.observe("lessonRefused", answer.error);
      return false;
    }
    const others = lessons.filter((lesson) => !(lesson.own && lesson.name === name));
    if (others.filter((lesson) => lesson.own).length >= kMostOwnLessons) {
      message(text("lessons.tooMany", { most: kMostOwnLessons }));
      return false;
    }
    const before = lessons.find((lesson) => lesson.own && lesson.name === name);
    if (before !== undefined && before.text !== answer.text) delete progress[before.file];
    lessons = [...others, { file: ownKey(name), title: answer.title, name, text: answer.text, own: true }];
    const kept = keepOwn();
    keepProgress();
    fillList();
    follow(lessons.length - 1);
    message(kept ? "" : text("lessons.notKept"));
    page.observe("lessonOpened", name);
    return true;
  }

  function showWaiting() {
    parts.waiting.hidden = waiting === null;
    if (waiting !== null) setText(parts.waitingWords, text("lessons.pickSnapshot", { name: waiting.name, file: waiting.file }));
    message("");
  }

  // A file the person chose or dropped; read no further than the
  // program's cap, which then refuses it with its reason.
  async function readFile(file) {
    const largest = full._kvr9_lesson_largest();
    return new Uint8Array(await file.slice(0, largest + 1).arrayBuffer());
  }

  async function openFile(file) {
    await open();
    if (full === null) return;
    const name = file.name.slice(0, kLongestName);
    let bytes;
    try {
      bytes = await readFile(file);
    } catch {
      message(text("lessons.unreadFile", { name }));
      return;
    }
    if (followed >= 0) backToList();
    waiting = null;
    showWaiting();
    openOwn(name, bytes, null, "file");
  }

  async function openSnapshotFor(file) {
    if (waiting === null) return;
    let bytes;
    try {
      bytes = await readFile(file);
    } catch {
      message(text("lessons.unreadFile", { name: file.name }));
      return;
    }
    const { name, bytes: lesson } = waiting;
    waiting = null;
    showWaiting();
    openOwn(name, lesson, bytes, "file");
  }

  function remove(number) {
    const lesson = lessons[number];
    lessons = lessons.filter((_, at) => at !== number);
    delete progress[lesson.file];
    keepOwn();
    keepProgress();
    fillList();
    message("");
    say(text("lessons.removed", { title: lesson.title }));
    (parts.ownList.querySelector("button") ?? parts.openLabel).focus({ preventScroll: true });
    page.observe("lessonRemoved", lesson.name);
  }

  // ---- Links and solutions ----

  async function share() {
    const lesson = lessons[followed];
    const link = window.kvr9Keep.lessonLink(await window.kvr9Keep.pack(new TextEncoder().encode(`${lesson.name}\n${lesson.text}`)));
    if (link.length - link.indexOf("#") > kLongestLessonLink) {
      message(text("lessons.linkTooLong"));
      return;
    }
    showOutput(parts.link, link, "shared");
  }

  function copySolution() {
    showOutput(parts.way, full.UTF8ToString(full._kvr9_lesson_way()), "way");
  }

  // A link or a solution: in its field to copy by hand, and on the
  // clipboard where the browser lets the page write it.
  function showOutput(field, value, kind) {
    parts.link.hidden = parts.way.hidden = true;
    field.value = value;
    field.hidden = false;
    const said = kind === "shared" ? ["lessons.linkCopied", "lessons.linkCopyIt"] : ["lessons.wayCopied", "lessons.wayCopyIt"];
    const tell = (copied) => setText(parts.output, text(said[copied ? 0 : 1]));
    if (navigator.clipboard && typeof navigator.clipboard.writeText === "function") {
      navigator.clipboard.writeText(value).then(() => tell(true), () => tell(false));
    } else {
      tell(false);
    }
    field.select();
    page.observe(kind, value);
  }

  // A lesson's link opened: read like a file; a link that does not hold one
  // the program reads says why, and nothing changes.
  async function openLink(fragment) {
    await open();
    if (full === null) return;
    const refuse = (why) => {
      message(text("lessons.linkRefused", { why }));
      page.observe("lessonLinkRefused", why);
    };
    let bytes;
    try {
      if (fragment.length > kLongestLessonLink) throw new Error("it is too long");
      bytes = await window.kvr9Keep.unpack(fragment, full._kvr9_lesson_largest() + 4 * kLongestName + 1);
    } catch (error) {
      refuse(text(error instanceof Error && error.message === "it is too long" ? "keep.tooLong" : "keep.damaged"));
      return;
    }
    const newline = bytes.indexOf(10);
    let name = "";
    try {
      name = newline > 0 ? new TextDecoder("utf-8", { fatal: true }).decode(bytes.subarray(0, newline)) : "";
    } catch {
      name = "";
    }
    if (name === "" || name.length > kLongestName) {
      refuse(text("keep.damaged"));
      return;
    }
    if (followed >= 0) backToList();
    openOwn(name, bytes.subarray(newline + 1), null, "link");
  }

  // ---- The panel's elements ----

  const make = (tag, attributes = {}, text = "") => {
    const element = document.createElement(tag);
    for (const [name, value] of Object.entries(attributes)) element.setAttribute(name, value);
    if (text) element.textContent = text;
    return element;
  };

  const setText = (element, text) => {
    if (element.textContent !== text) element.textContent = text;
  };

  let panel = null;
  const parts = {};

  const finished = (file) => progress[file] !== undefined && progress[file].best >= progress[file].steps;

  function build() {
    panel = make("section", { id: "LessonPanel", "aria-labelledby": "LessonPanelTitle" });
    const head = make("div", { class: "lesson-head" });
    head.append(
      make("h2", { id: "LessonPanelTitle" }, text("lessons.title")),
      (parts.close = make("button", { type: "button", id: "LessonClose", "aria-label": text("lessons.closeLabel"), title: text("lessons.closeTitle") }, text("lessons.close")))
    );
    parts.list = make("ul", { id: "LessonList", "aria-label": text("lessons.list") });
    // The person's own lessons, and opening one.
    parts.own = make("div", { id: "OwnLessons" });
    parts.ownTitle = make("h3", { id: "OwnLessonsTitle" }, text("lessons.own"));
    parts.ownList = make("ul", { id: "OwnLessonList", "aria-labelledby": "OwnLessonsTitle" });
    parts.openLabel = make("label", { id: "LessonOpen", class: "file-button", title: text("lessons.openTitle") });
    parts.openLabel.append(make("span", {}, text("lessons.open")), (parts.file = make("input", { id: "LessonFile", type: "file", accept: ".lesson", class: "visually-hidden" })));
    parts.waiting = make("div", { id: "LessonWaiting", hidden: "" });
    parts.waitingWords = make("p", { id: "LessonWaitingWords" });
    parts.snapshotLabel = make("label", { id: "LessonSnapshotOpen", class: "file-button" });
    parts.snapshotLabel.append(make("span", {}, text("lessons.openSnapshot")), (parts.snapshotFile = make("input", { id: "LessonSnapshotFile", type: "file", accept: ".json", class: "visually-hidden" })));
    parts.waiting.append(parts.waitingWords, parts.snapshotLabel);
    parts.own.append(parts.ownTitle, parts.ownList, parts.openLabel, parts.waiting);
    parts.lesson = make("div", { id: "LessonStep", hidden: "" });
    parts.title = make("h3", { id: "LessonTitle" });
    parts.stepNo = make("p", { id: "LessonStepNo" });
    parts.words = make("p", { id: "LessonWords" });
    parts.off = make("p", { id: "LessonOff", hidden: "" });
    parts.hint = make("p", { id: "LessonHint", hidden: "" });
    parts.done = make("p", { id: "LessonDone" });
    const buttons = make("div", { class: "lesson-buttons" });
    buttons.append(
      (parts.hintButton = make("button", { type: "button", id: "LessonHintButton" }, text("lessons.hint"))),
      (parts.back = make("button", { type: "button", id: "LessonBack", title: text("lessons.backTitle") }, text("lessons.back"))),
      (parts.share = make("button", { type: "button", id: "LessonShare", title: text("lessons.shareTitle") }, text("lessons.share"))),
      (parts.solution = make("button", { type: "button", id: "LessonSolution", title: text("lessons.solutionTitle") }, text("lessons.solution")))
    );
    parts.link = make("input", { id: "LessonLink", type: "text", readonly: "", hidden: "", "aria-label": text("lessons.linkLabel") });
    parts.way = make("textarea", { id: "LessonWay", readonly: "", hidden: "", rows: "6", "aria-label": text("lessons.wayLabel") });
    parts.output = make("p", { id: "LessonOutput", role: "status" });
    // The step's number and words: on a phone a card at the foot of the
    // screen, in view with the LCD and the control the step marks.
    parts.card = make("div", { id: "LessonCard" });
    parts.card.append(parts.stepNo, parts.words);
    parts.lesson.append(parts.title, parts.card, parts.off, parts.hint, parts.done, buttons, parts.link, parts.way, parts.output);
    parts.message = make("p", { id: "LessonMessage", hidden: "" });
    // What a screen reader hears: each new step, each success.
    parts.spoken = make("div", { id: "LessonSpoken", class: "visually-hidden", role: "status", "aria-live": "polite" });
    panel.append(head, parts.message, parts.list, parts.own, parts.lesson, parts.spoken);
    byId("Form1").after(panel);

    parts.close.addEventListener("click", close);
    parts.back.addEventListener("click", backToList);
    parts.hintButton.addEventListener("click", () => {
      asking = true;
      full._kvr9_lesson_hint();
      show(status());
      asking = false;
      parts.hint.focus?.();
    });
    for (const list of [parts.list, parts.ownList]) {
      list.addEventListener("click", (event) => {
        const button = event.target.closest("button[data-lesson]");
        if (button !== null) follow(Number(button.dataset.lesson));
        const removing = event.target.closest("button[data-remove]");
        if (removing !== null) remove(Number(removing.dataset.remove));
      });
    }
    parts.file.addEventListener("change", () => {
      const [file] = parts.file.files;
      parts.file.value = ""; // the same file chosen again is read again
      if (file !== undefined) openFile(file);
    });
    parts.snapshotFile.addEventListener("change", () => {
      const [file] = parts.snapshotFile.files;
      parts.snapshotFile.value = "";
      if (file !== undefined) openSnapshotFor(file);
    });
    parts.share.addEventListener("click", () => share().catch(() => message(text("keep.unmade"))));
    parts.solution.addEventListener("click", copySolution);
  }

  function entry(lesson, number) {
    const item = make("li");
    const button = make("button", { type: "button", "data-lesson": String(number) });
    button.append(make("span", { class: "lesson-name" }, lesson.title), make("span", { class: "lesson-progress" }, progressWords(lesson.file)));
    if (finished(lesson.file)) button.classList.add("finished");
    item.append(button);
    if (lesson.own) {
      item.classList.add("own-lesson");
      item.append(make("button", { type: "button", "data-remove": String(number), class: "lesson-remove", "aria-label": text("lessons.removeLabel", { title: lesson.title }) }, text("lessons.remove")));
    }
    return item;
  }

  function fillList() {
    const numbered = lessons.map((lesson, number) => [lesson, number]);
    parts.list.replaceChildren(...numbered.filter(([lesson]) => !lesson.own).map(([lesson, number]) => entry(lesson, number)));
    parts.ownList.replaceChildren(...numbered.filter(([lesson]) => lesson.own).map(([lesson, number]) => entry(lesson, number)));
    parts.ownList.hidden = parts.ownList.childElementCount === 0;
  }

  function say(text) {
    setText(parts.spoken, text);
    page.observe("lessonSaid", text);
  }

  function message(text) {
    setText(parts.message, text);
    parts.message.hidden = text === "";
  }

  // ---- Where the page puts the panel ----

  // Beside the instrument where the window leaves room for it, below it
  // otherwise (a phone).
  const kPanelWidth = 320;
  function place() {
    const root = document.documentElement;
    const layout = root.dataset.layout;
    let beside = false;
    if (layout === "form" || layout === "form-side") {
      const main = document.querySelector("main").getBoundingClientRect();
      const used = layout === "form" ? byId("Form1").getBoundingClientRect().width + 32 : main.width;
      beside = root.clientWidth - used >= kPanelWidth + 24;
    }
    root.classList.toggle("lessons-beside", beside);
  }
  const placeLater = () => requestAnimationFrame(place);

  // ---- Following a lesson ----

  // On a phone (the face and controls in a column, or the face at the left
  // of a phone on its side) the step's card stays at the foot of the
  // screen, and the page scrolls by the least that brings the LCD and the
  // marked control into view above it. Where the window is too short for
  // all three (a small phone, the airspeed slider far below the LCD), the
  // card goes between the LCD and the control instead, over the rows that
  // step does not use, and scrolls with them. Not while a finger is down:
  // the control under it would move away.
  let fingers = 0;
  let viewWanted = false;
  for (const kind of ["pointerdown", "pointerup", "pointercancel"]) {
    window.addEventListener(kind, () => {
      fingers = Math.max(0, fingers + (kind === "pointerdown" ? 1 : -1));
      if (fingers === 0 && viewWanted) setTimeout(keepInView, 0);
    }, { capture: true, passive: true });
  }
  const onPhone = () => document.documentElement.classList.contains("flow");
  // Room for the mark's glow.
  const kRoom = 12;
  // A box in page coordinates.
  const inPage = (element) => {
    const box = element.getBoundingClientRect();
    return { top: box.top + window.scrollY, bottom: box.bottom + window.scrollY };
  };
  function keepInView() {
    viewWanted = false;
    const card = parts.card;
    if (!onPhone() || followed < 0 || parts.lesson.hidden) {
      card.classList.remove("between");
      return;
    }
    if (fingers > 0) {
      viewWanted = true;
      return;
    }
    // What scrolls with the page; the face of a phone on its side stays put.
    const scrolls = (element) => element.checkVisibility() && getComputedStyle(element).position !== "fixed";
    const lcd = byId("Image1");
    const controls = marked.map(byId).filter(scrolls).map(inPage);
    const boxes = [...(scrolls(lcd) ? [inPage(lcd)] : []), ...controls];
    card.classList.remove("between");
    if (boxes.length === 0) return;
    const top = Math.min(...boxes.map((box) => box.top)) - kRoom;
    const bottom = Math.max(...boxes.map((box) => box.bottom)) + kRoom;
    const height = window.innerHeight;
    let clear = height - card.offsetHeight;
    if (bottom - top > clear && scrolls(lcd) && controls.length > 0) {
      const gap = { top: inPage(lcd).bottom + kRoom / 2, bottom: Math.min(...controls.map((box) => box.top)) - kRoom };
      if (gap.bottom - gap.top >= card.offsetHeight + kRoom && bottom - top <= height) {
        card.classList.add("between");
        card.style.top = `${gap.top - inPage(document.querySelector("main")).top}px`;
        clear = height;
      }
    }
    let scroll = window.scrollY;
    if (bottom - scroll > clear) scroll = bottom - clear;
    if (top < scroll) scroll = top;
    if (scroll !== window.scrollY) window.scrollTo({ top: Math.max(0, scroll), behavior: "instant" });
  }

  function status() {
    return JSON.parse(full.UTF8ToString(full._kvr9_lesson_status()));
  }

  function mark(control) {
    const ids = control === undefined ? [] : kControls[control] ?? [];
    if (ids.join() === marked.join()) return;
    for (const id of marked) byId(id).classList.remove("lesson-mark");
    marked = ids;
    for (const id of marked) byId(id).classList.add("lesson-mark");
    requestAnimationFrame(keepInView);
    // The engineer's boxes fold away on a phone: a step that needs one
    // opens them.
    if (control === "calibrate-box" || control === "keyfast-box") byId("Engineer").open = true;
  }

  // The program's texts in the page's language; the lesson's own words come
  // from its file in that language. On a phone the page says "tap" for
  // "click".
  function show(said) {
    if (said === null) return;
    const now = { ...said, stepLine: host(said.stepLine), hint: host(said.hint), doneLine: host(said.doneLine), off: said.off && host(said.off) };
    const before = shown;
    shown = now;
    const stepChanged = before === null || before.passed !== now.passed;
    setText(parts.title, now.title);
    // Off, the LED keeps its colour: bright red before the first ON.
    setText(parts.off, now.off ?? "");
    parts.off.hidden = !now.off;
    setText(parts.stepNo, now.stepLine);
    setText(parts.words, forHand(now.words));
    parts.words.hidden = now.done;
    setText(parts.hint, forHand(now.hint));
    if (now.hintShown && parts.hint.hidden && !asking && !now.done) say(forHand(now.hint));
    parts.hint.hidden = now.done || !now.hintShown;
    parts.hintButton.hidden = now.done || now.hintShown;
    setText(parts.done, now.doneLine);
    parts.done.hidden = now.doneLine === "";
    mark(now.control ?? undefined);
    if (stepChanged) {
      // A lesson whose steps have changed since starts its count again.
      const { file } = lessons[followed];
      const kept = progress[file];
      const best = kept !== undefined && kept.steps === now.steps ? kept.best : 0;
      if (kept === undefined || kept.steps !== now.steps || now.passed > best) {
        progress[file] = { best: Math.max(best, now.passed), steps: now.steps };
        keepProgress();
      }
      const step = `${now.stepLine}: ${forHand(now.words)}`;
      if (now.done) say(`${now.doneLine} ${now.stepLine}.`);
      else if (before === null) say(step);
      else say(`${now.doneLine} ${step}`);
      page.observe("lessonStep", { passed: now.passed, steps: now.steps, done: now.done });
    }
  }

  // The program tells when the lesson may show something else; the texts
  // are read once its call has returned.
  let checking = false;
  function changed() {
    if (checking || followed < 0) return;
    checking = true;
    queueMicrotask(() => {
      checking = false;
      if (followed >= 0) show(status());
    });
  }

  async function follow(number) {
    message("");
    // The program sets the instrument where the lesson starts.
    const lesson = lessons[number];
    const error = lesson.own ? openInProgram(lesson.name, lesson.text, null, true).error ?? "" : full.UTF8ToString(full._kvr9_lesson_follow(lesson.index));
    if (error !== "") {
      message(text("lessons.cannotFollow", { error }));
      return;
    }
    followed = number;
    shown = null;
    parts.list.hidden = parts.own.hidden = true;
    parts.lesson.hidden = false;
    parts.share.hidden = !lesson.own;
    parts.link.hidden = parts.way.hidden = true;
    setText(parts.output, "");
    show(status());
    parts.title.setAttribute("tabindex", "-1");
    parts.title.focus({ preventScroll: true });
    if (onPhone()) keepInView();
    else panel.scrollIntoView({ block: "nearest" });
    page.observe("lessonFollowed", lessons[number].file);
  }

  function stopFollowing() {
    followed = -1;
    shown = null;
    mark(undefined);
  }

  function backToList() {
    stopFollowing();
    full._kvr9_lesson_leave();
    parts.lesson.hidden = true;
    parts.list.hidden = parts.own.hidden = false;
    fillList();
    say("");
    parts.list.querySelector("button")?.focus({ preventScroll: true });
  }

  // ---- Opening and closing the panel ----

  // The English lessons, each as its translation in the page's language
  // where there is one: the same checks in other words.
  function inLanguage(all) {
    const numbered = all.map((lesson, index) => ({ ...lesson, index }));
    return numbered
      .filter((lesson) => lesson.language === "en")
      .map((english) => numbered.find((lesson) => lesson.language === language && lesson.file === english.file) ?? english);
  }

  const opener = () => byId("LessonsOpen");

  async function open() {
    if (panel === null) build();
    if (!panel.hidden && full !== null) return;
    panel.hidden = false;
    document.documentElement.classList.add("lessons-open");
    opener().setAttribute("aria-expanded", "true");
    place();
    if (full === null) {
      message(text("lessons.loading"));
      try {
        full = await page.full();
      } catch {
        message(text("lessons.unloaded"));
        return;
      }
      lessons = inLanguage(JSON.parse(full.UTF8ToString(full._kvr9_lesson_list())));
      lessons = [...lessons, ...readOwn()];
      progress = readProgress();
      message(progressUnread ? text("lessons.progressUnread") : ownUnread ? text("lessons.ownUnread") : "");
    }
    if (followed < 0) {
      parts.lesson.hidden = true;
      parts.list.hidden = parts.own.hidden = false;
      fillList();
    }
    // Focus goes into the panel that opened: to the list's first lesson, or
    // to the lesson being followed.
    (followed < 0 ? parts.list.querySelector("button") : parts.title)?.focus({ preventScroll: true });
    panel.scrollIntoView({ block: "nearest" });
    page.observe("lessonsOpen");
  }

  // Closing the panel gives the instrument back as the first lesson found
  // it, with its flight; the device kept that copy meanwhile.
  function close() {
    stopFollowing();
    if (full !== null && full._kvr9_lesson_close() !== 0) {
      page.tellStatus(text("lessons.backAsBefore"));
    }
    panel.hidden = true;
    document.documentElement.classList.remove("lessons-open", "lessons-beside");
    opener().setAttribute("aria-expanded", "false");
    opener().focus({ preventScroll: true });
    page.observe("lessonsClosed");
  }

  window.addEventListener("resize", () => {
    placeLater();
    requestAnimationFrame(keepInView);
  });
  window.kvr9Lessons = {
    toggle: () => (panel === null || panel.hidden ? open() : close()),
    changed,
    openFile,
    openLink,
  };
})();
