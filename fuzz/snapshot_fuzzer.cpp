// Feeds arbitrary bytes to the snapshot reader, and to the reader of a
// snapshot's image (which must refuse them or hand them over whole). Besides the sanitizers'
// findings it stops on a broken promise of the reader: an error that is
// not one line naming the text, or a snapshot it accepts that does not
// read back as itself once written. An accepted snapshot is then run for a
// few passes: whatever the reader lets through, the instrument must bear.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "host/panel/panel_session.h"
#include "host/snapshot/snapshot.h"
#include "host/snapshot/snapshot_image.h"
#include "host/snapshot/snapshot_json.h"

namespace {

void Check(bool promise) {
  if (!promise) std::abort();
}

class QuietView : public kvr9::PanelView {
 public:
  void ShowFrame(const kvr9::FrameBuffer&, bool) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  kvr9::Snapshot imaged;
  if (kvr9::SnapshotFromImage(text, imaged)) Check(kvr9::SnapshotImage(imaged) == text);
  const kvr9::SnapshotReadResult read = kvr9::ReadSnapshot(text, "fuzz");
  if (!read.ok) {
    Check(read.error.starts_with("fuzz: "));
    Check(read.error.find('\n') == std::string::npos);
    return 0;
  }
  const std::string written = kvr9::WriteSnapshot(read.snapshot);
  const kvr9::SnapshotReadResult again = kvr9::ReadSnapshot(written, "fuzz");
  Check(again.ok && kvr9::WriteSnapshot(again.snapshot) == written);
  Check(kvr9::SnapshotFromImage(kvr9::SnapshotImage(read.snapshot), imaged) &&
        imaged == read.snapshot);
  QuietView view;
  kvr9::PanelSession session(view);
  kvr9::ApplySnapshot(read.snapshot, session);
  for (int pass = 0; pass < 3; ++pass) {
    session.inputs().ClickKey(static_cast<kvr9::KeyEvent>(1 + pass));
    session.inputs().TimerTick();
    session.Step();
  }
  return 0;
}
