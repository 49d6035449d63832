// LCD frames as text art: 64 lines of 128 characters, '#' for a dark dot and
// '.' for a blank one, so a frame reads as a picture in a terminal or a diff.
#pragma once

#include <string>

#include "lcd/frame_buffer.h"

namespace kvr9 {

std::string FrameToArt(const FrameBuffer& frameBuffer);

// Reads text art into frameBuffer. On failure returns false and says which
// line is wrong in problem. A final newline is optional; "\r\n" is accepted.
bool ArtToFrame(const std::string& art, FrameBuffer& frameBuffer, std::string& problem);

int CountDifferentDots(const FrameBuffer& expected, const FrameBuffer& actual);

// Expected, actual and a third picture with every differing dot as 'X'.
std::string SideBySide(const FrameBuffer& expected, const FrameBuffer& actual);

}  // namespace kvr9
