// Expected LCD frames as text art: 64 lines of 128 characters, '#' for a
// dark dot and '.' for a blank one. Set KVR9_UPDATE_GOLDENS=1 to rewrite
// the files from the frames the tests produce (a deliberate act: look at
// every changed file before committing it).
#pragma once

#include <string>

#include "lcd/frame_art.h"
#include "lcd/frame_buffer.h"

namespace kvr9::testing {

// Empty when the frame matches tests/goldens/<name>.txt; otherwise a
// side-by-side picture of expected and actual with the differing dots marked.
std::string CompareWithGolden(const FrameBuffer& frameBuffer, const std::string& name);

}  // namespace kvr9::testing
