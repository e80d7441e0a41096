// Station mode, for a production line: on every port, wait for a unit,
// flash it, say how it went, wait until it is taken away, and again, until
// Ctrl-C; then the count of units that passed and failed.
#pragma once

#include <string>
#include <vector>

#include "console/flashSession.h"

// Exit status: 0 when every unit served passed, 1 when one failed, 130
// when Ctrl-C cut an upload short (that unit is half written).
int RunStation(const TFlashRequest& request, const std::vector<std::string>& ports);
