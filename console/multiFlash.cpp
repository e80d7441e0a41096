#include "multiFlash.h"

#include <algorithm>
#include <filesystem>
#include <thread>

#include "base/cp1251.h"
#include "console/portOutput.h"
#include "platform/portList.h"
#include "platform/terminal.h"
#include "runtime/Share.h"

namespace {

// The device a port name stands for: a COM name's device, and a path with
// its links followed (a /dev/serial/by-id name is its ttyUSB node).
std::string DeviceOf(const std::string& port) {
    std::string device = port;
    if (platform::ComPortNumber(port) != 0)
        if (const auto path = platform::DevicePathOfPort(port)) device = *path;
    std::error_code error;
    const std::filesystem::path real = std::filesystem::canonical(device, error);
    return error ? device : real.string();
}

int Severity(int exit) {
    switch (exit) {
        case FlashSucceeded: return 0;
        case FlashNoDevice: return 1;
        case FlashPortUnavailable: return 2;
        case FlashFailed: return 3;
        case FlashUsageError: return 4;
        default: return 5;  // interrupted
    }
}

std::string Padded(const std::string& text, size_t width) {
    return text + std::string(width > TextWidth(text) ? width - TextWidth(text) : 0, ' ');
}

}  // namespace

std::string CheckPorts(const std::vector<std::string>& ports) {
    std::vector<std::string> devices;
    for (const std::string& port : ports) {
        if (port.empty()) return "a port name is empty";
        const std::string device = DeviceOf(port);
        const auto same = std::find(devices.begin(), devices.end(), device);
        if (same != devices.end()) {
            const std::string& first = ports[size_t(same - devices.begin())];
            return first == port ? "port " + port + " is given twice"
                                 : "ports " + first + " and " + port + " are the same device";
        }
        devices.push_back(device);
    }
    return {};
}

int WorstExit(const std::vector<int>& exits) {
    int worst = FlashSucceeded;
    for (const int exit : exits)
        if (Severity(exit) > Severity(worst)) worst = exit;
    return worst;
}

std::string SummaryTable(const std::vector<TUnitRecord>& records) {
    std::vector<std::vector<std::string>> rows{{"port", "device", "version", "outcome", "seconds", "detail"}};
    for (const TUnitRecord& r : records) {
        char seconds[32];
        std::snprintf(seconds, sizeof(seconds), "%.1f", r.Seconds);
        rows.push_back({r.Port, cp1251::ToUtf8Visible(r.DeviceName), cp1251::ToUtf8Visible(r.DeviceVersion),
                        OutcomeName(r.Exit), seconds, r.Exit == FlashSucceeded ? "" : r.Detail});
    }
    std::vector<size_t> widths(rows[0].size(), 0);
    for (const auto& row : rows)
        for (size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], TextWidth(row[i]));
    std::string table;
    for (const auto& row : rows) {
        std::string line;
        for (size_t i = 0; i < row.size(); ++i) line += (i ? "  " : "") + Padded(row[i], widths[i]);
        while (!line.empty() && line.back() == ' ') line.pop_back();
        table += line + "\n";
    }
    return table;
}

void ServeConcurrently(size_t count, const std::function<void(size_t)>& serve) {
    // Dispatch is one switch for the process: on before the first network
    // runs, off once the last has ended its own.
    EnableDispatch();
    std::vector<std::thread> sessions;
    for (size_t i = 0; i < count; ++i) sessions.emplace_back(serve, i);
    for (std::thread& session : sessions) session.join();
    DisableDispatch();
}

int RunMultiFlash(const TFlashRequest& request, const std::vector<std::string>& ports) {
    // In the order given, so that a port keeps its COM name from run to run.
    std::vector<std::string> names;
    names.reserve(ports.size());
    for (const std::string& port : ports) names.push_back(SchemePortName(port));
    std::vector<TUnitRecord> records(ports.size());
    std::vector<int> exits(ports.size(), FlashUsageError);
    for (size_t i = 0; i < ports.size(); ++i) {
        records[i].Port = ports[i];
        records[i].Exit = FlashUsageError;
        records[i].Detail = "no free COM name";
    }
    std::unique_ptr<TPortBoard> board;
    if (request.Terminal) board = std::make_unique<TPortBoard>(ports);

    ServeConcurrently(ports.size(), [&](size_t i) {
        if (names[i].empty()) return;
        TFlashRequest one = request;
        one.Port = ports[i];
        TUnitOptions options;
        options.SharedDispatch = true;
        options.Output = board ? board->For(i) : PrefixedLines(ports[i]);
        if (board) options.Columns = [&board] { return board->TextColumns(); };
        const TUnitResult unit = FlashUnit(one, names[i], options);
        if (request.Records) request.Records->Write(unit.Record);
        if (board)
            board->Set(i, OutcomeName(unit.Exit) + (unit.Exit == FlashSucceeded ? "" : ": " + unit.Record.Detail));
        records[i] = unit.Record;
        exits[i] = unit.Exit;
    });
    if (board) board->End();
    platform::WriteOutput(SummaryTable(records));
    return WorstExit(exits);
}
