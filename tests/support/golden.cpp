#include "support/golden.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace kvr9::testing {

std::string CompareWithGolden(const FrameBuffer& frameBuffer, const std::string& name) {
  const std::string path = std::string(KVR9_GOLDEN_DIR) + "/" + name + ".txt";
  const char* update = std::getenv("KVR9_UPDATE_GOLDENS");
  if (update != nullptr && std::string(update) == "1") {
    std::ofstream(path) << FrameToArt(frameBuffer);
    return {};
  }
  std::ifstream file(path);
  if (!file) return "missing golden " + path + " (KVR9_UPDATE_GOLDENS=1 writes it)\n";
  std::stringstream content;
  content << file.rdbuf();
  FrameBuffer expected;
  std::string problem;
  if (!ArtToFrame(content.str(), expected, problem)) {
    return "malformed golden " + path + ": " + problem + "\n";
  }
  if (expected.bytes == frameBuffer.bytes) return {};
  return "frame differs from " + path + "\n" + SideBySide(expected, frameBuffer);
}

}  // namespace kvr9::testing
