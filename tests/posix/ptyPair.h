// A pseudo-terminal pair for tests of the POSIX serial backend: the element
// opens the slave by its path, the test plays the device on the master.
#pragma once

#include <chrono>
#include <string>

class TPtyPair {
public:
    TPtyPair();
    ~TPtyPair();
    TPtyPair(const TPtyPair&) = delete;
    TPtyPair& operator=(const TPtyPair&) = delete;

    bool Valid() const { return master >= 0; }
    const std::string& SlavePath() const { return slavePath; }
    int Master() const { return master; }

    bool Send(const std::string& bytes);
    // What the element wrote, until count bytes have come or the time is up.
    std::string Receive(size_t count, std::chrono::milliseconds limit = std::chrono::seconds(10));
    // The device side goes away: the slave sees a hang-up.
    void HangUp();

private:
    int master = -1;
    int slave = -1;
    std::string slavePath;
};
