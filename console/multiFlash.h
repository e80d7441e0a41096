// Several ports at once: one console network per port, each with its own
// reader thread and watchdog, all in this process; at the end a table of
// the ports' outcomes.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "console/flashSession.h"

// Why these ports cannot be served together (an empty name, a port given
// twice, also under another name of the same device); empty when they can.
std::string CheckPorts(const std::vector<std::string>& ports);

// The run's exit status from its ports': 0 when every one succeeded, else
// the worst, from the worst down: interrupted, usage error, transfer
// failed, no device.
int WorstExit(const std::vector<int>& exits);

// The table of outcomes: port, device, version, outcome, seconds and, for
// a failure, its detail.
std::string SummaryTable(const std::vector<TUnitRecord>& records);

// Flashes every port concurrently; request holds what they share.
int RunMultiFlash(const TFlashRequest& request, const std::vector<std::string>& ports);

// Runs serve(i) for every port index on a thread of its own, with dispatch
// on for all of them, and waits for them all.
void ServeConcurrently(size_t count, const std::function<void(size_t)>& serve);
