# Writes this build's version where the sources and the resource scripts
# take it: the project's version, and the commit when the sources are a git
# checkout that is not exactly that version's tag. Run at every build; a
# file is rewritten only when its text changes, so nothing rebuilds for it.
#   cmake -DVERSION=1.2.3 -DSOURCE_DIR=... -DOUT_DIR=... -DIMAGE_FILE=... -P version.cmake
set(full "${VERSION}")
execute_process(COMMAND git describe --tags --always --dirty=.dirty --abbrev=7
  WORKING_DIRECTORY "${SOURCE_DIR}" RESULT_VARIABLE failed
  OUTPUT_VARIABLE described OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(NOT failed AND described AND NOT described MATCHES "^v?${VERSION}$")
  # "v1.2.3-4-gabc1234.dirty" or "abc1234": the commit and the mark.
  string(REGEX MATCH "([0-9a-f]+)(\\.dirty)?$" commit "${described}")
  set(full "${VERSION}+g${commit}")
endif()
get_filename_component(image "${IMAGE_FILE}" NAME)
string(REPLACE "\\" "\\\\" image "${image}")
string(REPLACE "\"" "\\\"" image "${image}")

string(REPLACE "." "," numbers "${VERSION}")
file(WRITE "${OUT_DIR}/toolVersion.cpp.new"
  "// Generated at build time.\n"
  "#include \"base/toolVersion.h\"\n\n"
  "std::string_view ToolVersion() { return \"${full}\"; }\n"
  "std::string_view BuiltInImageSource() { return \"${image}\"; }\n")
file(WRITE "${OUT_DIR}/toolVersion.rc.h.new"
  "// Generated at build time.\n"
  "#define QV_VERSION_NUMBERS ${numbers},0\n"
  "#define QV_VERSION_TEXT \"${VERSION}\"\n"
  "#define QV_VERSION_FULL \"${full}\"\n")
foreach(name toolVersion.cpp toolVersion.rc.h)
  configure_file("${OUT_DIR}/${name}.new" "${OUT_DIR}/${name}" COPYONLY)
  file(REMOVE "${OUT_DIR}/${name}.new")
endforeach()
