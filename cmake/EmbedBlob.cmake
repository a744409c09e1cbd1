# Writes the bytes of IN as a C++ array into OUT (used to embed .res files).
file(READ ${IN} hex HEX)
string(LENGTH "${hex}" n)
math(EXPR size "${n} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE ${OUT} "// Generated from a compiled resource file; do not edit.\n#include <cstddef>\n"
  "extern \"C\" __attribute__((visibility(\"default\"), aligned(4))) const unsigned char ky_resource_blob[] = {\n${bytes}0};\n"
  "extern \"C\" __attribute__((visibility(\"default\"))) const std::size_t ky_resource_blob_size = ${size};\n")
