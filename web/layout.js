// Fits the panel to the window. On a desktop 640 px wide and more the form
// keeps its own size, centred; narrower, the face fills the width and the
// other controls follow below it ("stack"). On a touch screen whatever
// keeps the keys largest wins, as long as every control stays a fingertip
// wide and the face, ON and OFF and the flight bar are in view together:
// the form scaled (only where even its smallest buttons come out large
// enough), the stack, or the face beside the controls ("side"). layout.css
// draws each; this picks one and its scale, then puts the form on whole
// device pixels and sizes the LCD so that each dot is whole device pixels.
"use strict";

(function () {
  const kForm = { width: 621, height: 404 };
  const kFace = { width: 336, height: 323 };
  const kNarrow = 640;
  const kMargin = { form: 16, side: 8, stack: 8 };
  const kSideColumn = 220; // the title and help beside a short form
  const kGap = 16;
  // The narrowest the controls beside the face may be.
  const kSideControls = 300;
  // The smallest a fingertip can hit, and the form's smallest button
  // (Clockwise, 25 px tall), which the scaled form must bring up to it.
  const kFingertip = 44;
  const kFormSmallestButton = 25;
  // The Clockwise/AntiClockwise and ON/OFF rows below the face, with their
  // gaps and the form's padding, as layout.css makes them.
  const kStackRows = 8 + 48 + 8 + 56 + 8;
  // The LCD's canvas: 128 x 64 dots of 2 x 2 canvas pixels, and one more.
  const kCanvas = { width: 257, height: 129 };

  const root = document.documentElement;
  const coarse = window.matchMedia("(pointer: coarse)");
  const byId = (id) => document.getElementById(id);

  const outerHeight = (element) => {
    const style = getComputedStyle(element);
    if (style.display === "none") return 0;
    return element.offsetHeight + parseFloat(style.marginTop) + parseFloat(style.marginBottom);
  };

  // The height of what stands above the form (title, help, notice) and of
  // the flight bar, as now laid out.
  function heights() {
    const form = byId("Form1");
    let above = 0;
    for (const child of form.parentElement.children) {
      if (child === form) break;
      above += outerHeight(child);
    }
    // Stand mode's lines come and go below the bar's buttons: they scroll
    // with the page, and the form keeps its size and place for them.
    const stand = outerHeight(byId("StandCaption")) + outerHeight(byId("StandResume"));
    return { above, bar: outerHeight(byId("FlightBar")) - stand };
  }

  // Each layout that fits, with the scale of its keys against the form's.
  function candidates(width, height, { above, bar }) {
    if (width < kNarrow) return [{ layout: "stack", scale: (width - 2 * kMargin.stack) / kFace.width }];
    const cap = coarse.matches ? Infinity : 1;
    const inner = { width: width - 2 * kMargin.form, height: height - 2 * kMargin.form };
    const list = [
      {
        layout: "form",
        // On a desktop the bar may scroll into view (it stays at the foot
        // of the window); on a touch screen it is in view from the start.
        scale: Math.min(cap, inner.width / kForm.width, (inner.height - above - (coarse.matches ? bar : 0)) / kForm.height),
      },
      {
        layout: "form-side",
        scale: Math.min(
          cap,
          (width - 2 * kMargin.side - kGap - kSideColumn) / kForm.width,
          (height - 2 * kMargin.side) / kForm.height
        ),
      },
    ];
    // A desktop keeps the form as it is wherever it fits whole.
    if (!coarse.matches) return list[0].scale >= 1 ? [list[0]] : list;
    const touchable = list.filter(({ scale }) => scale * kFormSmallestButton >= kFingertip);
    touchable.push(
      {
        layout: "stack",
        scale: Math.min(
          (width - 2 * kMargin.stack) / kFace.width,
          (height - 2 * kMargin.stack - above - kStackRows - bar) / kFace.height
        ),
      },
      {
        layout: "side",
        scale: Math.min(
          (height - 2 * kMargin.side) / kFace.height,
          (width - 2 * kMargin.side - kGap - kSideControls) / kFace.width
        ),
      }
    );
    return touchable;
  }

  // How far the page under an element has scrolled: nothing for one fixed
  // to the window (the face on a screen on its side).
  const scrolled = (element) =>
    getComputedStyle(element).position === "fixed" ? { x: 0, y: 0 } : { x: window.scrollX, y: window.scrollY };

  // The page moved by less than a device pixel so that the face starts on
  // a whole one.
  function placeOnDevicePixels(ratio) {
    root.style.setProperty("--nudge-x", "0px");
    root.style.setProperty("--nudge-y", "0px");
    const face = byId("Image2");
    const box = face.getBoundingClientRect();
    const scroll = scrolled(face);
    const nudge = (at) => (Math.ceil(at * ratio - 1e-6) - at * ratio) / ratio;
    root.style.setProperty("--nudge-x", `${nudge(box.left + scroll.x)}px`);
    root.style.setProperty("--nudge-y", `${nudge(box.top + scroll.y)}px`);
  }

  // The canvas as large as the LCD's window allows with each dot a whole
  // number of device pixels, centred in it, its corner on a device pixel.
  function placeLcd(ratio) {
    const panel = byId("Panel1");
    const box = panel.getBoundingClientRect();
    const style = getComputedStyle(panel);
    const border = {
      left: parseFloat(style.borderLeftWidth),
      top: parseFloat(style.borderTopWidth),
      right: parseFloat(style.borderRightWidth),
      bottom: parseFloat(style.borderBottomWidth),
    };
    // CSS px inside the panel to device px (the form may be scaled; the
    // panel is border-box sized).
    const scale = box.width / parseFloat(style.width) || 1;
    const toDevice = scale * ratio;
    const scroll = scrolled(panel);
    const frame = {
      width: (box.width / scale - border.left - border.right) * toDevice,
      height: (box.height / scale - border.top - border.bottom) * toDevice,
      left: (box.left + scroll.x) * ratio + border.left * toDevice,
      top: (box.top + scroll.y) * ratio + border.top * toDevice,
    };
    const dot = Math.max(
      1,
      Math.floor(Math.min((2 * frame.width) / kCanvas.width, (2 * frame.height) / kCanvas.height) + 1e-6)
    );
    const size = { width: (kCanvas.width * dot) / 2, height: (kCanvas.height * dot) / 2 };
    const corner = (side, length) => Math.round(frame[side] + (frame[length] - size[length]) / 2) - frame[side];
    const lcd = {
      left: corner("left", "width") / toDevice,
      top: corner("top", "height") / toDevice,
      width: size.width / toDevice,
      height: size.height / toDevice,
    };
    for (const [name, value] of Object.entries(lcd)) root.style.setProperty(`--lcd-${name}`, `${value}px`);
  }

  function apply({ layout, scale }) {
    root.dataset.layout = layout;
    root.classList.toggle("flow", layout === "stack" || layout === "side");
    if (layout === "stack" || layout === "side") root.style.setProperty("--u", `${scale}px`);
    else root.style.setProperty("--k", String(scale));
  }

  // On a desktop the page stands in the middle of the window, upright too;
  // once the instrument is in use its place is kept: words the page adds
  // or changes below the form (a flight's notes, a link) must not move the
  // form under the person's pointer. A new window size centres it again.
  let used = false;
  let centredFor = "";
  for (const kind of ["pointerdown", "keydown"]) {
    window.addEventListener(kind, () => (used = true), { capture: true, passive: true });
  }
  function placeTop(layout) {
    const main = document.querySelector("main");
    if (layout !== "form") {
      main.style.removeProperty("margin-top");
      centredFor = "";
      return;
    }
    const size = `${window.innerWidth}x${window.innerHeight}`;
    if (used && size === centredFor) return;
    centredFor = size;
    main.style.marginTop = `${Math.max(0, Math.floor((window.innerHeight - main.offsetHeight) / 2))}px`;
  }

  // The pixel-exact placing, once the layout is drawn.
  function snap() {
    const ratio = window.devicePixelRatio || 1;
    placeOnDevicePixels(ratio);
    placeLcd(ratio);
  }

  function Fit() {
    // The fonts may be ready before the body is parsed; the body's own
    // DOMContentLoaded fits it then.
    if (document.readyState === "loading") return;
    const width = root.clientWidth;
    const height = window.innerHeight;
    let chosen = null;
    // Twice: the title's and the bar's heights depend on the width the
    // layout gives them.
    for (let round = 0; round < 2; ++round) {
      const best = candidates(width, height, heights()).reduce((a, b) => (b.scale > a.scale + 1e-6 ? b : a));
      if (chosen && chosen.layout === best.layout && Math.abs(chosen.scale - best.scale) < 1e-6) break;
      chosen = best;
      apply(chosen);
    }
    // The form shows the engineer's controls in their places; elsewhere
    // they fold away until asked for.
    const engineer = byId("Engineer");
    if (chosen.layout.startsWith("form")) engineer.open = true;
    placeTop(chosen.layout);
    snap();
  }

  // Loaded in the head, so that the first picture of the page is laid out
  // already: the width alone decides there, the full choice follows once
  // the title can be measured.
  const width = root.clientWidth;
  if (width < kNarrow) apply({ layout: "stack", scale: (width - 2 * kMargin.stack) / kFace.width });
  else apply({ layout: "form", scale: 1 });
  document.addEventListener("DOMContentLoaded", Fit);
  window.addEventListener("load", Fit);
  window.addEventListener("resize", Fit);
  coarse.addEventListener("change", Fit);
  if (document.fonts) document.fonts.ready.then(Fit);
  // The page's own content changes size too (the flight bar's texts, a
  // notice): fit again in the next frame, so that a change made by fitting
  // is not reported back within the same one.
  let pending = false;
  const refit = () => {
    if (pending) return;
    pending = true;
    requestAnimationFrame(() => {
      pending = false;
      Fit();
    });
  };
  document.addEventListener("DOMContentLoaded", () => new ResizeObserver(refit).observe(document.querySelector("main")));
})();
