// Console programs have no boxes: the text goes to standard error, in UTF-8.
#include <cstdio>

#include "../../base/cp1251.h"
#include "../messageBox.h"

namespace platform::backend {

void ShowSystemMessageBox(const std::string& text, const std::string& caption, void*) {
    const std::string line = cp1251::ToUtf8Visible(caption) + ": " + cp1251::ToUtf8Visible(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
}

}  // namespace platform::backend
