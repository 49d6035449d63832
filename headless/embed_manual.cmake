# Writes OUTPUT, a C++ file holding the manual pages the MCP server offers
# as resources, so the installed program has them without the source tree.
# cmake -DOUTPUT=manual.cpp -DGUIDE=headless.md -DMAN_PAGE=kvr9-headless.1 -P embed_manual.cmake
include(${CMAKE_CURRENT_LIST_DIR}/../cmake/embed_text.cmake)

set(text "// Made by headless/embed_manual.cmake at build time; not edited by hand.\n#include \"headless/mcp_manual.h\"\n\nnamespace kvr9::headless {\n\n")
kvr9_embed(kHeadlessGuide ${GUIDE} text)
kvr9_embed(kHeadlessManPage ${MAN_PAGE} text)
string(APPEND text "\n}  // namespace kvr9::headless\n")
file(WRITE ${OUTPUT}.new "${text}")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
