// Expected LCD frames as text art: 64 lines of 128 characters, '#' for a
// dark dot and '.' for a blank one. Set KVR9_UPDATE_GOLDENS=1 to rewrite
// the files from the frames the tests produce (a deliberate act: look at
// every changed file before committing it).
#pragma once

#include <string>

#include "lcd/frame_buffer.h"

namespace kvr9::testing {

std::string FrameToArt(const FrameBuffer& frameBuffer);
bool ArtToFrame(const std::string& art, FrameBuffer& frameBuffer);

// Empty when the frame matches tests/goldens/<name>.txt; otherwise a
// side-by-side picture of expected and actual with the differing dots marked.
std::string CompareWithGolden(const FrameBuffer& frameBuffer, const std::string& name);

// Side-by-side rendering of two frames; differing dots are shown as 'X'
// in a third column.
std::string SideBySide(const FrameBuffer& expected, const FrameBuffer& actual);

}  // namespace kvr9::testing
