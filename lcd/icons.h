// The 32 x 32 menu and message icons.
#pragma once

#include <cstdint>

#include "lcd/frame_buffer.h"

namespace kvr9 {

inline constexpr std::uint8_t kIconQuestion = 3;
inline constexpr std::uint8_t kIconExclamation = 5;

// One of the ten icons, copied opaquely into its fixed place.
void DrawIcon(FrameBuffer& fb, std::uint8_t icon);

}  // namespace kvr9
