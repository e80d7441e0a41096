/* Test equipment: gives pseudo-terminals modem lines, for Wine.
 *
 * Wine reads the modem lines of a COM port with TIOCMGET, and a pty has none:
 * the ioctl fails and Wine's WaitCommEvent completes at once with an error.
 * Loaded with LD_PRELOAD, this library lets TIOCMGET, TIOCMSET, TIOCMBIS and
 * TIOCMBIC succeed on a pty, reporting the lines named in QV_MODEM_LINES
 * (TIOCM_* bits, decimal; CTS and DSR when unset). Other descriptors and
 * requests go to the real ioctl untouched. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <unistd.h>

typedef int (*ioctl_fn)(int, unsigned long, ...);

static int is_pty(int fd) {
    char link[64];
    char target[256];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(link, target, sizeof target - 1);
    if (n <= 0) return 0;
    target[n] = '\0';
    return strncmp(target, "/dev/pts/", 9) == 0;
}

static int fixed_lines(void) {
    const char* text = getenv("QV_MODEM_LINES");
    if (text && *text) return atoi(text);
    return TIOCM_CTS | TIOCM_DSR;
}

int ioctl(int fd, unsigned long request, ...) {
    static ioctl_fn real = NULL;
    if (!real) real = (ioctl_fn)dlsym(RTLD_NEXT, "ioctl");
    va_list ap;
    va_start(ap, request);
    void* arg = va_arg(ap, void*);
    va_end(ap);
    const int saved = errno;
    const int r = real(fd, request, arg);
    if (r >= 0) return r;
    if ((request == TIOCMGET || request == TIOCMSET || request == TIOCMBIS || request == TIOCMBIC) && is_pty(fd)) {
        if (request == TIOCMGET && arg) *(int*)arg = fixed_lines();
        errno = saved;
        return 0;
    }
    return r;
}
