// The message boxes of the test programs. They link messageBoxFake.cpp, which
// defines the message box backend itself, so the linker takes none from the
// core library: no box ever waits for a click in a test run. While a
// TMessageBoxes exists, boxes are recorded in it; without one the text goes
// to standard error, where a test's log shows it.
#pragma once

#include <string>
#include <vector>

namespace fakes {

class TMessageBoxes {
public:
    TMessageBoxes();
    ~TMessageBoxes();
    TMessageBoxes(const TMessageBoxes&) = delete;
    TMessageBoxes& operator=(const TMessageBoxes&) = delete;

    std::vector<std::string> texts;
    std::vector<std::string> captions;
    std::vector<void*> owners;

private:
    TMessageBoxes* previous_;
};

}  // namespace fakes
