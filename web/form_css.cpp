// Writes the page's style sheet for the form: the geometry of every
// control from the host library's table of the form, so the page and the
// window stand every control at the same place, then the page's own look
// (panel.css). Run with node when the page is put together:
//   node form_css.js OUT.css panel.css
// A control inside another (the LCD in its frame, the communication window
// in its group box) is placed from inside the parent's 1 px border, as CSS
// places it. The rules weigh nothing (:where), so any layout's own rule for
// a control wins over the form's place.
#include <cstdio>

#include "host/panel/panel_form.h"

namespace {

constexpr int kParentBorder = 1;

void WriteRule(std::FILE* out, const kvr9::FormControl& control) {
  const int inset = control.parent != nullptr ? kParentBorder : 0;
  std::fprintf(out, ":where(#%s){left:%dpx;top:%dpx;", control.name, control.rect.left - inset,
               control.rect.top - inset);
  // A label is as wide as its caption.
  if (control.rect.width > 0) std::fprintf(out, "width:%dpx;", control.rect.width);
  std::fprintf(out, "height:%dpx}\n", control.rect.height);
}

bool CopyFile(std::FILE* out, const char* path) {
  std::FILE* in = std::fopen(path, "rb");
  if (in == nullptr) return false;
  char buffer[4096];
  std::size_t read = 0;
  while ((read = std::fread(buffer, 1, sizeof buffer, in)) > 0) std::fwrite(buffer, 1, read, out);
  const bool ok = std::ferror(in) == 0;
  std::fclose(in);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: form_css OUT.css PANEL.css\n");
    return 2;
  }
  std::FILE* out = std::fopen(argv[1], "wb");
  if (out == nullptr) {
    std::fprintf(stderr, "form_css: cannot write %s\n", argv[1]);
    return 2;
  }
  std::fprintf(out, "/* The form's geometry, from the form's table. */\n");
  std::fprintf(out, ":where(#Form1){width:%dpx;height:%dpx}\n", kvr9::kFormWidth,
               kvr9::kFormHeight);
  for (const kvr9::FormControl& control : kvr9::FormControls()) WriteRule(out, control);
  const bool copied = CopyFile(out, argv[2]);
  if (std::fclose(out) != 0 || !copied) {
    std::fprintf(stderr, "form_css: cannot write %s from %s\n", argv[1], argv[2]);
    return 2;
  }
  return 0;
}
