#include "headless/lcd_png.h"

#include <png.h>

#include <cstdio>
#include <vector>

#include "host/panel/lcd_painter.h"

namespace kvr9::headless {

namespace {

void AppendPngBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* bytes = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
  bytes->insert(bytes->end(), data, data + length);
}

RgbaPicture Paint(const FrameBuffer& frameBuffer, int scale, LcdLook look) {
  const Rgb blankDot = look == LcdLook::Green ? kLcdGreenBlankDot : kLcdDefaultBlankDot;
  return PaintLcdRgba(frameBuffer, blankDot, scale);
}

std::vector<png_bytep> RowsOf(RgbaPicture& picture) {
  std::vector<png_bytep> rows(static_cast<std::size_t>(picture.height));
  for (std::size_t y = 0; y < rows.size(); ++y) {
    rows[y] = &picture.rgba[y * static_cast<std::size_t>(picture.width) * 4];
  }
  return rows;
}

// libpng reports a failure by a long jump: nothing with a destructor may
// live between the jump's target and the calls that can fail.
// To a file when file is set, else appended to bytes.
bool WritePng(std::FILE* file, std::vector<unsigned char>* bytes, const RgbaPicture& picture,
              std::vector<png_bytep>& rows) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  if (file != nullptr) {
    png_init_io(png, file);
  } else {
    png_set_write_fn(png, bytes, AppendPngBytes, nullptr);
  }
  png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width),
               static_cast<png_uint_32>(picture.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  // The picture is opaque: its alpha bytes are left out of the file.
  png_set_filler(png, 0, PNG_FILLER_AFTER);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool SaveFramePng(const FrameBuffer& frameBuffer, const std::string& path, int scale,
                  LcdLook look) {
  RgbaPicture picture = Paint(frameBuffer, scale, look);
  if (picture.rgba.empty()) return false;
  std::vector<png_bytep> rows = RowsOf(picture);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = WritePng(file, nullptr, picture, rows);
  const bool closed = std::fclose(file) == 0;
  if (!(written && closed)) std::remove(path.c_str());
  return written && closed;
}

std::vector<unsigned char> EncodeFramePng(const FrameBuffer& frameBuffer, int scale, LcdLook look) {
  RgbaPicture picture = Paint(frameBuffer, scale, look);
  std::vector<unsigned char> bytes;
  if (picture.rgba.empty()) return bytes;
  std::vector<png_bytep> rows = RowsOf(picture);
  if (!WritePng(nullptr, &bytes, picture, rows)) bytes.clear();
  return bytes;
}

}  // namespace kvr9::headless
