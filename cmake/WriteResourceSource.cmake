# Writes the bytes of INPUT (a .res file) as a C++ array in the "win32res" section, to OUTPUT.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" length)
math(EXPR size "${length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n    " bytes "${bytes}")
file(WRITE ${OUTPUT} "// Generated from ${INPUT}: the compiled resource script, byte for byte.
extern const unsigned char program_resource_bytes[${size}];
__attribute__((section(\"win32res\"), used, aligned(4)))
const unsigned char program_resource_bytes[${size}] = {
    ${bytes}
};
")
