# kvr9_embed(VARIABLE PATH OUT): appends to OUT the C++ of a std::string_view
# VARIABLE holding the file's bytes, for texts built into a program.
function(kvr9_embed variable path out)
  file(READ ${path} hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR bytes "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," hex "${hex}")
  string(REGEX REPLACE "((0x..,){24})" "\\1\n" hex "${hex}")
  set(${out} "${${out}}const unsigned char ${variable}Bytes[] = {\n${hex}\n};\nconst std::string_view ${variable}(reinterpret_cast<const char*>(${variable}Bytes), ${bytes});\n" PARENT_SCOPE)
endfunction()
