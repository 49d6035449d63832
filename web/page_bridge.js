// The page's side of the HostPanel: the firmware calls these, they call the
// front panel that panel.js hands to the module as Module.panel.
mergeInto(LibraryManager.library, {
  kvr9_page_present: function (frameBytes) {
    Module.panel.present(HEAPU8.subarray(frameBytes, frameBytes + 1024));
  },
  kvr9_page_set_lcd_visible: function (visible) {
    Module.panel.setLcdVisible(visible !== 0);
  },
  kvr9_page_set_alarm_led: function (lit) {
    Module.panel.setAlarmLed(lit !== 0);
  },
  kvr9_page_is_calibrate_checked: function () {
    return Module.panel.isCalibrateChecked() ? 1 : 0;
  },
  kvr9_page_is_key_fast_checked: function () {
    return Module.panel.isKeyFastChecked() ? 1 : 0;
  },
  kvr9_page_append_comm_line: function (text) {
    Module.panel.appendCommLine(UTF8ToString(text));
  },
});
