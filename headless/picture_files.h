// The driver's pictures of a scenario: PNG files through libpng, animated
// GIFs through giflib.
#pragma once

#include "headless/lcd_gif.h"
#include "host/scenario/scenario_outputs.h"

namespace kvr9::headless {

class PictureFiles final : public ScenarioOutputs {
 public:
  bool SaveLcd(const FrameBuffer& frame, const std::string& path, int scale, LcdLook look) override;
  bool StartAnimation(const std::string& path, int scale) override;
  bool AddAnimationPass(const FrameBuffer& frame) override;
  bool FinishAnimation() override;

 private:
  LcdAnimation animation_;
};

}  // namespace kvr9::headless
