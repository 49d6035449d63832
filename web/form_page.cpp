// Writes what the page takes from the host library's table of the form, so
// the page and the window stand every control at the same place with the
// same captions, tooltips and keys. Run with node when the page is put
// together:
//   node form_page.cjs --css OUT.css panel.css    the controls' geometry,
//                                                 then the page's own look
//   node form_page.cjs --html OUT.html index.html  the page, its @caption:X@,
//                                                 @title:X@, @label:X@,
//                                                 @slider-highest@,
//                                                 @slider-start@ and
//                                                 @keyboard-help@ filled in
//   node form_page.cjs --words OUT.js              the panel's words for the
//                                                 page's scripts: the keys
//                                                 (word, keyboard key, event,
//                                                 the form's controls that
//                                                 work it), the reading units
//                                                 and the controls a lesson
//                                                 names
// A control inside another (the LCD in its frame, the communication window
// in its group box) is placed from inside the parent's 1 px border, as CSS
// places it. The geometry's rules weigh nothing (:where), so any layout's
// own rule for a control wins over the form's place.
#include <cstdio>
#include <string>
#include <string_view>

#include "host/panel/key_table.h"
#include "host/panel/lcd_colours.h"
#include "host/panel/panel_form.h"
#include "host/panel/panel_types.h"
#include "host/panel/panel_words.h"

namespace {

constexpr int kParentBorder = 1;
constexpr std::size_t kLargestPageFile = 1024 * 1024;

bool ReadWhole(const char* path, std::string& text) {
  std::FILE* in = std::fopen(path, "rb");
  if (in == nullptr) return false;
  char buffer[4096];
  std::size_t read = 0;
  while ((read = std::fread(buffer, 1, sizeof buffer, in)) > 0 && text.size() <= kLargestPageFile) {
    text.append(buffer, read);
  }
  const bool ok = std::ferror(in) == 0 && text.size() <= kLargestPageFile;
  std::fclose(in);
  return ok;
}

bool WriteWhole(const char* path, const std::string& text) {
  std::FILE* out = std::fopen(path, "wb");
  if (out == nullptr) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  return std::fclose(out) == 0 && written;
}

std::string GeometryRules() {
  char rule[160];
  std::snprintf(rule, sizeof rule, ":where(#Form1){width:%dpx;height:%dpx}\n", kvr9::kFormWidth,
                kvr9::kFormHeight);
  std::string css = std::string("/* The form's geometry, from the form's table. */\n") + rule;
  for (const kvr9::FormControl& control : kvr9::FormControls()) {
    const int inset = control.parent != nullptr ? kParentBorder : 0;
    std::snprintf(rule, sizeof rule, ":where(#%s){left:%dpx;top:%dpx;", control.name,
                  control.rect.left - inset, control.rect.top - inset);
    css += rule;
    // A label is as wide as its caption.
    if (control.rect.width > 0) {
      std::snprintf(rule, sizeof rule, "width:%dpx;", control.rect.width);
      css += rule;
    }
    std::snprintf(rule, sizeof rule, "height:%dpx}\n", control.rect.height);
    css += rule;
  }
  // The LED, lit until the first pass colours it; "unlit" is its class
  // when dark.
  const auto colour = [](const char* selector, kvr9::Rgb rgb) {
    char text[96];
    std::snprintf(text, sizeof text, ":where(%s){background:rgb(%d,%d,%d)}\n", selector, rgb.red,
                  rgb.green, rgb.blue);
    return std::string(text);
  };
  return css + colour("#Shape1", kvr9::kLedLit) + colour("#Shape1.unlit", kvr9::kLedUnlit);
}

// What a placeholder stands for; false for one the table does not know.
bool Fill(std::string_view name, std::string& value) {
  if (name == "slider-highest") {
    value = std::to_string(kvr9::kSliderHighest);
    return true;
  }
  if (name == "keyboard-help") {
    value = kvr9::KeyboardHelpText();
    return true;
  }
  if (name == "slider-start") {
    value = std::to_string(kvr9::kSliderStartPosition);
    return true;
  }
  const std::size_t colon = name.find(':');
  if (colon == std::string_view::npos) return false;
  const std::string_view what = name.substr(0, colon);
  const std::string_view control = name.substr(colon + 1);
  for (const kvr9::FormControl& entry : kvr9::FormControls()) {
    if (control != entry.name) continue;
    const char* text = what == "caption" ? entry.caption
                       : what == "label" ? entry.accessibleName
                                         : nullptr;
    if (what == "title") {
      value = kvr9::FormToolTip(entry);
      return !value.empty();
    }
    if (text == nullptr) return false;
    value = text;
    return true;
  }
  return false;
}

bool FillPage(std::string& page) {
  std::string filled;
  std::size_t at = 0;
  while (true) {
    const std::size_t open = page.find('@', at);
    if (open == std::string::npos) break;
    const std::size_t close = page.find('@', open + 1);
    std::string value;
    if (close == std::string::npos ||
        !Fill(std::string_view(page).substr(open + 1, close - open - 1), value)) {
      std::fprintf(stderr, "form_page: no value for the placeholder at byte %zu\n", open);
      return false;
    }
    filled.append(page, at, open - at).append(value);
    at = close + 1;
  }
  page = filled.append(page, at, std::string::npos);
  return true;
}

std::string Quote(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

// The words are the host's own; none holds a quote or a backslash.
std::string WordsScript() {
  std::string keys;
  for (const kvr9::InstrumentKey& key : kvr9::InstrumentKeys()) {
    std::string controls;
    for (const kvr9::FormControl& control : kvr9::FormControls()) {
      if (control.key == key.key) controls += (controls.empty() ? "" : ", ") + Quote(control.name);
    }
    keys += "    { word: " + Quote(key.word) + ", keyboard: " + Quote(key.keyboard) +
            ", event: " + std::to_string(static_cast<int>(key.key)) + ", controls: [" + controls +
            "] },\n";
  }
  std::string units;
  for (const kvr9::UnitWord& unit : kvr9::UnitWords()) {
    units += "    { word: " + Quote(unit.word) + ", slider: " +
             Quote(unit.slider == kvr9::SliderKind::Altitude ? "altitude" : "airspeed") +
             ", unit: " + std::to_string(static_cast<int>(unit.unit)) + " },\n";
  }
  std::string controls;
  for (const kvr9::ControlWordEntry& entry : kvr9::ControlWords()) {
    std::string names;
    for (const char* name : entry.formControls) {
      if (name != nullptr) names += (names.empty() ? "" : ", ") + Quote(name);
    }
    controls += "    " + Quote(entry.word) + ": [" + names + "],\n";
  }
  return "// The panel's words, made from the host library's tables when the page is\n"
         "// built, so the scripts call things as the window and the driver do.\n"
         "\"use strict\";\n"
         "window.kvr9Words = Object.freeze({\n"
         "  keys: [\n" +
         keys + "  ],\n  units: [\n" + units + "  ],\n  controls: {\n" + controls + "  },\n});\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string_view(argv[1]) == "--words") {
    if (!WriteWhole(argv[2], WordsScript())) {
      std::fprintf(stderr, "form_page: cannot write %s\n", argv[2]);
      return 2;
    }
    return 0;
  }
  const std::string_view mode = argc == 4 ? argv[1] : "";
  if (mode != "--css" && mode != "--html") {
    std::fprintf(stderr,
                 "usage: form_page --css OUT.css panel.css | --html OUT.html index.html | "
                 "--words OUT.js\n");
    return 2;
  }
  std::string text;
  if (!ReadWhole(argv[3], text)) {
    std::fprintf(stderr, "form_page: cannot read %s\n", argv[3]);
    return 2;
  }
  if (mode == "--css") {
    text = GeometryRules() + text;
  } else if (!FillPage(text)) {
    return 2;
  }
  if (!WriteWhole(argv[2], text)) {
    std::fprintf(stderr, "form_page: cannot write %s\n", argv[2]);
    return 2;
  }
  return 0;
}
