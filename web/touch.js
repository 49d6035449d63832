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
  // Nearer the centre than this the angle jitters; it is not counted.
  const kDeadRadius = 8;

  const byId = (id) => document.getElementById(id);

  function ConnectKnobSwipe(knob) {
    let swipe = null;

    knob.addEventListener("pointerdown", (event) => {
      if (!event.isPrimary || event.button !== 0) return;
      const box = knob.getBoundingClientRect();
      swipe = { id: event.pointerId, x: box.left + box.width / 2, y: box.top + box.height / 2, angle: null, sum: 0, turned: false };
      knob.setPointerCapture(event.pointerId);
    });

    knob.addEventListener("pointermove", (event) => {
      if (swipe === null || event.pointerId !== swipe.id) return;
      const dx = event.clientX - swipe.x;
      const dy = event.clientY - swipe.y;
      if (Math.hypot(dx, dy) < kDeadRadius) return;
      // Screen y runs down, so a growing angle is clockwise.
      const angle = (Math.atan2(dy, dx) * 180) / Math.PI;
      if (swipe.angle !== null) {
        let delta = angle - swipe.angle;
        if (delta > 180) delta -= 360;
        if (delta < -180) delta += 360;
        swipe.sum += delta;
        while (Math.abs(swipe.sum) >= kDegreesPerTurn) {
          const clockwise = swipe.sum > 0;
          swipe.sum -= clockwise ? kDegreesPerTurn : -kDegreesPerTurn;
          swipe.turned = true;
          byId(clockwise ? "Button3" : "Button4").click();
        }
      }
      swipe.angle = angle;
    });

    const end = (event) => {
      if (swipe === null || event.pointerId !== swipe.id) return;
      // A swipe that turned the knob is not also a press.
      if (swipe.turned) {
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
