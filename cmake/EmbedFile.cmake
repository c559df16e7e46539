# Turns a file into a C++ byte array. Run with cmake -P and the variables
# INPUT, OUTPUT, HEADER (declares the array), NAME (the array) and SIZE_NAME
# (the constant its size must equal).
file(READ "${INPUT}" content HEX)
string(LENGTH "${content}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${content}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){24})" "\\1\n" bytes "${bytes}")
get_filename_component(inputName "${INPUT}" NAME)
file(WRITE "${OUTPUT}"
"// Made from ${inputName} at build time.\n#include \"${HEADER}\"\n\n"
"static_assert(${SIZE_NAME} == ${size}, \"${inputName} changed size\");\n\n"
"const std::array<std::uint8_t, ${SIZE_NAME}> ${NAME} = {\n${bytes}\n};\n")
