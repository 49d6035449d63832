// A snapshot as bytes, for handing a session from one program to another
// built from the same sources (the page's small program and its full one),
// or keeping it on the device between two visits of the same page. The
// records are copied as they lie in memory, screens by their place in the
// screen table, under a stamp of the records' sizes and a checksum, so an
// image from another build or a damaged one is refused whole. It is no
// file format and never comes from elsewhere: a snapshot that travels is
// the JSON text (snapshot_json.h), checked field by field.
#pragma once

#include <string>
#include <string_view>

#include "host/snapshot/snapshot.h"

namespace kvr9 {

// A snapshot's image is some 2.5 KB, with a session record (SessionRecord::
// Bytes) of up to 8 bytes a step; anything past this is refused unread.
inline constexpr std::size_t kLargestSnapshotImageBytes = 16 * 1024 + 8 * SessionRecord::kMostSteps;

// record: the session record's bytes to hand over with it, if any.
std::string SnapshotImage(const Snapshot& snapshot, std::string_view record = {});

// False, leaving snapshot and record as they were, for bytes that are no
// image of this build's records. record, when given, takes the record's
// bytes the image holds (empty for none).
bool SnapshotFromImage(std::string_view image, Snapshot& snapshot, std::string* record = nullptr);

}  // namespace kvr9
