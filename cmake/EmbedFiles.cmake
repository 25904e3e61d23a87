# Writes OUTPUT: a C++ source defining tokeiya::embedded::Files(), the bytes of every file
# in INPUTS (a ;-list), keyed by NAMES. Run with cmake -P at build time.
string(REPLACE "|" ";" INPUTS "${INPUTS}")
string(REPLACE "|" ";" NAMES "${NAMES}")
list(LENGTH INPUTS count)
math(EXPR last "${count} - 1")
foreach(i RANGE ${last})
    list(GET INPUTS ${i} path)
    list(GET NAMES ${i} name)
    file(READ "${path}" hex HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," hex "${hex}")
    set(arrays "${arrays}static const char k${i}[] = {${hex} 0};\n")
    set(entries "${entries}        {\"${name}\", std::string_view(k${i}, sizeof(k${i}) - 1)},\n")
endforeach()
file(WRITE "${OUTPUT}.tmp" "// Generated from the files under db/; do not edit.
#include <map>
#include <string>
#include <string_view>

namespace tokeiya::embedded {
namespace {
${arrays}}  // namespace

const std::map<std::string, std::string_view>& Files() {
    static const std::map<std::string, std::string_view> files{
${entries}    };
    return files;
}

}  // namespace tokeiya::embedded
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
