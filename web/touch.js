// Fingers and the keyboard on the face's picture areas: the F1, F2 and knob
// areas act as buttons (Enter or Space clicks the focused one), a swipe
// around the knob turns it, and a long press on the face does not bring up
// the browser's picture menu. The turns go through the Clockwise and
// AntiClockwise buttons' own handlers, so they are keys like any other,
// dropped while one is pending.
"use strict";

(function () {
  // One turn per this many degrees of the finger around the knob's centre,
  // about the detents of a panel encoder.
  const kDegreesPerTurn = 30;
  // ... and only when the finger goes round: its own path bends the same
  // way by at least this much for each turn. A straight stroke that passes
  // the centre sweeps a wide angle around it without bending; that is a
  // scroll of the page, not a turn.
  const kBendPerTurn = 20;
  // The path's direction is taken over steps this long, so a finger's
  // jitter does not bend it.
  const kHeadingStep = 8;
  // A finger that has gone this far without bending, and has not turned
  // the knob, scrolls the page instead.
  const kScrollAfter = 32;
  // Nearer the centre than this the angle jitters; it is not counted.
  const kDeadRadius = 12;

  const byId = (id) => document.getElementById(id);

  // An angle difference brought to -180..180 degrees.
  const wrap = (degrees) => (degrees > 180 ? degrees - 360 : degrees < -180 ? degrees + 360 : degrees);

  function ConnectKnobSwipe(knob) {
    let swipe = null;

    knob.addEventListener("pointerdown", (event) => {
      if (!event.isPrimary || event.button !== 0) return;
      const box = knob.getBoundingClientRect();
      swipe = {
        id: event.pointerId,
        x: box.left + box.width / 2,
        y: box.top + box.height / 2,
        angle: null,
        sum: 0,
        turned: false,
        // The path: where its last step began, its direction then, and how
        // far it has bent since the last turn (clockwise positive).
        from: [event.clientX, event.clientY],
        heading: null,
        bend: 0,
        start: [event.clientX, event.clientY],
        lastY: event.clientY,
        scrolling: false,
        finger: event.pointerType !== "mouse",
      };
      knob.setPointerCapture(event.pointerId);
    });

    knob.addEventListener("pointermove", (event) => {
      if (swipe === null || event.pointerId !== swipe.id) return;
      if (swipe.scrolling) {
        window.scrollBy(0, swipe.lastY - event.clientY);
        swipe.lastY = event.clientY;
        return;
      }
      const step = [event.clientX - swipe.from[0], event.clientY - swipe.from[1]];
      if (Math.hypot(...step) >= kHeadingStep) {
        const heading = (Math.atan2(step[1], step[0]) * 180) / Math.PI;
        if (swipe.heading !== null) swipe.bend += wrap(heading - swipe.heading);
        swipe.heading = heading;
        swipe.from = [event.clientX, event.clientY];
      }
      const travelled = Math.hypot(event.clientX - swipe.start[0], event.clientY - swipe.start[1]);
      if (swipe.finger && !swipe.turned && travelled >= kScrollAfter && Math.abs(swipe.bend) < kBendPerTurn) {
        swipe.scrolling = true;
        window.scrollBy(0, swipe.start[1] - event.clientY);
        swipe.lastY = event.clientY;
        return;
      }
      const dx = event.clientX - swipe.x;
      const dy = event.clientY - swipe.y;
      if (Math.hypot(dx, dy) < kDeadRadius) return;
      // Screen y runs down, so a growing angle is clockwise.
      const angle = (Math.atan2(dy, dx) * 180) / Math.PI;
      if (swipe.angle !== null) swipe.sum += wrap(angle - swipe.angle);
      swipe.angle = angle;
      while (Math.abs(swipe.sum) >= kDegreesPerTurn) {
        const sign = Math.sign(swipe.sum);
        if (Math.sign(swipe.bend) !== sign || Math.abs(swipe.bend) < kBendPerTurn) {
          // At most one turn waits for the path to bend.
          swipe.sum = sign * Math.min(Math.abs(swipe.sum), kDegreesPerTurn);
          break;
        }
        swipe.sum -= sign * kDegreesPerTurn;
        swipe.bend -= sign * kBendPerTurn;
        swipe.turned = true;
        byId(sign > 0 ? "Button3" : "Button4").click();
      }
    });

    const end = (event) => {
      if (swipe === null || event.pointerId !== swipe.id) return;
      // A swipe that turned the knob, or scrolled the page, is not also a press.
      if (swipe.turned || swipe.scrolling) {
        const swallow = (click) => click.stopImmediatePropagation();
        knob.addEventListener("click", swallow, { capture: true, once: true });
        setTimeout(() => knob.removeEventListener("click", swallow, { capture: true }), 0);
      }
      swipe = null;
    };
    knob.addEventListener("pointerup", end);
    knob.addEventListener("pointercancel", end);
  }

  // A finger on a slider moves it by how far the finger goes, from where
  // the thumb was. The browser's own range input jumps the thumb to where
  // the finger lands, and follows only once the finger has gone a good way:
  // a short drag to the left begun right of the thumb raised the value. So
  // the finger's travel sets the value, each change a hand on the slider as
  // any other (its own input event), and an input the browser makes itself
  // during the drag is put back to that value before the panel's handler
  // reads it, and goes no further. A tap leaves the slider where it was.
  const kThumb = 16; // the thumb's width, which the track's ends leave over
  function ConnectSliderDrag(slider, label) {
    let drag = null;
    // Whether the slider's last hand was a finger (not the mouse or keys):
    // the browser's own inputs after it (a tap's, at the drag's end) are
    // put back too, to the position the panel shows.
    let finger = false;
    slider.addEventListener("keydown", () => (finger = false));
    const valueNow = () => {
      const highest = Number(slider.max);
      const perPixel = highest / Math.max(1, slider.getBoundingClientRect().width - kThumb);
      return Math.max(0, Math.min(highest, Math.round(drag.from + (drag.at - drag.x) * perPixel)));
    };
    slider.addEventListener("pointerdown", (event) => {
      finger = event.pointerType !== "mouse";
      if (!finger || !event.isPrimary) return;
      const from = Number(slider.value);
      drag = { id: event.pointerId, x: event.clientX, at: event.clientX, from, now: from };
    });
    slider.addEventListener("pointermove", (event) => {
      if (drag === null || event.pointerId !== drag.id) return;
      drag.at = event.clientX;
      const value = valueNow();
      if (value === drag.now) return;
      drag.now = value;
      slider.value = String(value);
      slider.dispatchEvent(new Event("input", { bubbles: true }));
    });
    const end = (event) => {
      if (drag === null || event.pointerId !== drag.id) return;
      const moved = drag.now !== drag.from;
      drag = null;
      if (moved) slider.dispatchEvent(new Event("change", { bubbles: true }));
    };
    slider.addEventListener("pointerup", end);
    slider.addEventListener("pointercancel", end);
    // Ahead of the panel's own handler, which is added once the program
    // has loaded.
    for (const kind of ["input", "change"]) {
      slider.addEventListener(kind, (event) => {
        if (!finger || !event.isTrusted) return;
        slider.value = drag !== null ? String(drag.now) : label.textContent;
        event.stopImmediatePropagation();
      });
    }
  }

  // The sliders' fine buttons: each tap a few counts up or down (about half
  // a mph at 60 mph, 30 ft of altitude), a hand on the slider as any other
  // (its own input event).
  const kFineCounts = 4;
  function ConnectFineButtons(form) {
    for (const button of form.querySelectorAll("button.fine")) {
      button.addEventListener("click", () => {
        const slider = byId(button.dataset.slider);
        const highest = Number(slider.max);
        const value = Math.max(0, Math.min(highest, Number(slider.value) + Number(button.dataset.step) * kFineCounts));
        if (value === Number(slider.value)) return;
        slider.value = String(value);
        slider.dispatchEvent(new Event("input", { bubbles: true }));
        slider.dispatchEvent(new Event("change", { bubbles: true }));
      });
    }
  }

  function Start() {
    const form = byId("Form1");
    // The picture areas are buttons for the keyboard too.
    for (const area of form.querySelectorAll(".click-area")) {
      area.addEventListener("keydown", (event) => {
        if (event.key !== "Enter" && event.key !== " ") return;
        if (event.ctrlKey || event.altKey || event.metaKey || event.repeat) return;
        event.preventDefault();
        area.click();
      });
    }
    // The communication window keeps its menu, for copying its lines.
    form.addEventListener("contextmenu", (event) => {
      if (!byId("GroupBox1").contains(event.target)) event.preventDefault();
    });
    ConnectKnobSwipe(byId("Image5"));
    ConnectSliderDrag(byId("TrackBar1"), byId("Label13"));
    ConnectSliderDrag(byId("TrackBar2"), byId("Label3"));
    ConnectFineButtons(form);
  }

  Start();
})();
