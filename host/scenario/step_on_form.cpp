#include "host/scenario/step_on_form.h"

#include "host/panel/panel_form.h"
#include "host/panel/panel_words.h"
#include "host/panel/reading_units.h"

namespace kvr9 {

namespace {

std::string FormControlOf(PanelControl control) {
  return ControlWords()[static_cast<std::size_t>(control)].formControls[0];
}

std::string FormControlOf(KeyEvent key) {
  for (const FormControl& control : FormControls()) {
    if (control.key == key) return control.name;
  }
  return std::string();
}

}  // namespace

bool SliderPositionFor(const Step& step, const Instrument& instrument, std::uint32_t& position,
                       std::string& problem) {
  position = step.number;
  if (step.unit == ReadingUnit::Count) return true;
  const CountChoice choice = CountForReading(instrument, step.slider, step.unit, step.reading);
  if (!choice.reachable) {
    const char* unit = UnitName(step.unit);
    problem = std::string("slider ") +
              (step.slider == SliderKind::Altitude ? "altitude " : "airspeed ") +
              std::to_string(step.reading) + unit + ": no position 0.." +
              std::to_string(kSliderHighest) + " reads it; they read " +
              std::to_string(choice.lowest) + ".." + std::to_string(choice.highest) + unit + " now";
    return false;
  }
  position = choice.count;
  return true;
}

StepOnForm StepOnTheForm(std::string_view line, const Instrument& instrument) {
  StepOnForm form;
  const ParseOutcome parsed = ParseScenario(line, "step", ".");
  if (!parsed.ok || parsed.scenario.steps.size() != 1) {
    form.error = parsed.ok ? "not one step" : parsed.error;
    return form;
  }
  const Step& step = parsed.scenario.steps.front();
  switch (step.kind) {
    case StepKind::On:
      form.word = "on";
      form.control = FormControlOf(PanelControl::On);
      break;
    case StepKind::Off:
      form.word = "off";
      form.control = FormControlOf(PanelControl::Off);
      break;
    case StepKind::Key:
      form.word = "key";
      form.control = FormControlOf(step.key);
      break;
    case StepKind::Slider: {
      form.word = "slider";
      form.control =
          FormControlOf(step.slider == SliderKind::Altitude ? PanelControl::AltitudeSlider
                                                            : PanelControl::AirspeedSlider);
      std::uint32_t position = 0;
      if (!SliderPositionFor(step, instrument, position, form.error)) return form;
      form.position = static_cast<std::int32_t>(position);
      break;
    }
    case StepKind::Box:
      form.word = "box";
      form.control = FormControlOf(step.box == BoxKind::Calibrate ? PanelControl::CalibrateBox
                                                                  : PanelControl::KeyFastBox);
      form.checked = step.on;
      break;
    case StepKind::Pass:
      form.word = "pass";
      form.count = step.number;
      break;
    case StepKind::Tick:
      form.word = "tick";
      form.count = step.number;
      break;
    default:
      form.error = "not a step of the form's controls";
      break;
  }
  return form;
}

}  // namespace kvr9
