# Script mode (cmake -P): writes INPUT's bytes as a C++ source defining the string_view NAME.
# Every byte becomes a character escape, so the resource may hold any text at all.
foreach(required INPUT OUTPUT NAME HEADER SHOWN)
    if(NOT DEFINED ${required})
        message(FATAL_ERROR "EmbedTextFile.cmake: ${required} is not set")
    endif()
endforeach()

string(REGEX MATCH "^(.*)::([A-Za-z_][A-Za-z0-9_]*)$" qualified "${NAME}")
if(NOT qualified)
    message(FATAL_ERROR "EmbedTextFile.cmake: NAME must be namespace::name, got '${NAME}'")
endif()
set(namespace "${CMAKE_MATCH_1}")
set(variable "${CMAKE_MATCH_2}")

file(READ "${INPUT}" hex HEX)
# Sixteen bytes a line keeps the generated file readable.
set(bytes "")
string(LENGTH "${hex}" hexLength)
set(offset 0)
while(offset LESS hexLength)
    string(SUBSTRING "${hex}" ${offset} 32 chunk)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," chunk "${chunk}")
    string(APPEND bytes "    ${chunk}\n")
    math(EXPR offset "${offset} + 32")
endwhile()

file(WRITE "${OUTPUT}.tmp"
"// Generated from ${SHOWN} at build time; edit that file instead.
#include \"${HEADER}\"

namespace ${namespace} {
namespace {
// A terminating NUL keeps the array non-empty for an empty resource; it is not part of the text.
constexpr char ${variable}Bytes[] = {
${bytes}    '\\0'};
} // namespace

const std::string_view ${variable}{${variable}Bytes, sizeof ${variable}Bytes - 1};
} // namespace ${namespace}
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
