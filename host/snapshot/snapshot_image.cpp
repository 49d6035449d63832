#include "host/snapshot/snapshot_image.h"

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "screens/screen_table.h"

namespace kvr9 {

namespace {

// Raised whenever a record's members change in a way their sizes do not
// show (a member replaced by another of the same size).
constexpr std::uint32_t kImageVersion = 1;

template <typename Record>
concept Plain = std::is_trivially_copyable_v<Record>;

// The sizes of the records copied, folded into one number: a build whose
// records differ writes another stamp.
constexpr std::uint32_t Stamp() {
  std::uint32_t stamp = kImageVersion;
  for (const std::size_t size :
       {sizeof(InstrumentState), sizeof(FrameBuffer), sizeof(SplashProgress),
        sizeof(PanelInputs::Kept), sizeof(PowerPhase), sizeof(std::size_t), kScreenCount}) {
    stamp = stamp * 31U + static_cast<std::uint32_t>(size);
  }
  return stamp;
}

// FNV-1a over the bytes after the header.
std::uint32_t Checksum(std::string_view bytes) {
  std::uint32_t sum = 2166136261U;
  for (const char byte : bytes) sum = (sum ^ static_cast<unsigned char>(byte)) * 16777619U;
  return sum;
}

class Writer {
 public:
  template <Plain Record>
  void Put(const Record& record) {
    bytes.append(reinterpret_cast<const char*>(&record), sizeof record);
  }
  void PutText(const std::string& text) {
    Put(static_cast<std::uint32_t>(text.size()));
    bytes += text;
  }
  std::string bytes;
};

class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  template <Plain Record>
  bool Get(Record& record) {
    if (bytes_.size() < sizeof record) return false;
    std::memcpy(&record, bytes_.data(), sizeof record);
    bytes_.remove_prefix(sizeof record);
    return true;
  }
  bool GetText(std::string& text) {
    std::uint32_t size = 0;
    if (!Get(size) || bytes_.size() < size) return false;
    text.assign(bytes_.substr(0, size));
    bytes_.remove_prefix(size);
    return true;
  }
  bool AtEnd() const { return bytes_.empty(); }

 private:
  std::string_view bytes_;
};

// A screen by its place in the table, 0 for none.
std::uint8_t ScreenPlace(ScreenHandler screen) {
  const ScreenEntry* entry = FindScreen(screen);
  return entry == nullptr ? 0 : static_cast<std::uint8_t>(entry - ScreenTable().data() + 1);
}

bool ScreenAt(std::uint8_t place, ScreenHandler& screen) {
  if (place > kScreenCount) return false;
  screen = place == 0 ? nullptr : ScreenTable()[place - 1U].handler;
  return true;
}

void PutFlight(Writer& out, const SnapshotFlight& flight) {
  out.PutText(flight.name);
  out.Put(flight.fromSeconds);
  out.Put(flight.toSeconds);
  out.Put(flight.passesPerSecond);
  out.Put(flight.speedUp);
  out.Put(flight.passesDone);
  out.Put(flight.ticksDone);
  out.Put(flight.playing);
  out.Put(flight.demo);
}

bool GetFlight(Reader& in, SnapshotFlight& flight) {
  return in.GetText(flight.name) && in.Get(flight.fromSeconds) && in.Get(flight.toSeconds) &&
         in.Get(flight.passesPerSecond) && in.Get(flight.speedUp) && in.Get(flight.passesDone) &&
         in.Get(flight.ticksDone) && in.Get(flight.playing) && in.Get(flight.demo);
}

constexpr std::size_t kHeaderBytes = 2 * sizeof(std::uint32_t);

}  // namespace

std::string SnapshotImage(const Snapshot& snapshot, std::string_view record) {
  Writer out;
  // Screens go by place: a function's address means nothing to another
  // program.
  InstrumentState state = snapshot.state;
  state.ui.currentScreen = nullptr;
  state.ui.returnScreen = nullptr;
  out.Put(state);
  out.Put(ScreenPlace(snapshot.state.ui.currentScreen));
  out.Put(ScreenPlace(snapshot.state.ui.returnScreen));
  out.Put(snapshot.frameBuffer);
  out.Put(snapshot.phase);
  out.Put(snapshot.running);
  out.Put(snapshot.restartRequested);
  out.Put(snapshot.splash);
  const PanelSide& panel = snapshot.panel;
  out.Put(panel.inputs);
  out.Put(panel.shownFrame);
  out.Put(panel.framePresented);
  out.Put(panel.ledLit);
  out.Put(panel.commLineCount);
  out.Put(panel.commLines.lines);
  out.Put(panel.commLines.repeats);
  out.PutText(panel.commLines.last);
  out.Put(panel.passEnded);
  out.Put(snapshot.flight.has_value());
  if (snapshot.flight) PutFlight(out, *snapshot.flight);
  out.PutText(std::string(record));
  Writer header;
  header.Put(Stamp());
  header.Put(Checksum(out.bytes));
  return header.bytes + out.bytes;
}

bool SnapshotFromImage(std::string_view image, Snapshot& snapshot, std::string* record) {
  if (image.size() < kHeaderBytes || image.size() > kLargestSnapshotImageBytes) return false;
  Reader header(image.substr(0, kHeaderBytes));
  std::uint32_t stamp = 0;
  std::uint32_t checksum = 0;
  header.Get(stamp);
  header.Get(checksum);
  const std::string_view body = image.substr(kHeaderBytes);
  if (stamp != Stamp() || checksum != Checksum(body)) return false;
  Reader in(body);
  Snapshot read;
  std::uint8_t current = 0;
  std::uint8_t back = 0;
  bool hasFlight = false;
  PanelSide& panel = read.panel;
  const bool whole =
      in.Get(read.state) && in.Get(current) && in.Get(back) && in.Get(read.frameBuffer) &&
      in.Get(read.phase) && in.Get(read.running) && in.Get(read.restartRequested) &&
      in.Get(read.splash) && in.Get(panel.inputs) && in.Get(panel.shownFrame) &&
      in.Get(panel.framePresented) && in.Get(panel.ledLit) && in.Get(panel.commLineCount) &&
      in.Get(panel.commLines.lines) && in.Get(panel.commLines.repeats) &&
      in.GetText(panel.commLines.last) && in.Get(panel.passEnded) && in.Get(hasFlight) &&
      ScreenAt(current, read.state.ui.currentScreen) && ScreenAt(back, read.state.ui.returnScreen);
  if (!whole) return false;
  if (hasFlight && !GetFlight(in, read.flight.emplace())) return false;
  std::string recordBytes;
  if (!in.GetText(recordBytes) || !in.AtEnd()) return false;
  snapshot = std::move(read);
  if (record != nullptr) *record = std::move(recordBytes);
  return true;
}

}  // namespace kvr9
