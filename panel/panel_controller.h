// What runs the window: the panel rig, with the timer that steps it, kept
// apart from the widgets. It is the rig's view, and hands on what the rig
// shows to the form's display code: the LCD, the LED and the communication
// lines as a pass makes them, and the controls, the flight bar, stand
// mode's caption and the lessons panel when the rig has moved them.
#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>

#include "host/rig/panel_rig.h"

namespace kvr9 {

class TForm1;

class PanelController final : public QObject, public RigView {
 public:
  PanelController(TForm1& form, Instrument& instrument);

  PanelRig& rig() { return rig_; }
  const PanelRig& rig() const { return rig_; }

  // Paced, the running instrument makes a pass every period; unpaced they
  // run back to back, Qt still delivering the window's events between them.
  void SetPacing(bool paced);

  // PanelView: the pass's picture, to the form.
  void ShowFrame(const FrameBuffer& frame, bool changed) override;
  void ShowLcdVisible(bool visible) override;
  void ShowLed(bool lit) override;
  void ShowCommLine(const char* text, const CommLines::Change& change) override;
  void PassEnded() override;

  // RigView: what the rig moved by itself.
  void ShowRunning(bool on) override;
  void ShowSlider(SliderKind slider, std::int32_t position) override;
  void ShowBox(BoxKind box, bool checked) override;
  void ShowCommWindow(const CommLines::Memory& lines) override;
  void ShowFlight() override;
  void ShowStandCaption(const char* caption) override;
  void ShowLesson() override;

 private:
  TForm1& form_;
  QTimer passTimer_;  // steps the running instrument
  PanelRig rig_;
};

}  // namespace kvr9
