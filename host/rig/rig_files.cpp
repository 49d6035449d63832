#include "host/rig/rig_files.h"

#include "host/snapshot/snapshot_json.h"

namespace kvr9 {

namespace {

OpenedState Opened(PanelRig& rig, const SnapshotReadResult& read) {
  OpenedState opened;
  if (!read.ok) {
    opened.error = read.error;
    return opened;
  }
  opened.ok = true;
  opened.flight = rig.Apply(read.snapshot);
  return opened;
}

}  // namespace

std::string StateText(const PanelRig& rig) {
  return WriteSnapshot(rig.Capture());
}

bool SaveStateFile(const PanelRig& rig, const std::string& path, std::string& problem) {
  return WriteSnapshotFile(rig.Capture(), path, problem);
}

OpenedState OpenStateText(PanelRig& rig, std::string_view text, const std::string& name) {
  return Opened(rig, ReadSnapshot(text, name));
}

OpenedState OpenStateFile(PanelRig& rig, const std::string& path) {
  return Opened(rig, ReadSnapshotFile(path));
}

}  // namespace kvr9
