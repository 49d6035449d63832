// Fits the panel to the window. On a desktop 640 px wide and more the form
// keeps its own size, centred; narrower, the face fills the width and the
// other controls follow below it ("stack"). On a touch screen whatever
// keeps the keys largest wins, as long as ON and OFF stay in view: the form
// scaled (with the title above it or, on a short screen, beside it) or the
// stack. layout.css draws each; this only picks one and its scale.
"use strict";

(function () {
  const kForm = { width: 621, height: 404 };
  const kFace = { width: 336, height: 323 };
  const kNarrow = 640;
  const kMargin = { form: 16, side: 8, stack: 8 };
  const kSideColumn = 220; // the title and help beside a short form
  const kGap = 16;
  // The Clockwise/AntiClockwise and ON/OFF rows below the face, with their
  // gaps, as layout.css makes them.
  const kStackRows = 48 + 8 + 56 + 8;
  // The LCD panel of the form and the canvas inside its 1 px frame.
  const kPanel = { width: 259, height: 131 };
  const kCanvas = { width: 257, height: 129 };
  // Whole device pixels a dot are worth an LCD this much smaller than its
  // window, no more; below it the dots stay as large as the window allows.
  const kSnapAtLeast = 0.88;

  const root = document.documentElement;
  const coarse = window.matchMedia("(pointer: coarse)");

  // The height of what stands above the form (title, help, notice) and of
  // what follows it (the extra buttons), as now laid out.
  function headerHeights() {
    const form = document.getElementById("Form1");
    const main = form.parentElement;
    let above = 0;
    for (const child of main.children) {
      if (child === form) break;
      const style = getComputedStyle(child);
      if (style.display === "none") continue;
      above += child.offsetHeight + parseFloat(style.marginTop) + parseFloat(style.marginBottom);
    }
    const controls = document.getElementById("Controls");
    const below = controls.offsetHeight + parseFloat(getComputedStyle(controls).marginTop);
    return { above, below };
  }

  // Each layout that fits, with the scale of its keys against the form's.
  function candidates(width, height, { above, below }) {
    if (width < kNarrow) return [{ layout: "stack", scale: (width - 2 * kMargin.stack) / kFace.width }];
    const cap = coarse.matches ? Infinity : 1;
    const inner = { width: width - 2 * kMargin.form, height: height - 2 * kMargin.form };
    const list = [
      {
        layout: "form",
        scale: Math.min(cap, inner.width / kForm.width, (inner.height - above - below) / kForm.height),
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
    list.push({
      layout: "stack",
      scale: Math.min(
        (width - 2 * kMargin.stack) / kFace.width,
        (height - 2 * kMargin.stack - above - kStackRows) / kFace.height
      ),
    });
    return list;
  }

  // The canvas in the stack: each LCD dot a whole number of device pixels
  // where that costs little, centred in the panel's window.
  function lcdPlace(faceScale) {
    const ratio = window.devicePixelRatio || 1;
    const frame = { width: kPanel.width * faceScale - 2, height: kPanel.height * faceScale - 2 };
    const full = frame.width / kCanvas.width;
    const dot = Math.floor(2 * ratio * full + 1e-9);
    const snapped = dot / (2 * ratio);
    const scale = dot >= 1 && snapped >= kSnapAtLeast * full ? snapped : full;
    const toDevice = (value) => Math.round(value * ratio) / ratio;
    return {
      width: kCanvas.width * scale,
      height: kCanvas.height * scale,
      left: toDevice((frame.width - kCanvas.width * scale) / 2),
      top: toDevice((frame.height - kCanvas.height * scale) / 2),
    };
  }

  function apply({ layout, scale }) {
    root.dataset.layout = layout;
    if (layout === "stack") {
      root.style.setProperty("--u", `${scale}px`);
      const lcd = lcdPlace(scale);
      for (const [name, value] of Object.entries(lcd)) root.style.setProperty(`--lcd-${name}`, `${value}px`);
    } else {
      root.style.setProperty("--k", String(scale));
    }
  }

  function Fit() {
    const width = root.clientWidth;
    const height = window.innerHeight;
    let chosen = null;
    // Twice: the title's height depends on the width the layout gives it.
    for (let round = 0; round < 2; ++round) {
      const best = candidates(width, height, headerHeights()).reduce((a, b) => (b.scale > a.scale + 1e-6 ? b : a));
      if (chosen && chosen.layout === best.layout && Math.abs(chosen.scale - best.scale) < 1e-6) break;
      chosen = best;
      apply(chosen);
    }
  }

  // Loaded in the head, so that the first picture of the page is laid out
  // already: the width alone decides there, the full choice follows once
  // the title can be measured.
  const width = root.clientWidth;
  if (width < kNarrow) apply({ layout: "stack", scale: (width - 2 * kMargin.stack) / kFace.width });
  else apply({ layout: "form", scale: 1 });
  document.addEventListener("DOMContentLoaded", Fit);
  window.addEventListener("resize", Fit);
  coarse.addEventListener("change", Fit);
})();
