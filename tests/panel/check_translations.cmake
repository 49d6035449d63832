# Every word the window marks for translation has a finished translation in
# each .ts file, and no .ts file keeps a word the window no longer has.
# lupdate reads the sources into a copy of each file, as
# `--target update_translations` would into the file itself; the copy must
# come out with nothing to do.
#   cmake -DLUPDATE=... -DSOURCES=a.cpp;b.h -DTS_FILES=x.ts;y.ts -DWORK=dir -P check_translations.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(failed FALSE)
foreach(ts IN LISTS TS_FILES)
  get_filename_component(name "${ts}" NAME)
  set(copy "${WORK}/${name}")
  file(COPY_FILE "${ts}" "${copy}")
  execute_process(COMMAND "${LUPDATE}" -silent -locations none -no-ui-lines ${SOURCES} -ts "${copy}"
                  RESULT_VARIABLE status ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "lupdate failed on ${name}: ${errors}")
  endif()
  file(READ "${copy}" text)
  # The words' own semicolons and brackets are not list separators here.
  string(REPLACE ";" "&#59;" text "${text}")
  string(REPLACE "[" "&#91;" text "${text}")
  string(REPLACE "]" "&#93;" text "${text}")
  # Each message on its own, with its source and how its translation stands.
  string(REGEX MATCHALL "<message[^>]*>.*</message>" whole "${text}")
  string(REPLACE "</message>" "</message>;" messages "${whole}")
  foreach(message IN LISTS messages)
    if(NOT message MATCHES "<source>([^<]*)</source>")
      continue()
    endif()
    set(source "${CMAKE_MATCH_1}")
    if(message MATCHES "type=\"(unfinished|vanished|obsolete)\"")
      message(SEND_ERROR "${name}: '${source}' is ${CMAKE_MATCH_1}")
      set(failed TRUE)
    elseif(message MATCHES "<translation></translation>|<translation/>")
      message(SEND_ERROR "${name}: '${source}' has an empty translation")
      set(failed TRUE)
    endif()
  endforeach()
endforeach()
if(failed)
  message(FATAL_ERROR "Translate the words above in panel/translations/*.ts "
                      "(cmake --build <dir> --target update_translations adds new ones there).")
endif()
