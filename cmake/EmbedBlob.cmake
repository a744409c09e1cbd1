# Writes the bytes of IN as a C++ array into OUT (used to embed .res files).
file(READ ${IN} hex HEX)
string(LENGTH "${hex}" n)
math(EXPR size "${n} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
# Every module has its own blob under the same name: "protected" keeps the
# module's own references (AddressSanitizer's record of the array among
# them) on its own copy, while the loader still finds it by name.
file(WRITE ${OUT} "// Generated from a compiled resource file; do not edit.\n#include <cstddef>\n"
  "extern \"C\" __attribute__((visibility(\"protected\"), aligned(4))) const unsigned char ky_resource_blob[] = {\n${bytes}0};\n"
  "extern \"C\" __attribute__((visibility(\"protected\"))) const std::size_t ky_resource_blob_size = ${size};\n")
