// The flight bar below the form: the demo flight, or a flight log (IGC or
// CSV) opened from the person's own disk, read in the browser and sent
// nowhere, played into the sliders by the firmware's side at x1, x4 or x16.
// The firmware's side says what the bar shows; this only draws it and
// passes the clicks on.
"use strict";

window.kvr9FlightBar = function (firmware) {
  // The profile readers refuse more; a larger file is not even read.
  const kLargestLogBytes = 64 * 1024 * 1024;
  const byId = (id) => document.getElementById(id);
  let playing = false;

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

  // The firmware's side's status: state, name, elapsed and total seconds,
  // altitude and its unit, airspeed and its unit, message (tab-separated).
  function show(status) {
    const [state, name, elapsed, total, altitude, altitudeUnit, airspeed, airspeedUnit, message] =
      status.split("\t");
    playing = state === "playing";
    setText(byId("FlightPlay"), playing ? "Pause" : "Play");
    setText(byId("FlightName"), name);
    setText(byId("FlightTime"), `${clock(elapsed)} / ${clock(total)}`);
    setText(byId("FlightNow"), `${altitude} ${altitudeUnit}, ${airspeed} ${airspeedUnit}`);
    tellProblem(message);
  }

  function openLog(file) {
    if (file.size > kLargestLogBytes) {
      tellProblem(`${file.name}: is longer than the 64 MB a flight log may hold`);
      return;
    }
    file.arrayBuffer().then(
      (bytes) => {
        // The name, then the log, in one buffer on the firmware's side.
        const name = new TextEncoder().encode(file.name);
        const at = firmware._kvr9_flight_text_buffer(name.length + bytes.byteLength);
        firmware.HEAPU8.set(name, at);
        firmware.HEAPU8.set(new Uint8Array(bytes), at + name.length);
        firmware._kvr9_flight_open(name.length);
      },
      () => tellProblem(`${file.name}: the browser could not read it`)
    );
  }

  byId("FlightDemo").addEventListener("click", () => {
    firmware._kvr9_flight_demo();
    firmware._kvr9_flight_play(1);
  });
  const input = byId("FlightFile");
  input.addEventListener("change", () => {
    if (input.files.length > 0) openLog(input.files[0]);
    input.value = ""; // the same file chosen again is read again
  });
  byId("FlightPlay").addEventListener("click", () => firmware._kvr9_flight_play(playing ? 0 : 1));
  for (const button of byId("FlightSpeed").querySelectorAll("button")) {
    button.addEventListener("click", () => {
      for (const other of byId("FlightSpeed").querySelectorAll("button")) {
        other.setAttribute("aria-pressed", String(other === button));
      }
      firmware._kvr9_flight_speed(Number(button.dataset.speed));
    });
  }
  byId("FlightBar").hidden = false;

  return { show, pause: () => firmware._kvr9_flight_play(0) };
};
