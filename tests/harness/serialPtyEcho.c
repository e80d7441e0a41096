/* Test equipment: a pseudo-terminal that echoes. It writes the path of its
 * slave side to the file named by its argument, then sends back every byte
 * that arrives, until it is terminated; with a gap, the bytes go back one
 * by one that many microseconds apart. The slave stays open here too, so
 * the pty survives the other side closing and reopening it. */
#define _GNU_SOURCE
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

static volatile sig_atomic_t done = 0;
static void stop(int sig) {
    (void)sig;
    done = 1;
}

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        fprintf(stderr, "usage: %s PATH-FILE [GAP-MICROSECONDS]\n", argv[0]);
        return 2;
    }
    const long gapUs = argc == 3 ? atol(argv[2]) : 0;
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) < 0 || unlockpt(master) < 0) {
        perror("pty");
        return 1;
    }
    const char* name = ptsname(master);
    const int slave = open(name, O_RDWR | O_NOCTTY);
    if (slave < 0) {
        perror(name);
        return 1;
    }
    struct termios t;
    tcgetattr(slave, &t);
    cfmakeraw(&t);
    tcsetattr(slave, TCSANOW, &t);

    char tmp[4096];
    snprintf(tmp, sizeof tmp, "%s.tmp", argv[1]);
    FILE* f = fopen(tmp, "w");
    if (!f || fprintf(f, "%s\n", name) < 0 || fclose(f) != 0 || rename(tmp, argv[1]) != 0) {
        perror(argv[1]);
        return 1;
    }

    struct sigaction sa = {0};
    sa.sa_handler = stop;
    sigaction(SIGTERM, &sa, NULL);
    sigaction(SIGINT, &sa, NULL);
    while (!done) {
        struct pollfd p = {master, POLLIN, 0};
        const int r = poll(&p, 1, 200);
        if (r <= 0) continue;
        char buf[4096];
        const ssize_t n = read(master, buf, sizeof buf);
        if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EIO)) {
            usleep(10000);
            continue;
        }
        if (n <= 0) break;
        /* One byte a write, gapUs apart, as a device's UART sends them. */
        for (ssize_t off = 0; off < n;) {
            const ssize_t w = write(master, buf + off, gapUs > 0 ? 1 : (size_t)(n - off));
            if (w < 0 && errno != EINTR && errno != EAGAIN) return 1;
            if (w > 0) off += w;
            if (gapUs > 0 && off < n) usleep((useconds_t)gapUs);
        }
    }
    close(slave);
    close(master);
    return 0;
}
