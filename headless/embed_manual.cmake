# Writes OUTPUT, a C++ file holding the manual pages the MCP server offers
# as resources, so the installed program has them without the source tree.
# cmake -DOUTPUT=manual.cpp -DGUIDE=headless.md -DMAN_PAGE=kvr9-headless.1 -P embed_manual.cmake
function(kvr9_embed variable path out)
  file(READ ${path} hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR bytes "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," hex "${hex}")
  string(REGEX REPLACE "((0x..,){24})" "\\1\n" hex "${hex}")
  set(${out} "${${out}}const unsigned char ${variable}Bytes[] = {\n${hex}\n};\nconst std::string_view ${variable}(reinterpret_cast<const char*>(${variable}Bytes), ${bytes});\n" PARENT_SCOPE)
endfunction()

set(text "// Made by headless/embed_manual.cmake at build time; not edited by hand.\n#include \"headless/mcp_manual.h\"\n\nnamespace kvr9::headless {\n\n")
kvr9_embed(kHeadlessGuide ${GUIDE} text)
kvr9_embed(kHeadlessManPage ${MAN_PAGE} text)
string(APPEND text "\n}  // namespace kvr9::headless\n")
file(WRITE ${OUTPUT}.new "${text}")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
