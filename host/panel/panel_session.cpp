#include "host/panel/panel_session.h"

namespace kvr9 {

PanelSession::PanelSession(PanelView& view)
    : view_(view), ownInstrument_(std::make_unique<Instrument>()), instrument_(*ownInstrument_) {
  instrument_.host = this;
}

PanelSession::PanelSession(PanelView& view, Instrument& instrument)
    : view_(view), instrument_(instrument) {
  instrument_.host = this;
}

PanelSession::~PanelSession() {
  if (instrument_.host == this) instrument_.host = nullptr;
}

// The events since the last pass are the firmware's ProcessPendingEvents of
// that pass: they end when the next pass begins.
bool PanelSession::Step() {
  if (eventsOpen_) {
    eventsOpen_ = false;
    inputs_.EventsEnd();
  }
  const bool on = StepPowerCycle(instrument_);
  if (!on && eventsOpen_) {
    eventsOpen_ = false;
    inputs_.EventsEnd();
  }
  return on;
}

PanelSide PanelSession::Side() const {
  PanelSide side;
  side.inputs = inputs_.KeptNow();
  side.shownFrame = shownFrame_;
  side.framePresented = framePresented_;
  side.ledLit = ledLit_;
  side.commLineCount = commLineCount_;
  side.commLines = commLines_.Remembered();
  side.passEnded = eventsOpen_;
  return side;
}

void PanelSession::RestoreSide(const PanelSide& side) {
  inputs_.Restore(side.inputs);
  shownFrame_ = side.shownFrame;
  framePresented_ = side.framePresented;
  ledLit_ = side.ledLit;
  commLineCount_ = side.commLineCount;
  commLines_.Restore(side.commLines);
  eventsOpen_ = side.passEnded;
  textStale_ = true;
  record_.StartOver(instrument_.running && instrument_.restartRequested);
  view_.ShowFrame(shownFrame_, true);
  view_.ShowLcdVisible(true);
  view_.ShowLed(ledLit_);
}

const LcdText& PanelSession::ScreenText() {
  if (textStale_) {
    ReadLcdText(shownFrame_, screenText_);
    screenLines_.clear();
    screenText_.AppendLines(screenLines_);
    textStale_ = false;
  }
  return screenText_;
}

const std::string& PanelSession::ScreenLines() {
  ScreenText();
  return screenLines_;
}

void PanelSession::PresentFrameBuffer(const FrameBuffer& frameBuffer) {
  const bool changed = !framePresented_ || frameBuffer.bytes != shownFrame_.bytes;
  if (changed) {
    shownFrame_ = frameBuffer;
    framePresented_ = true;
    textStale_ = true;
  }
  view_.ShowFrame(shownFrame_, changed);
}

void PanelSession::SetAlarmLed(bool lit) {
  if (lit == ledLit_) return;
  ledLit_ = lit;
  view_.ShowLed(lit);
}

void PanelSession::AppendCommLine(const char* text) {
  ++commLineCount_;
  view_.ShowCommLine(text, commLines_.Append(text));
}

void PanelSession::ProcessPendingEvents() {
  inputs_.EventsBegin();
  eventsOpen_ = true;
  view_.PassEnded();
}

}  // namespace kvr9
