// Starts a program the way a scheduler would, from a small process, and
// reports what it used: the benchmark's own interpreter is large, and a
// program forked from it starts with that interpreter's resident size as
// its peak.
//
//   peaklauncher PROGRAM [ARG...]
//
// The program's standard output goes to /dev/null, its standard error is
// this one's. On standard output: the program's process id on a line as
// soon as it runs, and when it has ended one line
//   <wait status> <user seconds> <system seconds> <peak resident KiB>
// Exit 0 once that line is written, 1 when the program could not be
// started.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: peaklauncher PROGRAM [ARG...]\n");
        return 1;
    }
    const pid_t child = fork();
    if (child < 0) {
        std::perror("peaklauncher: fork");
        return 1;
    }
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        if (null < 0 || dup2(null, STDOUT_FILENO) < 0) _exit(127);
        execv(argv[1], argv + 1);
        std::fprintf(stderr, "peaklauncher: %s: %s\n", argv[1], std::strerror(errno));
        _exit(127);
    }
    std::printf("%d\n", static_cast<int>(child));
    std::fflush(stdout);
    int status = 0;
    rusage usage{};
    while (wait4(child, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            std::perror("peaklauncher: wait4");
            return 1;
        }
    }
    std::printf("%d %ld.%06ld %ld.%06ld %ld\n", status, static_cast<long>(usage.ru_utime.tv_sec),
                static_cast<long>(usage.ru_utime.tv_usec), static_cast<long>(usage.ru_stime.tv_sec),
                static_cast<long>(usage.ru_stime.tv_usec), usage.ru_maxrss);
    return 0;
}
