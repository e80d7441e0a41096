/* Exits 0 when this kernel serves the 32-bit system call gate (int 0x80)
 * to a 64-bit process, 1 when it does not. Wine's WoW64 mode needs it to
 * give a 32-bit program's threads their TEB segment; some virtual machines'
 * kernels refuse it with a general protection fault. */
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

int main(void) {
    const pid_t child = fork();
    if (child == 0) {
        long result = 20; /* getpid in the 32-bit numbering */
        __asm__ volatile("int $0x80" : "+a"(result) : : "memory");
        _exit(result == getpid() ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child) return 1;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
}
