// What a scenario makes besides its printed lines: pictures of the LCD and
// animations of it. The executor says when and where; the front end that
// runs it writes the files, so the host needs no picture library.
#pragma once

#include <string>

#include "lcd/frame_buffer.h"

namespace kvr9 {

// Blank dots as the window paints them, or the grey-green of unlit glass.
enum class LcdLook { Window, Green };

class ScenarioOutputs {
 public:
  virtual ~ScenarioOutputs() = default;
  // False when the picture cannot be written.
  virtual bool SaveLcd(const FrameBuffer& frame, const std::string& path, int scale,
                       LcdLook look) = 0;
  // One animation at a time, one frame a pass. False when the file cannot
  // be made, or once a write has failed.
  virtual bool StartAnimation(const std::string& path, int scale) = 0;
  virtual bool AddAnimationPass(const FrameBuffer& frame) = 0;
  virtual bool FinishAnimation() = 0;
};

}  // namespace kvr9
