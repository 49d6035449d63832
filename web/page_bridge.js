// The page's side of the imports declared in web/page_boundary.h: the
// firmware calls these, they call the front panel that panel.js hands to
// the module as Module.panel.
mergeInto(LibraryManager.library, {
  // pixels: the LCD painted as RGBA bytes, 256 x 128, or 0 when the picture
  // is the one shown already.
  kvr9_page_present: function (pixels) {
    Module.panel.present(pixels === 0 ? null : new Uint8ClampedArray(HEAPU8.buffer, pixels, 256 * 128 * 4));
  },
  kvr9_page_set_lcd_visible: function (visible) {
    Module.panel.setLcdVisible(visible !== 0);
  },
  kvr9_page_set_alarm_led: function (lit) {
    Module.panel.setAlarmLed(lit !== 0);
  },
  kvr9_page_lcd_text: function (lines) {
    Module.panel.lcdText(UTF8ToString(lines));
  },
  kvr9_page_slider: function (altitude, position, description) {
    Module.panel.slider(altitude !== 0, position, UTF8ToString(description));
  },
  kvr9_page_flight: function (status) {
    Module.panel.flight(UTF8ToString(status));
  },
  kvr9_page_running: function (on) {
    Module.panel.running(on !== 0);
  },
  kvr9_page_box: function (box, checked) {
    Module.panel.box(box, checked !== 0);
  },
  kvr9_page_comm_rows: function (rows) {
    Module.panel.commRows(JSON.parse(UTF8ToString(rows)));
  },
  kvr9_page_lesson: function () {
    Module.panel.lesson();
  },
  kvr9_page_append_comm_line: function (text, dropOldest, unchangedOnScreen) {
    Module.panel.appendCommLine(UTF8ToString(text), dropOldest !== 0, unchangedOnScreen !== 0);
  },
});
