// Runs a piece of a test in a forked child, for what must not touch the test process itself:
// a resource limit, or a signal.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>

namespace qla::test {

// The child's exit status, or 128 + the signal that ended it; -1 when it could not be started.
// `body` returns the exit status; gtest assertions inside it do not reach the parent, so it
// reports its findings on stderr.
inline int RunInChild(const std::function<int()>& body) {
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        const int status = body();
        std::fflush(nullptr);
        ::_exit(status);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace qla::test
