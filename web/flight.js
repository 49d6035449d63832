// The flight bar below the form: the demo flight, or a flight log (IGC or
// CSV) opened from the person's own disk, read in the browser and sent
// nowhere, played into the sliders by the firmware's side at x1 to x64.
// The firmware's side says what the bar shows; this only draws it and
// passes the clicks on. With the instrument off, Play is "Fly": it clicks
// ON, as a person would, and the flight starts once the splash is over.
"use strict";

// program() is the firmware's side running the panel now: the small
// program, or the full one once the page has moved to it; observe(kind)
// tells a watcher of the page's events.
window.kvr9FlightBar = function (program, observe) {
  // The profile readers refuse more; a larger file is not even read.
  const kLargestLogBytes = 64 * 1024 * 1024;
  const byId = (id) => document.getElementById(id);
  // The page's words in its language (texts.js); the firmware's side says
  // its own in English.
  const { text, host } = window.kvr9Texts;
  let state = "paused";
  let powered = false;

  function setText(element, text) {
    if (element.textContent !== text) element.textContent = text;
  }

  // 7:05, or 1:02:03 from an hour on.
  function clock(seconds) {
    const s = Number(seconds);
    const two = (n) => String(n).padStart(2, "0");
    const minutes = Math.floor(s / 60);
    if (minutes < 60) return `${minutes}:${two(s % 60)}`;
    return `${Math.floor(minutes / 60)}:${two(minutes % 60)}:${two(s % 60)}`;
  }

  function tellProblem(text) {
    const message = byId("FlightMessage");
    setText(message, text);
    message.hidden = text === "";
  }

  const scrub = byId("FlightScrub");
  const stand = byId("StandCaption");

  // The firmware's side's status, a JSON object of the flight's named fields.
  function show(statusText) {
    const status = JSON.parse(statusText);
    const elapsed = String(status.elapsed);
    const total = String(status.total);
    state = status.state;
    powered = status.on;
    setText(byId("FlightPlay"), text(!powered ? "flight.fly" : state === "playing" ? "flight.pause" : "flight.play"));
    setText(byId("FlightName"), host(status.name));
    setText(byId("FlightTime"), `${clock(elapsed)} / ${clock(total)}`);
    setText(byId("FlightNow"), `${status.altitude} ${status.altitudeUnit}, ${status.airspeed} ${status.airspeedUnit}`);
    setText(byId("FlightSummary"), host(status.summary));
    setText(byId("FlightSays"), host(status.note));
    // The speed the firmware's side plays at: a kept instrument brings its own.
    for (const button of byId("FlightSpeed").querySelectorAll("button")) {
      const pressed = String(Number(button.dataset.speed) === status.speed);
      if (button.getAttribute("aria-pressed") !== pressed) button.setAttribute("aria-pressed", pressed);
    }
    setText(stand, host(status.stand));
    stand.hidden = !status.stand;
    tellProblem(host(status.problem));
    if (scrub.max !== total) scrub.max = total;
    // Not while a finger holds it.
    if (document.activeElement !== scrub || state === "playing") {
      if (scrub.value !== elapsed) scrub.value = elapsed;
    }
    const moment = text("flight.momentValue", { elapsed: clock(elapsed), total: clock(total) });
    if (scrub.getAttribute("aria-valuetext") !== moment) scrub.setAttribute("aria-valuetext", moment);
  }

  // The log opened last, kept so that another program, or the next visit,
  // can open it again.
  let log = null;
  // The name, then the log, in one buffer on the firmware's side.
  function openIn(firmware, opened) {
    const name = new TextEncoder().encode(opened.name);
    const at = program()._kvr9_flight_text_buffer(name.length + opened.bytes.byteLength);
    firmware.HEAPU8.set(name, at);
    firmware.HEAPU8.set(opened.bytes, at + name.length);
    program()._kvr9_flight_open(name.length);
  }

  function openLog(file) {
    if (file.size > kLargestLogBytes) {
      tellProblem(text("flight.tooLong", { name: file.name }));
      return;
    }
    file.arrayBuffer().then(
      (bytes) => {
        log = { name: file.name, bytes: new Uint8Array(bytes) };
        openIn(program(), log);
      },
      () => tellProblem(text("flight.unread", { name: file.name }))
    );
  }

  byId("FlightDemo").addEventListener("click", () => {
    program()._kvr9_flight_demo();
    if (powered) program()._kvr9_flight_play(1);
  });
  const input = byId("FlightFile");
  input.addEventListener("change", () => {
    if (input.files.length > 0) openLog(input.files[0]);
    input.value = ""; // the same file chosen again is read again
  });
  // Fly: ON, clicked as a person would; the flight plays after the splash.
  byId("FlightPlay").addEventListener("click", () => {
    if (!powered) observe("on");
    program()._kvr9_flight_fly();
  });
  scrub.addEventListener("input", () => program()._kvr9_flight_move_to(Number(scrub.value)));
  for (const button of byId("FlightSpeed").querySelectorAll("button")) {
    button.addEventListener("click", () => {
      for (const other of byId("FlightSpeed").querySelectorAll("button")) {
        other.setAttribute("aria-pressed", String(other === button));
      }
      program()._kvr9_flight_speed(Number(button.dataset.speed));
    });
  }
  // Stand mode: the firmware's side's tour of the instrument loops with a
  // caption. The next click, tap or key anywhere ends it and hands the
  // instrument over; that input, up to its click or its key's release,
  // reaches nothing else. A finger on the glass may yet be scrolling the
  // page: it reaches no control, scrolls as ever, and ends the mode only
  // as a tap (its click). Once the dealer has chosen it, it is kept on this
  // device across reloads, and a quiet spell after the last input starts
  // the tour again from its start, until "Leave stand mode".
  const kStandKept = "kvr9-stand";
  const resumeLine = byId("StandResume");
  byId("StandResumeText").textContent = host(program().UTF8ToString(program()._kvr9_stand_resumes()));
  const resumeMs = 1000 * program()._kvr9_stand_resume_seconds();
  let standing = false;
  let holding = false;
  let chosen = false;
  let resumeTimer = null;

  function keepChoice(on) {
    try {
      if (on) localStorage.setItem(kStandKept, "1");
      else localStorage.removeItem(kStandKept);
    } catch {
      // Storage refused: the choice lasts as long as the page.
    }
  }
  function keptChoice() {
    try {
      return localStorage.getItem(kStandKept) === "1";
    } catch {
      return false;
    }
  }
  // A quiet spell from now on brings the tour back.
  function quietFromNow() {
    clearTimeout(resumeTimer);
    resumeTimer = chosen && !standing ? setTimeout(startStand, resumeMs) : null;
  }
  // The LCD in view, the page at its top as the layout puts the face there.
  function showLcd() {
    const lcd = byId("Image1").getBoundingClientRect();
    if (lcd.top < 0 || lcd.bottom > window.innerHeight) window.scrollTo({ top: 0, left: 0, behavior: "instant" });
  }
  function startStand() {
    program()._kvr9_stand(1);
    standing = true;
    chosen = true;
    keepChoice(true);
    quietFromNow();
    resumeLine.hidden = true;
    showLcd();
  }
  function endStand() {
    standing = false;
    holding = true;
    program()._kvr9_stand(0);
    resumeLine.hidden = false;
    quietFromNow();
    setTimeout(() => (holding = false), 1000);
  }
  function hold(event) {
    if (standing) {
      const type = event.type;
      if (type === "click" || type === "keydown" || (type === "pointerdown" && event.pointerType === "mouse")) {
        endStand();
      } else {
        event.stopImmediatePropagation();
        if (type === "contextmenu") event.preventDefault();
        return;
      }
    }
    if (!holding) return;
    if (event.cancelable) event.preventDefault();
    event.stopImmediatePropagation();
    if (/click|keyup/.test(event.type)) holding = false;
  }
  const kHeld = "pointerdown pointerup pointercancel touchstart touchmove touchend mousedown mouseup click dblclick keydown keyup contextmenu input change";
  for (const type of kHeld.split(" ")) {
    window.addEventListener(type, hold, { capture: true, passive: false });
  }
  for (const type of ["pointerdown", "keydown", "wheel", "touchstart"]) {
    window.addEventListener(type, () => chosen && !standing && quietFromNow(), { capture: true, passive: true });
  }
  byId("FlightStand").addEventListener("click", startStand);
  byId("StandLeave").addEventListener("click", () => {
    chosen = false;
    keepChoice(false);
    quietFromNow();
    resumeLine.hidden = true;
  });
  // Chosen on an earlier visit: on again once the page has set back what it
  // kept, which it does right after this bar is made.
  if (keptChoice()) setTimeout(startStand, 0);
  const speak = byId("FlightSpeak").firstElementChild;
  byId("FlightBar").hidden = false;

  return {
    show,
    // While a flight plays the LCD's numbers change every pass; a screen
    // reader hears them only when the person asks for it.
    quietLcd: () => state === "playing" && !speak.checked,
    connectSpeak: (changed) => speak.addEventListener("change", changed),
    // The log opened last ({name, bytes}) or null; reopen(firmware, log)
    // opens one in a program as the person's choice did.
    keptLog: () => log,
    // A log the person dropped on the page, as if chosen.
    open: openLog,
    reopen(firmware, kept) {
      log = kept;
      openIn(firmware, kept);
    },
  };
};
