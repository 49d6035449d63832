// The exports only the page's full program has (web/page_boundary.h): the
// snapshot as JSON text, for a link that hands the instrument over, and
// the built-in lessons followed on the live session. The page loads this
// program when it first needs one of them, and goes on with the session
// where the small program left it.
#include <emscripten.h>

#include <string>

#include "host/lessons/lesson.h"
#include "host/lessons/lesson_run.h"
#include "host/rig/rig_files.h"
#include "host/scenario/step_on_form.h"
#include "web/built_in_lessons.h"
#include "web/page.h"
#include "web/page_boundary.h"

namespace {

using kvr9::web::JsonString;
using kvr9::web::ThePage;

const char* Answer(std::string text) {
  ThePage().answer = std::move(text);
  return ThePage().answer.c_str();
}

const char* Bool(bool value) {
  return value ? "true" : "false";
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE const char* kvr9_snapshot_json() {
  return Answer(kvr9::StateText(ThePage().rig));
}

EMSCRIPTEN_KEEPALIVE const char* kvr9_snapshot_open(int nameBytes) {
  kvr9::web::Page& page = ThePage();
  const std::size_t split =
      std::min(nameBytes > 0 ? static_cast<std::size_t>(nameBytes) : 0U, page.input.size());
  const std::string input = std::exchange(page.input, {});
  const kvr9::OpenedState opened =
      kvr9::OpenStateText(page.rig, std::string_view(input).substr(split), input.substr(0, split));
  if (!opened.ok) return Answer("{\"error\":" + JsonString(opened.error) + "}");
  page.fromLink = true;
  return Answer(kvr9::web::SetBackAnswer(opened.flight));
}

// The built-in lessons as a JSON array of {"file", "language", "title"}.
EMSCRIPTEN_KEEPALIVE const char* kvr9_lesson_list() {
  std::string list = "[";
  for (const kvr9::web::BuiltInLesson& builtIn : kvr9::web::BuiltInLessons()) {
    const kvr9::LessonReadResult read =
        kvr9::ParseLesson(builtIn.text, std::string(builtIn.file), {});
    list += std::string(list.size() > 1 ? "," : "") + "{\"file\":" + JsonString(builtIn.file) +
            ",\"language\":" + JsonString(builtIn.language) +
            ",\"title\":" + JsonString(read.ok ? read.lesson.title : read.error) + "}";
  }
  return Answer(list + "]");
}

EMSCRIPTEN_KEEPALIVE const char* kvr9_lesson_follow(int number) {
  const auto builtIns = kvr9::web::BuiltInLessons();
  if (number < 0 || static_cast<std::size_t>(number) >= builtIns.size()) {
    return Answer("no such lesson");
  }
  const kvr9::web::BuiltInLesson& builtIn = builtIns[static_cast<std::size_t>(number)];
  const kvr9::LessonReadResult read =
      kvr9::ParseLesson(builtIn.text, std::string(builtIn.file), {});
  if (!read.ok) return Answer(read.error);
  ThePage().rig.FollowLesson(read.lesson);
  ThePage().lessonFile = builtIn.file;
  return Answer("");
}

EMSCRIPTEN_KEEPALIVE const char* kvr9_lesson_open(int nameBytes, int lessonBytes, int follow) {
  kvr9::web::Page& page = ThePage();
  const std::string input = std::exchange(page.input, {});
  const std::size_t split =
      std::min(nameBytes > 0 ? static_cast<std::size_t>(nameBytes) : 0U, input.size());
  const std::size_t end = std::min(
      split + (lessonBytes > 0 ? static_cast<std::size_t>(lessonBytes) : 0U), input.size());
  const std::string name = input.substr(0, split);
  const std::string_view all(input);
  const kvr9::LessonTextOpened opened =
      kvr9::OpenLessonText(all.substr(split, end - split), all.substr(end), name);
  if (!opened.read.ok) {
    return Answer("{\"error\":" + JsonString(opened.read.error) +
                  ",\"line\":" + std::to_string(opened.read.line) +
                  ",\"reason\":" + JsonString(opened.read.reason) +
                  ",\"snapshotWanted\":" + JsonString(opened.snapshotWanted) + "}");
  }
  if (follow != 0) {
    page.rig.FollowLesson(opened.read.lesson);
    page.lessonFile = name;
  }
  return Answer("{\"title\":" + JsonString(opened.read.lesson.title) +
                ",\"steps\":" + std::to_string(opened.read.lesson.steps.size()) +
                ",\"text\":" + JsonString(opened.text) + "}");
}

EMSCRIPTEN_KEEPALIVE int kvr9_lesson_largest() {
  return static_cast<int>(kvr9::kLargestLessonBytes);
}

EMSCRIPTEN_KEEPALIVE const char* kvr9_lesson_way() {
  const kvr9::LessonRun* run = ThePage().rig.FollowedLesson();
  return Answer(run == nullptr ? std::string() : run->WayAsScenario(ThePage().lessonFile));
}

EMSCRIPTEN_KEEPALIVE void kvr9_lesson_leave() {
  ThePage().rig.LeaveLesson();
}

EMSCRIPTEN_KEEPALIVE int kvr9_lesson_close() {
  return ThePage().rig.CloseLessons() ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE void kvr9_lesson_hint() {
  ThePage().rig.AskForHint();
}

EMSCRIPTEN_KEEPALIVE const char* kvr9_lesson_status() {
  const kvr9::LessonPanelText text = ThePage().rig.LessonPanel();
  if (!text.following) return Answer("null");
  return Answer(
      "{\"title\":" + JsonString(text.title) + ",\"steps\":" + std::to_string(text.steps) +
      ",\"passed\":" + std::to_string(text.passed) + ",\"done\":" + Bool(!text.control) +
      ",\"stepLine\":" + JsonString(text.stepLine) + ",\"words\":" + JsonString(text.words) +
      ",\"hint\":" + JsonString(text.hint) + ",\"hintShown\":" + Bool(text.hintShown) +
      ",\"doneLine\":" + JsonString(text.doneLine) +
      ",\"off\":" + (text.offWords == nullptr ? std::string("null") : JsonString(text.offWords)) +
      ",\"control\":" +
      (text.control ? JsonString(kvr9::ControlWord(*text.control)) : std::string("null")) + "}");
}

// One of a scenario's input steps, its line in the input buffer, as the
// form's control to work, for the browser tests that work it as a person
// does: a slider's reading comes to the position the executor would
// choose with the settings now. A JSON object: "word" (on, off, key,
// slider, box, pass, tick), "control" (the form's name), "position",
// "checked", "count"; or "error" alone.
EMSCRIPTEN_KEEPALIVE const char* kvr9_step_on_form() {
  kvr9::web::Page& page = ThePage();
  const kvr9::StepOnForm form = kvr9::StepOnTheForm(page.input, page.rig.instrument());
  std::string().swap(page.input);
  if (!form.error.empty()) return Answer("{\"error\":" + JsonString(form.error) + "}");
  return Answer("{\"word\":" + JsonString(form.word) + ",\"control\":" + JsonString(form.control) +
                ",\"position\":" + std::to_string(form.position) + ",\"checked\":" +
                Bool(form.checked) + ",\"count\":" + std::to_string(form.count) + "}");
}

}  // extern "C"
