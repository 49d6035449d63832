// Feeds arbitrary coordinates, modes and bytes to every drawing and text
// operation. The frame buffer sits alone in a heap block so that any write
// outside it lands in the sanitizer's red zone.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "lcd/big_numbers.h"
#include "lcd/frame_buffer.h"
#include "lcd/icons.h"
#include "lcd/text.h"

namespace {

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Empty() const { return pos_ >= size_; }
  std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  std::int32_t Int32() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = v << 8 | Byte();
    return static_cast<std::int32_t>(v);
  }
  // A zero-terminated text of up to 63 arbitrary bytes.
  const char* Text(char (&buffer)[64]) {
    const std::uint8_t length = Byte() & 63;
    std::uint8_t i = 0;
    for (; i < length; ++i) {
      const std::uint8_t b = Byte();
      buffer[i] = static_cast<char>(b == 0 ? 1 : b);
    }
    buffer[i] = '\0';
    return buffer;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// Lines with far-apart 32-bit ends would walk for billions of steps; keep
// them within -2047..2047, a range the instrument could ask for and still
// wrap.
std::int32_t Coordinate(Input& in) {
  return in.Int32() % 2048;
}

void RunOne(kvr9::FrameBuffer& fb, Input& in) {
  char text[64];
  using namespace kvr9;
  switch (in.Byte() % 14) {
    case 0:
      PutPixel(fb, in.Byte(), in.Byte(), in.Byte());
      break;
    case 1:
      (void)GetPixel(fb, in.Byte(), in.Byte());
      break;
    case 2:
      DrawLine(fb, Coordinate(in), Coordinate(in), Coordinate(in), Coordinate(in), in.Byte());
      break;
    case 3:
      DrawRect(fb, in.Byte(), in.Byte(), in.Byte(), in.Byte(), in.Byte());
      break;
    case 4:
      FillRect(fb, in.Byte(), in.Byte(), in.Byte(), in.Byte(), in.Byte());
      break;
    case 5:
      DrawTextSmall(fb, in.Byte(), in.Byte(), in.Text(text), in.Byte());
      break;
    case 6:
      DrawTextSmallCentred(fb, in.Byte(), in.Byte(), in.Text(text), in.Byte());
      break;
    case 7:
      DrawText8(fb, in.Byte(), in.Byte(), in.Text(text), in.Byte(), in.Byte(), in.Byte());
      break;
    case 8:
      DrawText8Centred(fb, in.Byte(), in.Byte(), in.Text(text), in.Byte(), in.Byte(), in.Byte());
      break;
    case 9:
      DrawText8Literal(fb, in.Byte(), in.Byte(), in.Text(text), in.Byte(), in.Byte(), in.Byte());
      break;
    case 10:
      DrawTextSmallCentredLiteral(fb, in.Byte(), in.Byte(), in.Text(text), in.Byte());
      break;
    case 11:
      DrawBigNumber(fb, in.Byte(), in.Byte(), in.Text(text));
      break;
    case 12:
      DrawIcon(fb, in.Byte());
      break;
    default:
      ClearFrameBuffer(fb);
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto fb = std::make_unique<kvr9::FrameBuffer>();
  Input in(data, size);
  for (int ops = 0; ops < 64 && !in.Empty(); ++ops) RunOne(*fb, in);
  return 0;
}
