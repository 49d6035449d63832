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
  }

  Start();
})();
