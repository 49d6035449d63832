// What the panel session shows in the window. Each changes the picture only
// where it changes, so a window resting on an unchanging screen costs Qt
// almost no repainting.
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "panel/form_layout.h"
#include "panel/lcd_image.h"
#include "panel/panel_widgets.h"
#include "panel/pcmain.h"

namespace kvr9 {

namespace {

constexpr int kLcdDotPixels = 2;

}  // namespace

QColor TForm1::LcdDotColour() const {
  return palette().color(QPalette::Inactive, QPalette::Mid);
}

QImage TForm1::LcdPicture() const {
  return LcdImage(rig().instrument().frameBuffer, LcdDotColour().rgb(), kLcdDotPixels);
}

// Each LCD dot a 2 x 2 block, painted a row at a time; the surface's last column
// and row stay as they were created. A frame the surface already shows, in
// the same blank colour, is left as it is: Qt then has nothing to repaint.
void TForm1::ShowFrame(const FrameBuffer& frame, bool changed) {
  const QRgb blankDot = LcdDotColour().rgb();
  if (Image1->HasSurface() && !changed && blankDot == shownBlankDot_) return;
  PaintLcd(Image1->Surface(), frame, blankDot, kLcdDotPixels);
  if (changed) lcdDescriptionStale_ = true;
  shownBlankDot_ = blankDot;
  Image1->update();
}

// A screen reader hears what the LCD shows: its rows of text, one a line,
// as the headless driver's show-text prints them. Reading costs 20 to
// 40 us, so it is done for a new frame only, once the pass has ended
// (PassEnded), not while the picture is painted; Qt tells assistive
// technology of a changed description itself.
void TForm1::DescribeLcd() {
  std::string lines = session().ScreenLines();
  if (!lines.empty() && lines.back() == '\n') lines.pop_back();
  if (lines == lcdLines_) return;
  lcdLines_ = std::move(lines);
  Image1->setAccessibleDescription(
      QString::fromLatin1(lcdLines_.data(), static_cast<qsizetype>(lcdLines_.size())));
}

// The main loop hides the picture while it draws and shows it again before
// events run, so the screen never sees it hidden and nothing is repainted.
void TForm1::ShowLcdVisible(bool visible) {
  Image1->SetPictureVisible(visible);
}

void TForm1::ShowLed(bool lit) {
  Shape1->SetBrushColour(ToQColor(lit ? kLedLit : kLedUnlit));
}

// One new last line per call, also for an empty text; the oldest lines
// fall off beyond kMaxCommLines.
void TForm1::ShowCommLine(const char* text, const CommLines::Change& change) {
  const bool hasLines = session().CommLineCount() > 1;  // lines before this one
  // Qt repaints the whole communication window for every line; when the
  // picture stays the same, the document layout's change notices are held
  // back for this one line.
  const QSignalBlocker quiet(CommPictureStaysTheSame(change) ? Memo1->document()->documentLayout()
                                                             : nullptr);
  QTextCursor cursor(Memo1->document());
  cursor.movePosition(QTextCursor::End);
  if (hasLines) cursor.insertBlock();
  cursor.insertText(QString::fromLatin1(text));
  QScrollBar* scroll = Memo1->verticalScrollBar();
  scroll->setValue(scroll->maximum());
}

// The communication window as a snapshot has it: its lines as the session
// kept them (the last one, repeated; blank before), unless it shows those
// already, with whatever lines the memory does not keep.
void TForm1::PutCommLines(const CommLines::Memory& lines) {
  const QTextDocument* document = Memo1->document();
  const std::size_t repeats = std::min(lines.repeats, lines.lines);
  const QString last = QString::fromLatin1(lines.last.c_str());
  bool shown = lines.lines == 0 ? document->isEmpty()
                                : document->blockCount() == static_cast<int>(lines.lines);
  for (std::size_t i = 0; shown && i < repeats; ++i) {
    shown = document->findBlockByNumber(static_cast<int>(lines.lines - 1 - i)).text() == last;
  }
  if (shown) return;
  QStringList text;
  for (std::size_t i = 0; i < lines.lines; ++i)
    text << (i + repeats >= lines.lines ? last : QString());
  Memo1->setPlainText(text.join(QLatin1Char('\n')));
}

// The window shows the same picture after the line as before when it is
// full (the scroll range stays), rests at its end, shows no selection, and
// the new line and every line in view are the same text.
bool TForm1::CommPictureStaysTheSame(const CommLines::Change& change) const {
  if (Memo1->document()->blockCount() < kMaxCommLines) return false;
  const QScrollBar* scroll = Memo1->verticalScrollBar();
  if (scroll->value() != scroll->maximum()) return false;
  if (Memo1->textCursor().hasSelection()) return false;
  const int linesInView = Memo1->viewport()->height() / Memo1->fontMetrics().lineSpacing() + 2;
  return CommLines::LooksTheSame(change, static_cast<std::size_t>(linesInView));
}

}  // namespace kvr9
