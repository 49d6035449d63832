#include "lcd/frame_art.h"

#include <cstddef>
#include <cstdint>
#include <sstream>

namespace kvr9 {

namespace {

bool IsDark(const FrameBuffer& frameBuffer, int x, int y) {
  return GetPixel(frameBuffer, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)) != 0;
}

std::string ArtRow(const FrameBuffer& frameBuffer, int y) {
  std::string row;
  for (int x = 0; x < kLcdWidth; ++x) row += IsDark(frameBuffer, x, y) ? '#' : '.';
  return row;
}

std::string DifferenceRow(const FrameBuffer& expected, const FrameBuffer& actual, int y) {
  std::string row;
  for (int x = 0; x < kLcdWidth; ++x) {
    const bool dark = IsDark(actual, x, y);
    if (IsDark(expected, x, y) != dark) {
      row += 'X';
    } else {
      row += dark ? '#' : '.';
    }
  }
  return row;
}

bool ReadArtRow(const std::string& line, int y, FrameBuffer& frameBuffer, std::string& problem) {
  if (line.size() != static_cast<std::size_t>(kLcdWidth)) {
    problem = "line " + std::to_string(y + 1) + " has " + std::to_string(line.size()) +
              " characters, not " + std::to_string(kLcdWidth);
    return false;
  }
  for (int x = 0; x < kLcdWidth; ++x) {
    const char dot = line[static_cast<std::size_t>(x)];
    if (dot == '#') {
      PutPixel(frameBuffer, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), PixelSet);
    } else if (dot != '.') {
      problem = "line " + std::to_string(y + 1) + " has '" + std::string(1, dot) + "' at column " +
                std::to_string(x + 1) + "; only '#' and '.' draw dots";
      return false;
    }
  }
  return true;
}

}  // namespace

std::string FrameToArt(const FrameBuffer& frameBuffer) {
  std::string art;
  for (int y = 0; y < kLcdHeight; ++y) art += ArtRow(frameBuffer, y) + '\n';
  return art;
}

bool ArtToFrame(const std::string& art, FrameBuffer& frameBuffer, std::string& problem) {
  ClearFrameBuffer(frameBuffer);
  std::istringstream lines(art);
  std::string line;
  int y = 0;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (y == kLcdHeight) {
      problem = "more than " + std::to_string(kLcdHeight) + " lines";
      return false;
    }
    if (!ReadArtRow(line, y, frameBuffer, problem)) return false;
    ++y;
  }
  if (y != kLcdHeight) {
    problem = std::to_string(y) + " lines, not " + std::to_string(kLcdHeight);
    return false;
  }
  return true;
}

int CountDifferentDots(const FrameBuffer& expected, const FrameBuffer& actual) {
  int count = 0;
  for (int y = 0; y < kLcdHeight; ++y) {
    for (int x = 0; x < kLcdWidth; ++x) {
      if (IsDark(expected, x, y) != IsDark(actual, x, y)) ++count;
    }
  }
  return count;
}

std::string SideBySide(const FrameBuffer& expected, const FrameBuffer& actual) {
  const std::string gap = "  ";
  const auto pad = [](const std::string& heading) {
    return heading + std::string(static_cast<std::size_t>(kLcdWidth) - heading.size(), ' ');
  };
  std::string text = pad("expected") + gap + pad("actual") + gap + "differences (X)\n";
  for (int y = 0; y < kLcdHeight; ++y) {
    text += ArtRow(expected, y) + gap + ArtRow(actual, y) + gap +
            DifferenceRow(expected, actual, y) + '\n';
  }
  return text;
}

}  // namespace kvr9
