// The version of this build, as the programs report it and the unit records
// carry it.
#pragma once

#include <string_view>

// The project's version, with the commit it was built from where that is
// not the version's own tag ("1.0.0+gc4d4541", "1.0.0+gc4d4541.dirty").
std::string_view ToolVersion();
// The name of the file the built-in image was taken from; empty for the
// generated test image.
std::string_view BuiltInImageSource();
