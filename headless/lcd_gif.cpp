#include "headless/lcd_gif.h"

#include <fcntl.h>
#include <gif_lib.h>
#include <unistd.h>

#include <algorithm>

namespace kvr9::headless {

namespace {

constexpr int kBlankIndex = 0;
constexpr int kDarkIndex = 1;
// The longest delay one GIF frame can hold, in whole passes.
constexpr std::uint64_t kMostPassesPerFrame = 65535 / kCentisecondsPerPass;

GifColorType Colour(Rgb rgb) {
  return GifColorType{rgb.red, rgb.green, rgb.blue};
}

bool IsDark(const FrameBuffer& frame, int x, int y) {
  return GetPixel(frame, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)) != 0;
}

// The smallest rectangle holding every dot that differs; empty when none does.
struct DotRect {
  int left = kLcdWidth;
  int top = kLcdHeight;
  int right = -1;
  int bottom = -1;
  bool empty() const { return right < left; }
};

DotRect ChangedDots(const FrameBuffer& before, const FrameBuffer& after) {
  DotRect rect;
  for (int y = 0; y < kLcdHeight; ++y) {
    for (int x = 0; x < kLcdWidth; ++x) {
      if (IsDark(before, x, y) == IsDark(after, x, y)) continue;
      rect.left = std::min(rect.left, x);
      rect.right = std::max(rect.right, x);
      rect.top = std::min(rect.top, y);
      rect.bottom = std::max(rect.bottom, y);
    }
  }
  return rect;
}

// Loops forever, as a picture in a page is expected to.
bool PutLoopForever(GifFileType* gif) {
  static const GifByteType kNetscape[] = "NETSCAPE2.0";
  static const GifByteType kLoops[] = {1, 0, 0};
  return EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
         EGifPutExtensionBlock(gif, 11, kNetscape) == GIF_OK &&
         EGifPutExtensionBlock(gif, 3, kLoops) == GIF_OK && EGifPutExtensionTrailer(gif) == GIF_OK;
}

}  // namespace

LcdAnimation::~LcdAnimation() {
  Finish();
}

bool LcdAnimation::Start(const std::string& path, int scale) {
  Finish();
  // Made readable by all, as the PNG pictures are; giflib's own open would
  // make it private to the user.
  const int handle = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (handle < 0) return false;
  int error = 0;
  gif_ = EGifOpenFileHandle(handle, &error);
  if (gif_ == nullptr) {
    close(handle);
    return false;
  }
  scale_ = scale;
  failed_ = false;
  anyWritten_ = false;
  pendingPasses_ = 0;
  row_.assign(static_cast<std::size_t>(kLcdWidth * scale), kBlankIndex);
  EGifSetGifVersion(gif_, true);
  GifColorType colours[2] = {Colour(kLcdDefaultBlankDot), Colour(kLcdDarkDot)};
  ColorMapObject* map = GifMakeMapObject(2, colours);
  const bool ok = map != nullptr &&
                  EGifPutScreenDesc(gif_, kLcdWidth * scale, kLcdHeight * scale, 1, kBlankIndex,
                                    map) == GIF_OK &&
                  PutLoopForever(gif_);
  GifFreeMapObject(map);
  if (!ok) failed_ = true;
  return true;
}

bool LcdAnimation::AddPass(const FrameBuffer& frameBuffer) {
  if (gif_ == nullptr || failed_) return !failed_;
  if (pendingPasses_ > 0 && frameBuffer.bytes != pending_.bytes && !WriteRun()) return false;
  if (pendingPasses_ == 0) pending_ = frameBuffer;
  ++pendingPasses_;
  return true;
}

bool LcdAnimation::Finish() {
  if (gif_ == nullptr) return true;
  if (pendingPasses_ > 0) WriteRun();
  // An animation that saw no frame still gets one: the GIF needs a picture.
  if (!anyWritten_ && !failed_) WriteFrame(pending_, kCentisecondsPerPass);
  int error = 0;
  if (EGifCloseFile(gif_, &error) != GIF_OK) failed_ = true;
  gif_ = nullptr;
  return !failed_;
}

bool LcdAnimation::WriteRun() {
  while (pendingPasses_ > 0 && !failed_) {
    const std::uint64_t passes = std::min(pendingPasses_, kMostPassesPerFrame);
    WriteFrame(pending_, static_cast<int>(passes) * kCentisecondsPerPass);
    pendingPasses_ -= passes;
  }
  pendingPasses_ = 0;
  return !failed_;
}

// After the first frame only the rectangle that changed is written; the
// rest of the picture stays as the frame before left it. A run split for
// its length repeats as a one-dot frame.
bool LcdAnimation::WriteFrame(const FrameBuffer& frame, int centiseconds) {
  DotRect rect;
  if (anyWritten_) rect = ChangedDots(written_, frame);
  if (!anyWritten_) rect = DotRect{0, 0, kLcdWidth - 1, kLcdHeight - 1};
  if (rect.empty()) rect = DotRect{0, 0, 0, 0};
  GraphicsControlBlock control{DISPOSE_DO_NOT, false, centiseconds, NO_TRANSPARENT_COLOR};
  GifByteType extension[4];
  EGifGCBToExtension(&control, extension);
  const int width = (rect.right - rect.left + 1) * scale_;
  const int height = (rect.bottom - rect.top + 1) * scale_;
  bool ok = EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, 4, extension) == GIF_OK &&
            EGifPutImageDesc(gif_, rect.left * scale_, rect.top * scale_, width, height, false,
                             nullptr) == GIF_OK;
  for (int y = rect.top; ok && y <= rect.bottom; ++y) {
    for (int x = rect.left; x <= rect.right; ++x) {
      const std::uint8_t index = IsDark(frame, x, y) ? kDarkIndex : kBlankIndex;
      std::fill_n(row_.begin() + (x - rect.left) * scale_, scale_, index);
    }
    for (int repeat = 0; ok && repeat < scale_; ++repeat) {
      ok = EGifPutLine(gif_, row_.data(), width) == GIF_OK;
    }
  }
  if (!ok) failed_ = true;
  written_ = frame;
  anyWritten_ = true;
  return ok;
}

}  // namespace kvr9::headless
