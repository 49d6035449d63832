// Reads a frame given as text art on standard input and prints its text, as
// the LCD text decoder reads it: for the browser tests, which hand it frames
// taken from the page's canvas. Not installed.
#include <iostream>
#include <iterator>
#include <string>

#include "host/lcd_text/lcd_text.h"
#include "lcd/frame_art.h"

int main() {
  const std::string art((std::istreambuf_iterator<char>(std::cin)),
                        std::istreambuf_iterator<char>());
  kvr9::FrameBuffer frame;
  std::string problem;
  if (art.size() > 64 * 130 || !kvr9::ArtToFrame(art, frame, problem)) {
    std::cerr << "kvr9_read_text: standard input is not a text-art frame: " << problem << '\n';
    return 2;
  }
  std::cout << kvr9::ReadLcdText(frame).AsLines();
  return 0;
}
