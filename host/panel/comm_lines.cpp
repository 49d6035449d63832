#include "host/panel/comm_lines.h"

namespace kvr9 {

CommLines::Change CommLines::Append(std::string_view line) {
  const bool full = lines_ == kMostLines;
  const bool same = lines_ > 0 && line == last_;
  repeats_ = same ? repeats_ + 1 : 1;
  if (!same) last_.assign(line);
  if (!full) ++lines_;
  return Change{full, repeats_, full && same};
}

}  // namespace kvr9
