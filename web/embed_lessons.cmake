# Writes OUTPUT, a C++ file holding the built-in lessons for the page's
# full program: the English ones (LESSONS/*.lesson) first, in the order of
# their file names, then each translation (LESSONS/LANGUAGE/*.lesson, the
# languages in alphabetical order), named by the English lesson's file.
# cmake -DOUTPUT=lessons.cpp -DLESSONS=dir -P embed_lessons.cmake
include(${CMAKE_CURRENT_LIST_DIR}/../cmake/embed_text.cmake)

file(GLOB files ${LESSONS}/*.lesson)
list(SORT files)
file(GLOB translations ${LESSONS}/*/*.lesson)
list(SORT translations)
set(text "// Made by web/embed_lessons.cmake at build time; not edited by hand.\n#include \"web/built_in_lessons.h\"\n\nnamespace kvr9::web {\n\nnamespace {\n\n")
set(table "")
set(number 0)
macro(kvr9_embed_lesson path language)
  get_filename_component(name ${path} NAME)
  kvr9_embed(kLesson${number} ${path} text)
  string(APPEND table "      {\"${name}\", \"${language}\", kLesson${number}},\n")
  math(EXPR number "${number} + 1")
endmacro()
foreach(path IN LISTS files)
  kvr9_embed_lesson(${path} en)
endforeach()
foreach(path IN LISTS translations)
  get_filename_component(folder ${path} DIRECTORY)
  get_filename_component(language ${folder} NAME)
  kvr9_embed_lesson(${path} ${language})
endforeach()
string(APPEND text "}  // namespace\n\nstd::span<const BuiltInLesson> BuiltInLessons() {\n  static const BuiltInLesson lessons[] = {\n${table}  };\n  return lessons;\n}\n\n}  // namespace kvr9::web\n")
file(WRITE ${OUTPUT}.new "${text}")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
