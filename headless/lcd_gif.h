// Records the LCD frames presented to the host as an animated GIF, at the
// window's pace of one frame per pass at 100 ms. Frames are written as they
// come and a run of identical frames becomes one longer frame, so only the
// frame whose run is still going is held, however long the recording.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/panel/lcd_colours.h"
#include "lcd/frame_buffer.h"

struct GifFileType;

namespace kvr9::headless {

inline constexpr int kCentisecondsPerPass = 10;

class LcdAnimation {
 public:
  LcdAnimation() = default;
  LcdAnimation(const LcdAnimation&) = delete;
  LcdAnimation& operator=(const LcdAnimation&) = delete;
  ~LcdAnimation();

  // False when the file cannot be created.
  bool Start(const std::string& path, int scale);
  // One pass's frame. False once a write has failed.
  bool AddPass(const FrameBuffer& frameBuffer);
  // Writes the last run and closes the file; false when a write failed.
  bool Finish();
  bool recording() const { return gif_ != nullptr; }

 private:
  bool WriteRun();
  bool WriteFrame(const FrameBuffer& frame, int centiseconds);

  GifFileType* gif_ = nullptr;
  int scale_ = 1;
  bool failed_ = false;
  bool anyWritten_ = false;
  FrameBuffer written_;  // the picture as the GIF shows it so far
  FrameBuffer pending_;  // the frame whose run is still going
  std::uint64_t pendingPasses_ = 0;
  std::vector<std::uint8_t> row_;
};

}  // namespace kvr9::headless
