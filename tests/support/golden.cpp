#include "support/golden.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace kvr9::testing {

std::string FrameToArt(const FrameBuffer& frameBuffer) {
  std::string art;
  art.reserve(kLcdHeight * (kLcdWidth + 1));
  for (int y = 0; y < kLcdHeight; ++y) {
    for (int x = 0; x < kLcdWidth; ++x) {
      art += GetPixel(frameBuffer, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)) != 0
                 ? '#'
                 : '.';
    }
    art += '\n';
  }
  return art;
}

bool ArtToFrame(const std::string& art, FrameBuffer& frameBuffer) {
  ClearFrameBuffer(frameBuffer);
  std::istringstream lines(art);
  std::string line;
  int y = 0;
  while (std::getline(lines, line)) {
    if (y >= kLcdHeight || line.size() != static_cast<std::size_t>(kLcdWidth)) return false;
    for (int x = 0; x < kLcdWidth; ++x) {
      if (line[static_cast<std::size_t>(x)] == '#') {
        PutPixel(frameBuffer, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), PixelSet);
      } else if (line[static_cast<std::size_t>(x)] != '.') {
        return false;
      }
    }
    ++y;
  }
  return y == kLcdHeight;
}

std::string SideBySide(const FrameBuffer& expected, const FrameBuffer& actual) {
  std::ostringstream out;
  out << "expected" << std::string(kLcdWidth - 8 + 2, ' ') << "actual"
      << std::string(kLcdWidth - 6 + 2, ' ') << "differences (X)\n";
  for (int y = 0; y < kLcdHeight; ++y) {
    std::string e;
    std::string a;
    std::string d;
    for (int x = 0; x < kLcdWidth; ++x) {
      const auto px = static_cast<std::uint8_t>(x);
      const auto py = static_cast<std::uint8_t>(y);
      const bool ev = GetPixel(expected, px, py) != 0;
      const bool av = GetPixel(actual, px, py) != 0;
      e += ev ? '#' : '.';
      a += av ? '#' : '.';
      d += ev != av ? 'X' : (av ? '#' : '.');
    }
    out << e << "  " << a << "  " << d << '\n';
  }
  return out.str();
}

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
  if (!ArtToFrame(content.str(), expected)) return "malformed golden " + path + "\n";
  if (expected.bytes == frameBuffer.bytes) return {};
  return "frame differs from " + path + "\n" + SideBySide(expected, frameBuffer);
}

}  // namespace kvr9::testing
