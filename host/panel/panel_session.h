// One instrument on one panel, as every front end runs it: the session
// owns the instrument and is its HostPanel, owns the panel's inputs and the
// recorder of what the firmware has seen, keeps the communication window's
// rule, and tracks what the panel shows (the LCD's frame and its text, the
// LED) so that a front end hears only of changes. The host owns time: a
// front end calls Step from its own timer or loop, lets its events in
// between the steps, and shows what its PanelView is told.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/instrument.h"
#include "host/lcd_text/lcd_text.h"
#include "host/panel/comm_lines.h"
#include "host/panel/panel_inputs.h"
#include "host/panel/session_record.h"
#include "lcd/frame_buffer.h"

namespace kvr9 {

// What a front end shows of its session. Each call says what changed.
class PanelView {
 public:
  virtual ~PanelView() = default;
  // Every presented frame; changed when it differs from the frame before
  // (always for the first).
  virtual void ShowFrame(const FrameBuffer& frame, bool changed) = 0;
  virtual void ShowLcdVisible(bool /*visible*/) {}
  // Only when the LED changes colour.
  virtual void ShowLed(bool /*lit*/) {}
  virtual void ShowCommLine(const char* /*text*/, const CommLines::Change& /*change*/) {}
  // A pass has ended: the firmware waits for the host's next step.
  virtual void PassEnded() {}
};

// Everything of the panel's side that the next pass depends on or that the
// panel shows, besides the instrument itself: what a snapshot keeps.
struct PanelSide {
  PanelInputs::Kept inputs;
  FrameBuffer shownFrame;
  bool framePresented = false;
  bool ledLit = true;
  std::uint64_t commLineCount = 0;
  CommLines::Memory commLines;
  // A pass has ended and its events are still coming in.
  bool passEnded = false;

  bool operator==(const PanelSide&) const = default;
};

class PanelSession final : private HostPanel {
 public:
  explicit PanelSession(PanelView& view);
  // A session over an instrument someone else keeps (the window's tests
  // look into it); the instrument must outlive the session.
  PanelSession(PanelView& view, Instrument& instrument);
  PanelSession(const PanelSession&) = delete;
  PanelSession& operator=(const PanelSession&) = delete;
  ~PanelSession() override;

  Instrument& instrument() { return instrument_; }
  const Instrument& instrument() const { return instrument_; }
  PanelInputs& inputs() { return inputs_; }
  const PanelInputs& inputs() const { return inputs_; }
  const SessionRecord& record() const { return record_; }
  SessionRecord& record() { return record_; }
  // Whether the session stands for the panel of this instrument.
  bool Hosts(const Instrument& instrument) const { return instrument.host == this; }

  // "ON": switched off, the power cycle starts (its first pass comes with
  // the next step); on, it starts over at the next step.
  void PressOn() { inputs_.SwitchOn(); }
  void PressOff() { inputs_.PressOff(); }
  bool IsOn() const { return IsRunning(instrument_); }

  // One pass of the instrument while it is on (nothing while off): the
  // time since the last pass ends, and the pass runs to its event point.
  // Whether it is still on.
  bool Step();

  // The panel's side as it stands between two passes, and set back once
  // the instrument has been: the view is shown the frame and the LED as
  // they stand, and the record starts over there.
  PanelSide Side() const;
  void RestoreSide(const PanelSide& side);

  // What the panel shows now.
  const FrameBuffer& ShownFrame() const { return shownFrame_; }
  bool LedLit() const { return ledLit_; }
  std::uint64_t CommLineCount() const { return commLineCount_; }
  // The LCD's text, read from the shown frame when first asked after it
  // changed.
  const LcdText& ScreenText();
  // ... as lines, "\n" after each, as show-text prints them.
  const std::string& ScreenLines();

 private:
  void PresentFrameBuffer(const FrameBuffer& frameBuffer) override;
  void SetLcdVisible(bool visible) override { view_.ShowLcdVisible(visible); }
  void SetAlarmLed(bool lit) override;
  bool IsCalibrateChecked() override { return inputs_.IsCalibrateChecked(); }
  bool IsKeyFastChecked() override { return inputs_.IsKeyFastChecked(); }
  void AppendCommLine(const char* text) override;
  void ProcessPendingEvents() override;

  PanelView& view_;
  std::unique_ptr<Instrument> ownInstrument_;
  Instrument& instrument_;
  SessionRecord record_;
  PanelInputs inputs_{instrument_, &record_};
  CommLines commLines_;
  std::uint64_t commLineCount_ = 0;
  FrameBuffer shownFrame_;
  bool framePresented_ = false;
  // The LED's shape is bright red until the first pass colours it.
  bool ledLit_ = true;
  LcdText screenText_;
  std::string screenLines_;
  bool textStale_ = true;
  bool eventsOpen_ = false;  // a pass has ended and the next not begun
};

}  // namespace kvr9
