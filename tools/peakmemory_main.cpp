// vorn-peak-memory PROGRAM [ARGUMENTS...]: runs the program and tells its
// peak resident memory. A child's peak counts the memory of the process it
// was forked from, so a large test or benchmark cannot measure the tool
// itself; this small process forks it instead.
#include <cerrno>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: vorn-peak-memory PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    const pid_t child = ::fork();
    if (child < 0) {
        std::perror("vorn-peak-memory: fork");
        return 127;
    }
    if (child == 0) {
        ::execv(argv[1], argv + 1);
        std::perror("vorn-peak-memory: exec");
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    while (::wait4(child, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            std::perror("vorn-peak-memory: wait");
            return 127;
        }
    }
    // Last on standard error, after all the program wrote.
    std::fprintf(stderr, "peak resident memory: %ld KB\n", usage.ru_maxrss);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
