# Writes the bytes of INPUT (a .res file) as a C++ array in the "win32res" section, to OUTPUT.
# The array is not const: WebAssembly's linker bounds a section with __start_ and __stop_ symbols
# only when its data is writable.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" length)
math(EXPR size "${length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n    " bytes "${bytes}")
file(WRITE ${OUTPUT} "// Generated from ${INPUT}: the compiled resource script, byte for byte.
extern unsigned char program_resource_bytes[${size}];
__attribute__((section(\"win32res\"), used, aligned(4)))
unsigned char program_resource_bytes[${size}] = {
    ${bytes}
};
")
