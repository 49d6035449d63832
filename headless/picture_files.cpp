#include "headless/picture_files.h"

#include "headless/lcd_png.h"

namespace kvr9::headless {

bool PictureFiles::SaveLcd(const FrameBuffer& frame, const std::string& path, int scale,
                           LcdLook look) {
  return SaveFramePng(frame, path, scale, look);
}

bool PictureFiles::StartAnimation(const std::string& path, int scale) {
  return animation_.Start(path, scale);
}

bool PictureFiles::AddAnimationPass(const FrameBuffer& frame) {
  return animation_.AddPass(frame);
}

bool PictureFiles::FinishAnimation() {
  return animation_.Finish();
}

}  // namespace kvr9::headless
