// What the form's layout shares with its handlers and host operations.
#pragma once

#include "host/panel/panel_form.h"  // kFormWidth, kFormHeight

class QLabel;

namespace kvr9 {

// Labels size themselves to their caption, from their stored top left.
void FitToCaption(QLabel* label);

}  // namespace kvr9
