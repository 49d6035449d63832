#include "panel/window_language.h"

#include <QCoreApplication>
#include <QStringList>

namespace kvr9 {

namespace {

// The words of the form's table (host/panel/panel_form.cpp) the window
// shows, for the translations to find: captions, tooltips and accessible
// names. The form's test checks that each word of the table has its
// translation, so a word changed there fails until it is translated here.
[[maybe_unused]] constexpr const char* kFormWords[] = {
    QT_TRANSLATE_NOOP("Window", "The instrument face"),
    QT_TRANSLATE_NOOP("Window", "Alarm LED"),
    QT_TRANSLATE_NOOP("Window", "F1 key (up arrow)"),
    QT_TRANSLATE_NOOP("Window", "F1 key, up"),
    QT_TRANSLATE_NOOP("Window", "Knob: click to press, wheel to turn"),
    QT_TRANSLATE_NOOP("Window", "Knob: press"),
    QT_TRANSLATE_NOOP("Window", "F2 key (down arrow)"),
    QT_TRANSLATE_NOOP("Window", "F2 key, down"),
    QT_TRANSLATE_NOOP(
        "Window",
        "The LCD - Ctrl+C copies its picture, Ctrl+Shift+C the session as a scenario; the right "
        "button opens a flight log (IGC or CSV) or plays a demo flight, and a log dropped on the "
        "window opens too.\nFlight time runs ten times fast and air distance five times: "
        "the instrument counts a second of flight and half a second of distance each time round "
        "its loop, and the simulator goes round ten times a second."),
    QT_TRANSLATE_NOOP("Window", "LCD"),
    QT_TRANSLATE_NOOP("Window", "Clockwise"),
    QT_TRANSLATE_NOOP("Window", "Turn the knob clockwise"),
    QT_TRANSLATE_NOOP("Window", "AntiClockwise"),
    QT_TRANSLATE_NOOP("Window", "Turn the knob anticlockwise"),
    QT_TRANSLATE_NOOP("Window", "ON"),
    QT_TRANSLATE_NOOP("Window", "OFF"),
    QT_TRANSLATE_NOOP("Window", "Altitude"),
    QT_TRANSLATE_NOOP("Window", "Airspeed"),
    QT_TRANSLATE_NOOP("Window", "Calibrate"),
    QT_TRANSLATE_NOOP("Window", "KeyFast"),
    QT_TRANSLATE_NOOP("Window", " Communication Window  "),
    QT_TRANSLATE_NOOP("Window", "Communication Window"),
};

const QString kLanguages[] = {QStringLiteral("de"), QStringLiteral("fr")};

}  // namespace

QString WindowLanguage(const QLocale& locale) {
  for (const QString& tag : locale.uiLanguages()) {
    const QString language = tag.section(QLatin1Char('-'), 0, 0).toLower();
    if (language == QLatin1String("en")) break;
    for (const QString& spoken : kLanguages) {
      if (language == spoken) return spoken;
    }
  }
  return QStringLiteral("en");
}

std::vector<std::unique_ptr<QTranslator>> WindowTranslators(const QLocale& locale) {
  std::vector<std::unique_ptr<QTranslator>> translators;
  const QString language = WindowLanguage(locale);
  if (language == QLatin1String("en")) return translators;
  for (const QString& file : {QStringLiteral(":/i18n/kvr9_"), QStringLiteral(":/i18n/qtbase_")}) {
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(file + language)) translators.push_back(std::move(translator));
  }
  return translators;
}

QString ShownLanguage() {
  return QCoreApplication::translate(
      "Window", "en", "the code of the translation's language, as the lessons' folders name it");
}

QString WindowWord(const char* english) {
  return QCoreApplication::translate(kWindowContext, english);
}

}  // namespace kvr9
