// The exports only the page's full program has (web/page_boundary.h): the
// snapshot as JSON text, for a link that hands the instrument over, and
// the built-in lessons followed on the live session. The page loads this
// program when it first needs one of them, and goes on with the session
// where the small program left it.
#include <emscripten.h>

#include <memory>
#include <optional>
#include <string>

#include "host/lessons/lesson.h"
#include "host/lessons/lesson_run.h"
#include "host/panel/reading_units.h"
#include "host/snapshot/snapshot_image.h"
#include "host/snapshot/snapshot_json.h"
#include "web/built_in_lessons.h"
#include "web/page.h"
#include "web/page_boundary.h"

namespace {

using kvr9::web::JsonString;
using kvr9::web::ThePage;

struct Lessons {
  std::unique_ptr<kvr9::Lesson> lesson;
  std::unique_ptr<kvr9::LessonRun> run;
};

Lessons& TheLessons() {
  static Lessons lessons;
  return lessons;
}

const char* Answer(std::string text) {
  ThePage().answer = std::move(text);
  return ThePage().answer.c_str();
}

const char* Bool(bool value) {
  return value ? "true" : "false";
}

}  // namespace

extern "C" {

// The session now in the snapshot's JSON text.
EMSCRIPTEN_KEEPALIVE const char* kvr9_snapshot_json() {
  return Answer(kvr9::WriteSnapshot(kvr9::web::SessionSnapshot()));
}

// The JSON text in the input buffer, checked whole and set back: SetBack's
// object, or {"error": "NAME: field: what is wrong"} with nothing changed.
EMSCRIPTEN_KEEPALIVE const char* kvr9_snapshot_open(int nameBytes) {
  kvr9::web::Page& page = ThePage();
  const std::size_t split =
      std::min(nameBytes > 0 ? static_cast<std::size_t>(nameBytes) : 0U, page.input.size());
  const kvr9::SnapshotReadResult read =
      kvr9::ReadSnapshot(std::string_view(page.input).substr(split), page.input.substr(0, split));
  std::string().swap(page.input);
  if (!read.ok) return Answer("{\"error\":" + JsonString(read.error) + "}");
  page.fromLink = true;
  return Answer(kvr9::web::SetBack(read.snapshot));
}

// The built-in lessons as a JSON array of {"file", "title"}.
EMSCRIPTEN_KEEPALIVE const char* kvr9_lesson_list() {
  std::string list = "[";
  for (const kvr9::web::BuiltInLesson& builtIn : kvr9::web::BuiltInLessons()) {
    const kvr9::LessonReadResult read =
        kvr9::ParseLesson(builtIn.text, std::string(builtIn.file), {});
    list += std::string(list.size() > 1 ? "," : "") + "{\"file\":" + JsonString(builtIn.file) +
            ",\"title\":" + JsonString(read.ok ? read.lesson.title : read.error) + "}";
  }
  return Answer(list + "]");
}

// Reads built-in lesson number (its place in the list) and sets the
// instrument where the lesson starts, when that is switched off afresh or
// a snapshot; when "switchOn" says so the page instead clicks "ON", as a
// person would, which loads every default. The page then calls
// kvr9_lesson_follow(). An object with "error" ("" when read),
// "switchOn", and "setBack", SetBack's object when the lesson set the
// instrument (null otherwise).
EMSCRIPTEN_KEEPALIVE const char* kvr9_lesson_open(int number) {
  Lessons& lessons = TheLessons();
  const auto builtIns = kvr9::web::BuiltInLessons();
  if (number < 0 || static_cast<std::size_t>(number) >= builtIns.size()) {
    return Answer("{\"error\":\"no such lesson\",\"switchOn\":false}");
  }
  const kvr9::web::BuiltInLesson& builtIn = builtIns[static_cast<std::size_t>(number)];
  kvr9::LessonReadResult read = kvr9::ParseLesson(builtIn.text, std::string(builtIn.file), {});
  if (!read.ok) return Answer("{\"error\":" + JsonString(read.error) + ",\"switchOn\":false}");
  lessons.run.reset();
  lessons.lesson = std::make_unique<kvr9::Lesson>(std::move(read.lesson));
  kvr9::web::Page& page = ThePage();
  if (page.beforeLessons.empty()) {
    page.beforeLessons =
        kvr9::SnapshotImage(kvr9::web::SessionSnapshot(), page.session.record().Bytes());
  }
  const std::optional<kvr9::Snapshot> start =
      kvr9::LessonStartingPoint(*lessons.lesson, page.session);
  if (!start) return Answer("{\"error\":\"\",\"switchOn\":true,\"setBack\":null}");
  page.flight.Pause();
  return Answer("{\"error\":\"\",\"switchOn\":false,\"setBack\":" + kvr9::web::SetBack(*start) +
                "}");
}

// Follows the lesson read last on the session from now on.
EMSCRIPTEN_KEEPALIVE void kvr9_lesson_follow() {
  Lessons& lessons = TheLessons();
  if (!lessons.lesson) return;
  lessons.run = std::make_unique<kvr9::LessonRun>(*lessons.lesson, ThePage().session);
}

EMSCRIPTEN_KEEPALIVE void kvr9_lesson_close() {
  TheLessons().run.reset();
  TheLessons().lesson.reset();
}

// The instrument as the first lesson found it, set back as an image is.
EMSCRIPTEN_KEEPALIVE const char* kvr9_lesson_give_back() {
  kvr9::web::Page& page = ThePage();
  if (page.beforeLessons.empty()) return Answer("null");
  page.input = std::move(page.beforeLessons);
  page.beforeLessons.clear();
  const char* answer = kvr9_image_apply();
  return answer[0] == '\0' ? Answer("null") : answer;
}

// Where the lesson followed stands, as a JSON object: "title", "steps"
// (how many), "passed" (steps done), "done", the current step's "words",
// "hint", "hintDue" and "control" (a word of ControlWord), and "off", what
// to say of the lit LED while the instrument is off (null while it is on);
// null when no lesson is followed. While the instrument is off there are no passes to
// look at it, so this looks.
EMSCRIPTEN_KEEPALIVE const char* kvr9_lesson_status() {
  kvr9::LessonRun* run = TheLessons().run.get();
  if (run == nullptr) return Answer("null");
  if (!ThePage().session.IsOn()) run->Check();
  const kvr9::LessonStep* step = run->Current();
  std::string json =
      "{\"title\":" + JsonString(run->lesson().title) +
      ",\"steps\":" + std::to_string(run->StepCount()) +
      ",\"passed\":" + std::to_string(run->StepsPassed()) + ",\"done\":" + Bool(run->Done()) +
      ",\"off\":" +
      (ThePage().session.IsOn() ? std::string("null") : JsonString(kvr9::kLessonOffWords));
  if (step != nullptr) {
    json += ",\"words\":" + JsonString(step->words) + ",\"hint\":" + JsonString(step->hint) +
            ",\"hintDue\":" + Bool(run->HintDue()) +
            ",\"control\":" + JsonString(kvr9::ControlWord(step->control));
  }
  return Answer(json + "}");
}

// As a scenario's "slider airspeed 60mph" chooses its count: the reading
// goes through the firmware's own arithmetic with the present settings.
EMSCRIPTEN_KEEPALIVE int kvr9_slider_count_for(int altitude, int unit, int reading) {
  const bool altitudeUnit = unit == static_cast<int>(kvr9::ReadingUnit::Feet) ||
                            unit == static_cast<int>(kvr9::ReadingUnit::Metres);
  const bool airspeedUnit = unit >= static_cast<int>(kvr9::ReadingUnit::Mph) &&
                            unit <= static_cast<int>(kvr9::ReadingUnit::Knots);
  if (altitude != 0 ? !altitudeUnit : !airspeedUnit) return -1;
  const kvr9::CountChoice choice =
      kvr9::CountForReading(ThePage().session.instrument(),
                            altitude != 0 ? kvr9::SliderKind::Altitude : kvr9::SliderKind::Airspeed,
                            static_cast<kvr9::ReadingUnit>(unit), reading);
  return choice.reachable ? static_cast<int>(choice.count) : -1;
}

}  // extern "C"
