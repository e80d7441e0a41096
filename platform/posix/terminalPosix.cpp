#include <unistd.h>

#include "../terminal.h"

namespace platform {

void PrepareOutput() {}

bool OutputIsTerminal() { return isatty(STDOUT_FILENO) == 1; }

}  // namespace platform
