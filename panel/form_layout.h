// What the form's layout shares with its handlers and host operations.
#pragma once

#include <QColor>

class QLabel;

namespace kvr9 {

inline const QColor kLedLit(255, 0, 0);
inline const QColor kLedUnlit(128, 0, 0);

// Labels size themselves to their caption, from their stored top left.
void FitToCaption(QLabel* label);

}  // namespace kvr9
