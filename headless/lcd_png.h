// Writes an LCD frame as a PNG picture, painted as the window paints its
// LCD: every dot a square of scale x scale pixels, dark dots black, blank
// dots the window's default grey, or on request the grey-green of an unlit
// LCD glass.
#pragma once

#include <string>
#include <vector>

#include "host/scenario/scenario_outputs.h"
#include "lcd/frame_buffer.h"

namespace kvr9::headless {

// False when the file cannot be written.
bool SaveFramePng(const FrameBuffer& frameBuffer, const std::string& path, int scale,
                  LcdLook look = LcdLook::Window);

// The same picture as the bytes of a PNG file; empty when it cannot be made.
std::vector<unsigned char> EncodeFramePng(const FrameBuffer& frameBuffer, int scale,
                                          LcdLook look = LcdLook::Window);

}  // namespace kvr9::headless
