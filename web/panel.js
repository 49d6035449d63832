// The front panel of the page: the window's controls and handlers over the
// firmware, which runs as WebAssembly (kvr9.js, kvr9.wasm). The firmware's
// main loop sleeps between passes; the browser delivers the page's events
// only then, so a handler never interleaves with a pass, as in the window.
"use strict";

(function () {
  const kLcdWidth = 128;
  const kLcdHeight = 64;
  const kTimerIntervalMs = 100;
  const kMaxCommLines = 1000;
  // A blank LCD dot: the window's colour for an inactive window's frame
  // under Qt's Fusion style (184, 184, 184).
  const kBlankDot = [184, 184, 184];
  const kDarkDot = [0, 0, 0];
  const kLedLit = "rgb(255, 0, 0)";
  const kLedUnlit = "rgb(128, 0, 0)";

  // The instrument's key events, as the firmware numbers them.
  const Keys = { press: 1, cw: 2, ccw: 3, f1: 4, f2: 5 };

  // The window's keyboard keys (KeyboardEvent.key), whichever control has
  // the focus: they work the instrument as the clicks do.
  // The window's keys, on keys no control uses, so a focused slider, box
  // or button keeps its arrows, Page Up/Down and Space.
  const kKeyboard = {
    F1: "f1",
    F2: "f2",
    F3: "press",
    "+": "cw",
    "-": "ccw",
  };

  const byId = (id) => document.getElementById(id);

  // What a test or a recording tool may watch; it only reads.
  function observe(kind, detail) {
    if (typeof window.kvr9Observer === "function") window.kvr9Observer(kind, detail);
  }

  function showNotice(text) {
    const notice = byId("notice");
    notice.textContent = text;
    notice.hidden = false;
  }

  // The LCD surface: 257 x 129 pixels, white when first painted; each dot a
  // 2 x 2 block at the top left, so the last column and row stay white.
  const lcd = {
    canvas: null,
    context: null,
    image: null,
    frame: new Uint8Array(1024),
    visible: true,
    visibilityQueued: false,

    present(bytes) {
      // A picture unchanged since the last frame needs no repaint.
      if (this.image !== null && bytes.every((byte, i) => byte === this.frame[i])) return;
      this.frame.set(bytes);
      if (this.image === null) {
        this.image = this.context.createImageData(this.canvas.width, this.canvas.height);
        this.image.data.fill(255);
      }
      PaintDots(this.image.data, this.canvas.width, this.frame);
      this.context.putImageData(this.image, 0, 0);
    },

    // The picture Ctrl+C copies: the frame buffer as painted, 256 x 128.
    picture() {
      const canvas = document.createElement("canvas");
      canvas.width = 2 * kLcdWidth;
      canvas.height = 2 * kLcdHeight;
      const context = canvas.getContext("2d");
      const image = context.createImageData(canvas.width, canvas.height);
      PaintDots(image.data, canvas.width, this.frame);
      context.putImageData(image, 0, 0);
      return canvas;
    },
  };

  // Dot (x, y) is bit y & 7 of byte (y / 8) * 128 + x; a set bit is dark.
  function PaintDots(pixels, stride, frame) {
    for (let y = 0; y < kLcdHeight; ++y) {
      const page = (y >> 3) * kLcdWidth;
      const mask = 1 << (y & 7);
      for (let x = 0; x < kLcdWidth; ++x) {
        const colour = frame[page + x] & mask ? kDarkDot : kBlankDot;
        for (let dy = 0; dy < 2; ++dy) {
          let at = ((2 * y + dy) * stride + 2 * x) * 4;
          for (let dx = 0; dx < 2; ++dx, at += 4) {
            pixels[at] = colour[0];
            pixels[at + 1] = colour[1];
            pixels[at + 2] = colour[2];
            pixels[at + 3] = 255;
          }
        }
      }
    }
  }

  // The communication window keeps its latest lines only, a row each. A
  // new row lays out only itself, where a text box lays out all its lines
  // again; once the window is full of the line that comes again, it is left
  // as it is, since dropping the oldest row and adding that line would
  // change nothing a person sees.
  const memo = {
    element: null,
    lineCount: 0,
    lastLine: null,
    repeats: 0,
    append(line) {
      this.repeats = line === this.lastLine ? this.repeats + 1 : 1;
      this.lastLine = line;
      if (this.lineCount === kMaxCommLines && this.repeats > kMaxCommLines) return;
      const row = document.createElement("div");
      row.textContent = line;
      this.element.appendChild(row);
      if (this.lineCount === kMaxCommLines) this.element.firstElementChild.remove();
      else ++this.lineCount;
      this.element.scrollTop = this.element.scrollHeight;
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
      byId("Shape1").style.backgroundColor = lit ? kLedLit : kLedUnlit;
    },
    isCalibrateChecked: () => byId("CheckBox2").firstElementChild.checked,
    isKeyFastChecked: () => byId("CheckBox3").firstElementChild.checked,
    appendCommLine: (text) => memo.append(text),
  };

  let firmware = null;

  function Fail(error) {
    showNotice("The simulator stopped with an error: " + (error && error.message ? error.message : error));
  }

  // "ON" switched off runs the whole power cycle, which sleeps between
  // passes and ends on "OFF"; while running it only asks for a restart.
  function Button1Click() {
    observe("on");
    if (firmware._kvr9_is_running()) {
      firmware._kvr9_on();
      return;
    }
    firmware.ccall("kvr9_on", null, [], [], { async: true }).catch(Fail);
  }

  function Button2Click() {
    observe("off");
    firmware._kvr9_off();
  }

  function StoreKey(name) {
    observe("key", name);
    firmware._kvr9_store_key(Keys[name]);
  }

  function TrackBarChange(trackBar, label, setConverter, name) {
    const position = Number(trackBar.value);
    observe("slider", { name, position });
    setConverter(position);
    label.textContent = String(position);
  }

  function Timer1Timer() {
    observe("tick");
    firmware._kvr9_timer_tick();
  }

  function CopyLcdPicture() {
    lcd.picture().toBlob((png) => {
      if (!navigator.clipboard || typeof ClipboardItem === "undefined") {
        showNotice("This browser does not let the page copy pictures to the clipboard.");
        return;
      }
      navigator.clipboard
        .write([new ClipboardItem({ "image/png": png })])
        .catch(() => showNotice("The browser refused to copy the LCD picture to the clipboard."));
    }, "image/png");
  }

  // The panel's keys work whichever control has the focus; every other key
  // is left to that control.
  function OnKeyDown(event) {
    if (event.ctrlKey && !event.altKey && !event.metaKey) {
      if (event.key !== "c" && event.key !== "C") return;
      event.preventDefault();
      CopyLcdPicture();
      return;
    }
    if (event.altKey || event.metaKey) return;
    const key = kKeyboard[event.key];
    if (key === undefined) return;
    event.preventDefault();
    StoreKey(key);
  }

  // Nor does the browser act on the panel's keys when they are released.
  function OnKeyUp(event) {
    if (kKeyboard[event.key] !== undefined) event.preventDefault();
  }

  function ConnectHandlers() {
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
    for (const [id, name] of [["CheckBox2", "calibrate"], ["CheckBox3", "keyfast"]]) {
      const box = byId(id).firstElementChild;
      box.addEventListener("change", () => observe("box", { name, checked: box.checked }));
    }
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
    setInterval(Timer1Timer, kTimerIntervalMs);
  }

  function LoadFirmware() {
    const script = document.createElement("script");
    script.src = "kvr9.js";
    script.onerror = () => showNotice("The simulator's program (kvr9.js) could not be loaded.");
    script.onload = () => {
      createKvr9({ panel })
        .then((module) => {
          firmware = module;
          ConnectHandlers();
          observe("ready");
        })
        .catch((error) =>
          showNotice(
            "The simulator's program (kvr9.wasm) could not be loaded, so the panel does not work. " +
              String(error && error.message ? error.message : error)
          )
        );
    };
    document.head.appendChild(script);
  }

  function Start() {
    lcd.canvas = byId("Image1");
    lcd.context = lcd.canvas.getContext("2d");
    memo.element = byId("Memo1");
    if (typeof WebAssembly !== "object" || typeof WebAssembly.instantiate !== "function") {
      showNotice(
        "This browser cannot run WebAssembly, which the simulator needs. " +
          "Please open the page in a current Firefox, Chrome, Edge or Safari."
      );
      return;
    }
    if (location.protocol === "file:") {
      showNotice(
        "Opened from a file, the browser will not load the simulator's program (kvr9.wasm). " +
          "Serve this folder over HTTP, for example: python3 -m http.server --bind 127.0.0.1"
      );
    }
    LoadFirmware();
  }

  Start();
})();
