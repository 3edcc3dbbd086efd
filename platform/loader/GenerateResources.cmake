# Turns the resource list (lines "kind|id|file") into a C++ source that registers the files' bytes.
# Run by tabrix_embed_resources as: cmake -DLIST=... -DOUTPUT=... -P GenerateResources.cmake
set(kind_ICON 14)
set(kind_CURSOR 12)
set(kind_RCDATA 10)
set(kind_STRING 6)

file(STRINGS ${LIST} lines)
set(arrays "")
set(table "")
set(n 0)
foreach(line ${lines})
  string(REPLACE "|" ";" fields "${line}")
  list(GET fields 0 kind)
  list(GET fields 1 id)
  list(GET fields 2 file)
  file(READ "${file}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  if(size EQUAL 0)
    set(bytes "0")
  else()
    string(REGEX REPLACE "(................................)" "\\1\n" hex "${hex}")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  endif()
  string(APPEND arrays "// ${kind} ${id}: ${file}\nconst uint8_t kResource${n}[] = {\n${bytes}\n};\n\n")
  string(APPEND table "    {${kind_${kind}}, ${id}, kResource${n}, ${size}},\n")
  math(EXPR n "${n} + 1")
endforeach()

file(WRITE ${OUTPUT}
"// Generated from the resource list of the build; do not edit.
#include \"platform/loader/Resources.h\"

namespace {

${arrays}const EmbeddedResource kResources[] = {
${table}};

struct Registration {
    Registration() { RegisterEmbeddedResources(kResources, sizeof(kResources) / sizeof(kResources[0])); }
} registration;

}  // namespace
")
