// What the form's layout shares with its handlers and host operations.
#pragma once

class QLabel;

namespace kvr9 {

// The form's client area, as its layout stores it.
inline constexpr int kFormWidth = 621;
inline constexpr int kFormHeight = 404;

// Labels size themselves to their caption, from their stored top left.
void FitToCaption(QLabel* label);

}  // namespace kvr9
