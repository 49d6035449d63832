// The front panel of the page: the window's controls and handlers over the
// firmware, which runs as WebAssembly (kvr9.js, kvr9.wasm). The page's timer
// steps the instrument a pass at a time; the browser delivers the page's
// events between the steps, so a handler never interleaves with a pass, as
// in the window.
"use strict";

(function () {
  // The LCD as painted by the firmware's side, each dot a 2 x 2 block.
  const kLcdPictureWidth = 256;
  const kLcdPictureHeight = 128;
  // The page's words in its language (texts.js).
  const { text, host } = window.kvr9Texts;


  const byId = (id) => document.getElementById(id);

  // What a test or a recording tool may watch; it only reads.
  function observe(kind, detail) {
    if (typeof window.kvr9Observer === "function") window.kvr9Observer(kind, detail);
  }

  // A word above the form: a problem, or news of how the page started
  // (the instrument set back), drawn calmer.
  function showNotice(text, { news = false } = {}) {
    const notice = byId("notice");
    notice.textContent = text;
    notice.classList.toggle("news", news);
    notice.hidden = false;
  }

  // The LCD surface: 257 x 129 pixels, white at first; the firmware's side
  // paints each dot as a 2 x 2 block at the top left, so the last column and
  // row stay white.
  const lcd = {
    canvas: null,
    context: null,
    visible: true,
    visibilityQueued: false,

    // pixels: RGBA bytes of the picture, or null when it is unchanged.
    present(pixels) {
      if (pixels === null) return;
      this.context.putImageData(new ImageData(pixels, kLcdPictureWidth, kLcdPictureHeight), 0, 0);
    },

    // The picture Ctrl+C copies: the LCD as painted, 256 x 128.
    picture() {
      const canvas = document.createElement("canvas");
      canvas.width = kLcdPictureWidth;
      canvas.height = kLcdPictureHeight;
      canvas.getContext("2d").drawImage(this.canvas, 0, 0);
      return canvas;
    },
  };

  // The communication window keeps its latest lines only, a row each; a new
  // row lays out only itself, where a text box lays out all its lines
  // again. The firmware's side says when the oldest row goes, and when the
  // window would look the same after the line, which it then leaves alone.
  // A line like the last one shown changes only the scroll bar, yet every
  // change costs the browser a new picture of the page: such lines come in
  // together once a second; any other line comes at once.
  const kSameLinesEveryMs = 1000;
  // A row of the window. The instrument writes a line every pass, most of
  // them empty: a screen reader passes over the empty ones.
  function CommRow(line) {
    const row = document.createElement("div");
    row.textContent = line;
    if (line === "") row.setAttribute("aria-hidden", "true");
    return row;
  }
  const memo = {
    element: null,
    lastLine: null,
    pending: [],
    drops: 0,
    timer: null,
    append(line, dropOldest, unchangedOnScreen) {
      if (unchangedOnScreen) return;
      this.pending.push(line);
      if (dropOldest) ++this.drops;
      const same = line === this.lastLine && this.pending.every((waiting) => waiting === line);
      if (!same) {
        clearTimeout(this.timer);
        this.timer = setTimeout(() => this.flush(), 0);
      } else if (this.timer === null) {
        this.timer = setTimeout(() => this.flush(), kSameLinesEveryMs);
      }
    },
    flush() {
      this.timer = null;
      const rows = document.createDocumentFragment();
      for (const line of this.pending) rows.appendChild(CommRow(line));
      this.lastLine = this.pending.at(-1);
      this.pending = [];
      this.element.appendChild(rows);
      for (; this.drops > 0; --this.drops) this.element.firstElementChild.remove();
      this.element.scrollTop = this.element.scrollHeight;
      observe("commRows", this.element.childElementCount);
    },
  };

  // The LCD's text for a screen reader: a polite live region that takes a
  // new text when the screen's text changes, at most once a second while it
  // keeps changing (the last text always comes), so a running splash or a
  // moving airspeed does not talk over itself.
  const kSpokenIntervalMs = 1000;
  // While a flight plays it is quiet unless the person asked to hear it.
  const spoken = {
    element: null,
    wanted: "",
    lastSpokenAt: -Infinity,
    timer: null,
    quiet: false,
    setQuiet(quiet) {
      if (quiet === this.quiet) return;
      this.quiet = quiet;
      this.element.setAttribute("aria-live", quiet ? "off" : "polite");
      if (!quiet) this.change(this.wanted);
    },
    change(lines) {
      this.wanted = lines.trim();
      if (this.timer !== null) return;
      const wait = this.lastSpokenAt + kSpokenIntervalMs - performance.now();
      this.timer = setTimeout(() => this.speak(), Math.max(0, wait));
    },
    speak() {
      this.timer = null;
      this.lastSpokenAt = performance.now();
      if (this.element.textContent !== this.wanted) this.element.textContent = this.wanted;
      observe("spoken", this.wanted);
    },
  };

  // The LED is lit until the firmware first says otherwise.
  let ledLit = true;

  // The HostPanel operations, as page_bridge.js calls them.
  const panel = {
    present(bytes) {
      lcd.present(bytes);
      observe("frame");
    },
    // The main loop hides the picture while it draws and shows it again
    // before it yields; the page applies the state when the browser next
    // gets control, so an unchanging screen costs no repaint.
    setLcdVisible(visible) {
      lcd.visible = visible;
      if (lcd.visibilityQueued) return;
      lcd.visibilityQueued = true;
      queueMicrotask(() => {
        lcd.visibilityQueued = false;
        const wanted = lcd.visible ? "visible" : "hidden";
        if (lcd.canvas.style.visibility !== wanted) lcd.canvas.style.visibility = wanted;
      });
    },
    // Set only when it turns: restyling the LED every pass would make the
    // browser work out the page's style again.
    setAlarmLed(lit) {
      if (lit === ledLit) return;
      ledLit = lit;
      const led = byId("Shape1");
      led.classList.toggle("unlit", !lit);
      led.setAttribute("aria-label", text(lit ? "form.ledLit" : "form.ledUnlit"));
    },
    appendCommLine: (text, dropOldest, unchangedOnScreen) => memo.append(text, dropOldest, unchangedOnScreen),
    // The LCD's own words as it shows them; what the firmware's side adds of
    // the inverse rows in the page's language.
    lcdText: (lines) =>
      spoken.change(lines.replace(/ \((editing|selected)\)$/gm, (_, mark) => ` (${text(mark === "editing" ? "lcd.editing" : "lcd.selected")})`)),
    // A slider's position, when a flight has moved it, and its description:
    // the counts and the reading they settle at in the pilot's units.
    slider(altitude, position, english) {
      const trackBar = byId(altitude ? "TrackBar2" : "TrackBar1");
      const label = byId(altitude ? "Label3" : "Label13");
      if (label.textContent !== String(position)) {
        trackBar.value = String(position);
        label.textContent = String(position);
      }
      // "Airspeed converter: 1234 counts, about 90 mph": a screen reader
      // hears the reading first, "about 90 mph, 1234 counts".
      const description = host(english);
      trackBar.title = description;
      const [counts, reading] = description.slice(description.indexOf(": ") + 2).split(", ");
      trackBar.setAttribute("aria-valuetext", reading === undefined ? counts : `${reading}, ${counts}`);
    },
    flight(status) {
      if (flightBar === null) return;
      flightBar.show(status);
      spoken.setQuiet(flightBar.quietLcd());
    },
    // The instrument started or stopped: the page's timer steps it.
    running: (on) => (on ? StartStepping() : StopStepping()),
    // A box, or the communication window, as a snapshot set it.
    box(number, checked) {
      byId(number === 0 ? "CheckBox2" : "CheckBox3").firstElementChild.checked = checked;
    },
    commRows(rows) {
      clearTimeout(memo.timer);
      memo.timer = null;
      memo.pending = [];
      memo.drops = 0;
      memo.lastLine = null;
      memo.element.replaceChildren(...rows.map(CommRow));
    },
    lesson: () => window.kvr9Lessons?.changed(),
  };

  let firmware = null;
  let flightBar = null;
  const sessionStart = new Date();

  function Fail(error) {
    showNotice(text("notice.failed", { error: error && error.message ? error.message : error }));
  }

  // The instrument runs one pass a step, once every period of the panel
  // (the program's kvr9_period_ms, as in the window), from the browser's own
  // timer; the page's events come in between the steps, so a handler never
  // interleaves with a pass.
  let stepping = null;

  function Step() {
    try {
      if (firmware._kvr9_step() !== 0) return;
    } catch (error) {
      Fail(error);
    }
    StopStepping();
  }

  function StartStepping() {
    if (stepping === null) stepping = setInterval(Step, firmware._kvr9_period_ms());
  }

  function StopStepping() {
    clearInterval(stepping);
    stepping = null;
  }

  // "ON" switched off starts the power cycle, its first pass at once; while
  // running it only asks for a restart at the next pass.
  function Button1Click() {
    observe("on");
    firmware._kvr9_on();
  }

  function Button2Click() {
    observe("off");
    firmware._kvr9_off();
  }

  function StoreKey(name) {
    observe("key", name);
    firmware._kvr9_store_key(KeyTable().events.get(name));
  }

  // A hand on a slider takes over from a flight (the program pauses it).
  function TrackBarChange(trackBar, label, setConverter, name) {
    const position = Number(trackBar.value);
    observe("slider", { name, position });
    setConverter(position);
    label.textContent = String(position);
    firmware._kvr9_describe_sliders();
  }

  function Timer1Timer() {
    observe("tick");
    firmware._kvr9_timer_tick();
  }

  // The session so far, as a scenario that kvr9-headless replays with the
  // same frames, LED and state.
  function CopySessionAsScenario() {
    const scenario = firmware.UTF8ToString(
      firmware._kvr9_session_scenario(sessionStart.getTime() / 1000, Date.now() / 1000)
    );
    observe("session", scenario);
    if (!navigator.clipboard || typeof navigator.clipboard.writeText !== "function") {
      showNotice(text("notice.noTextClipboard"));
      return;
    }
    navigator.clipboard
      .writeText(scenario)
      .catch(() => showNotice(text("notice.sessionRefused")));
  }

  function CopyLcdPicture() {
    lcd.picture().toBlob((png) => {
      if (!navigator.clipboard || typeof ClipboardItem === "undefined") {
        showNotice(text("notice.noPictureClipboard"));
        return;
      }
      navigator.clipboard
        .write([new ClipboardItem({ "image/png": png })])
        .catch(() => showNotice(text("notice.pictureRefused")));
    }, "image/png");
  }

  // The panel's keys work whichever control has the focus; every other key
  // is left to that control.
  function OnKeyDown(event) {
    if (event.ctrlKey && !event.altKey && !event.metaKey) {
      if (event.key !== "c" && event.key !== "C") return;
      event.preventDefault();
      if (event.shiftKey) CopySessionAsScenario();
      else CopyLcdPicture();
      return;
    }
    if (event.altKey || event.metaKey) return;
    const key = KeyForKeyboard(event.key);
    if (key === undefined) return;
    event.preventDefault();
    StoreKey(key);
  }

  // The key table the window uses too (words.js): each instrument key's
  // word ("f1", "press", ...), the keyboard key that works it and its event
  // number.
  let keyTable = null;
  function KeyTable() {
    if (keyTable === null) {
      const keys = window.kvr9Words.keys;
      keyTable = {
        byKeyboard: new Map(keys.map((key) => [key.keyboard, key.word])),
        events: new Map(keys.map((key) => [key.word, key.event])),
      };
    }
    return keyTable;
  }

  // The instrument key that a keyboard key works; undefined for none.
  function KeyForKeyboard(name) {
    return KeyTable().byKeyboard.get(name);
  }

  // Nor does the browser act on the panel's keys when they are released.
  function OnKeyUp(event) {
    if (!event.ctrlKey && KeyForKeyboard(event.key) !== undefined) event.preventDefault();
  }

  // Until the program has loaded the page says so, and a click on ON made
  // meanwhile is kept and acted on once it is ready.
  let onWhenReady = false;
  function ButtonOnWhileLoading() {
    onWhenReady = true;
    observe("onWhileLoading");
    tellStatus(text("notice.loadingOn"));
  }

  function tellStatus(text) {
    const bar = byId("StatusBar1");
    if (bar.textContent !== text) bar.textContent = text;
  }

  // The lessons panel's script and style come when it is first opened;
  // they load the full program, which follows the lessons.
  let lessonsScript = null;
  function LessonsScript() {
    if (lessonsScript === null) {
      const style = document.createElement("link");
      style.rel = "stylesheet";
      style.href = "lessons.css";
      document.head.appendChild(style);
      lessonsScript = new Promise((resolve, reject) => {
        const script = document.createElement("script");
        script.src = "lessons.js";
        script.onload = () => resolve(window.kvr9Lessons);
        script.onerror = () => reject(new Error("lessons.js could not be loaded"));
        document.head.appendChild(script);
      });
      lessonsScript.catch(() => {
        style.remove();
        lessonsScript = null;
      });
    }
    return lessonsScript;
  }

  function ToggleLessons() {
    LessonsScript().then(
      (lessons) => lessons.toggle(),
      () => showNotice(text("notice.lessonsUnloaded"))
    );
  }

  // A lesson file dropped anywhere on the page opens in the lessons panel,
  // a flight log in the flight bar.
  const isLessonFile = (file) => /\.lesson$/i.test(file.name);
  const isFlightLog = (file) => /\.(igc|csv)$/i.test(file.name);
  function DropLessons() {
    document.addEventListener("dragover", (event) => {
      if ([...(event.dataTransfer?.items ?? [])].some((item) => item.kind === "file")) event.preventDefault();
    });
    document.addEventListener("drop", (event) => {
      const files = [...(event.dataTransfer?.files ?? [])];
      if (files.length === 0) return;
      event.preventDefault();
      const lesson = files.find(isLessonFile);
      const log = files.find(isFlightLog);
      if (lesson === undefined && log !== undefined) {
        flightBar.open(log);
        return;
      }
      if (lesson === undefined) {
        showNotice(text("notice.dropLesson"));
        return;
      }
      LessonsScript().then(
        (lessons) => lessons.openFile(lesson),
        () => showNotice(text("notice.lessonsUnloaded"))
      );
    });
  }

  function ConnectHandlers() {
    byId("LessonsOpen").addEventListener("click", ToggleLessons);
    DropLessons();
    byId("Button1").removeEventListener("click", ButtonOnWhileLoading);
    byId("Button1").addEventListener("click", Button1Click);
    byId("Button2").addEventListener("click", Button2Click);
    byId("Image5").addEventListener("click", () => StoreKey("press"));
    byId("Button3").addEventListener("click", () => StoreKey("cw"));
    byId("Button4").addEventListener("click", () => StoreKey("ccw"));
    byId("Image3").addEventListener("click", () => StoreKey("f1"));
    byId("Image6").addEventListener("click", () => StoreKey("f2"));
    const altitude = byId("TrackBar2");
    const airspeed = byId("TrackBar1");
    altitude.addEventListener("input", () =>
      TrackBarChange(altitude, byId("Label3"), firmware._kvr9_set_altitude_converter, "altitude"));
    airspeed.addEventListener("input", () =>
      TrackBarChange(airspeed, byId("Label13"), firmware._kvr9_set_airspeed_converter, "airspeed"));
    ["CheckBox2", "CheckBox3"].forEach((id, number) => {
      const box = byId(id).firstElementChild;
      box.addEventListener("change", () => {
        observe("box", { name: number === 0 ? "calibrate" : "keyfast", checked: box.checked });
        firmware._kvr9_set_box(number, box.checked ? 1 : 0);
      });
    });
    byId("CopySession").addEventListener("click", CopySessionAsScenario);
    // The wheel over the knob turns it (away from you: clockwise).
    byId("Image5").addEventListener(
      "wheel",
      (event) => {
        event.preventDefault();
        if (event.deltaY < 0) StoreKey("cw");
        if (event.deltaY > 0) StoreKey("ccw");
      },
      { passive: false }
    );
    byId("CopyLcd").addEventListener("click", CopyLcdPicture); // Ctrl+C for a finger
    document.addEventListener("keydown", OnKeyDown, true);
    document.addEventListener("keyup", OnKeyUp, true);
    setInterval(Timer1Timer, firmware._kvr9_period_ms());
  }

  // One of the page's programs: kvr9 (small, loaded at once) or
  // kvr9-full, made by createKvr9 or createKvr9Full.
  function LoadProgram(name, create) {
    return new Promise((resolve, reject) => {
      const script = document.createElement("script");
      script.src = name + ".js";
      script.onerror = () => reject(new Error(`${name}.js could not be loaded`));
      script.onload = () => window[create]({ panel }).then(resolve, reject);
      document.head.appendChild(script);
    });
  }

  // What the page says of a session set back (kvr9_image_apply's answer):
  // the program has told it the controls already.
  function ShowSetBack(answer) {
    if (answer.flight) showNotice(host(answer.flight));
  }

  // The full program, with the snapshot's text and the lessons: loaded
  // when first wanted, it goes on with the session where the small one
  // stands, the log the flight bar holds opened in it again.
  let fullProgram = null;
  function FullProgram() {
    if (fullProgram === null) {
      fullProgram = LoadProgram("kvr9-full", "createKvr9Full").then((full) => {
        const bytes = firmware._kvr9_image_capture();
        const image = firmware.HEAPU8.slice(firmware._kvr9_image_data(), firmware._kvr9_image_data() + bytes);
        const log = flightBar.keptLog();
        if (log !== null) flightBar.reopen(full, log);
        full.HEAPU8.set(image, full._kvr9_input_buffer(image.length));
        const was = stepping !== null;
        StopStepping();
        firmware = full;
        const answer = full.UTF8ToString(full._kvr9_image_apply());
        if (answer !== "") ShowSetBack(JSON.parse(answer));
        else if (was) StartStepping();
        observe("program", "full");
        return full;
      });
      fullProgram.catch(() => (fullProgram = null));
    }
    return fullProgram;
  }

  // For the page's other scripts: the program running the panel, the full
  // one when wanted, what the page tells.
  const whenReady = [];
  window.kvr9Page = {
    program: () => firmware,
    full: FullProgram,
    // The lessons panel's script, loaded when first wanted.
    lessons: LessonsScript,
    showSetBack: ShowSetBack,
    flightLog: () => flightBar.keptLog(),
    reopenLog: (log) => flightBar.reopen(firmware, log),
    notice: showNotice,
    tellStatus,
    observe,
    // fn(page) runs once the small program is ready, before the first pass.
    whenReady: (fn) => (firmware !== null ? fn(window.kvr9Page) : whenReady.push(fn)),
  };

  function LoadFirmware() {
    LoadProgram("kvr9", "createKvr9")
      .then((module) => {
        firmware = module;
        flightBar = window.kvr9FlightBar(() => firmware, observe);
        flightBar.connectSpeak(() => spoken.setQuiet(flightBar.quietLcd()));
        firmware._kvr9_flight_show();
        firmware._kvr9_describe_sliders();
        ConnectHandlers();
        tellStatus("");
        for (const fn of whenReady.splice(0)) fn(window.kvr9Page);
        observe("ready");
        if (onWhenReady) Button1Click();
      })
      .catch((error) => {
        tellStatus("");
        showNotice(text("notice.programUnloaded", { error: String(error && error.message ? error.message : error) }));
      });
  }

  function Start() {
    lcd.canvas = byId("Image1");
    lcd.context = lcd.canvas.getContext("2d");
    lcd.context.fillStyle = "#fff";
    lcd.context.fillRect(0, 0, lcd.canvas.width, lcd.canvas.height);
    memo.element = byId("Memo1");
    spoken.element = byId("LcdText");
    byId("Shape1").setAttribute("aria-label", text("form.ledLit"));
    byId("StatusBar1").setAttribute("role", "status");
    tellStatus(text("notice.loading"));
    byId("Button1").addEventListener("click", ButtonOnWhileLoading);
    if (typeof WebAssembly !== "object" || typeof WebAssembly.instantiate !== "function") {
      showNotice(text("notice.noWasm"));
      return;
    }
    if (location.protocol === "file:") {
      showNotice(text("notice.fromFile"));
    }
    LoadFirmware();
  }

  Start();
})();
