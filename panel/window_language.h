// The window's words in the system's language: German and French from the
// translations compiled into the program (panel/translations/*.ts), English
// otherwise. The words are marked in the "Window" context; what the
// firmware draws on the LCD, the lessons' own words and the host library's
// sentences are not among them.
#pragma once

#include <QLocale>
#include <QString>
#include <QTranslator>
#include <memory>
#include <vector>

namespace kvr9 {

// The context every word of the window is translated in.
inline constexpr const char* kWindowContext = "Window";

// The first of the locale's languages the window speaks ("de-AT" is "de"),
// else "en"; a person who puts English first gets English.
QString WindowLanguage(const QLocale& locale);

// The translations for that language, read from the program's resources:
// the window's words first, then Qt's own (its dialogs' buttons). None for
// English, which is the words as written.
std::vector<std::unique_ptr<QTranslator>> WindowTranslators(const QLocale& locale);

// The language of the translation installed now: "en" without one. The
// built-in lessons are shown in it where they have a translation.
QString ShownLanguage();

// A word of the window, or of the form's table, in the language installed.
QString WindowWord(const char* english);

}  // namespace kvr9
