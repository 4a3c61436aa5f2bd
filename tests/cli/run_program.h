#pragma once

// Runs a program of ours as a person's shell would, for the tests of the command-line tools:
// arguments as given (no shell), standard input from a string, both outputs collected.

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace tarvellite::testing {

struct ProgramRun {
    /// The exit status, or -1 when the program could not be started or did not exit normally.
    int status = -1;
    std::string out;
    std::string err;
};

/// Runs `argv` with `input` on its standard input; extra environment entries ("NAME=value")
/// are added to ours, replacing ours of the same name.
inline ProgramRun runProgram(const std::vector<std::string> &argv, const std::string &input = {},
                             const std::vector<std::string> &extraEnvironment = {}) {
    ProgramRun run;
    int in[2], out[2], err[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0)
        return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    std::vector<char *> args;
    for (const std::string &a : argv)
        args.push_back(const_cast<char *>(a.c_str()));
    args.push_back(nullptr);
    std::vector<std::string> envStrings;
    for (char **e = environ; *e; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('=') + 1);
        bool replaced = false;
        for (const std::string &extra : extraEnvironment)
            replaced = replaced || extra.rfind(name, 0) == 0;
        if (!replaced)
            envStrings.push_back(entry);
    }
    envStrings.insert(envStrings.end(), extraEnvironment.begin(), extraEnvironment.end());
    std::vector<char *> env;
    for (std::string &e : envStrings)
        env.push_back(e.data());
    env.push_back(nullptr);
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, args[0], &actions, nullptr, args.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);
    if (spawned != 0) {
        ::close(in[1]);
        ::close(out[0]);
        ::close(err[0]);
        run.err = std::string("cannot start ") + argv[0] + ": " + std::strerror(spawned);
        return run;
    }
    std::signal(SIGPIPE, SIG_IGN);
    std::size_t written = 0;
    int inFd = in[1];
    if (input.empty()) {
        ::close(inFd);
        inFd = -1;
    }
    bool outOpen = true, errOpen = true;
    char buf[65536];
    while (outOpen || errOpen) {
        pollfd fds[3] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}, {inFd, POLLOUT, 0}};
        fds[0].fd = outOpen ? out[0] : -1;
        fds[1].fd = errOpen ? err[0] : -1;
        if (::poll(fds, 3, -1) < 0 && errno != EINTR)
            break;
        for (int i = 0; i < 2; ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            const ssize_t n = ::read(fds[i].fd, buf, sizeof buf);
            if (n > 0) {
                (i == 0 ? run.out : run.err).append(buf, static_cast<std::size_t>(n));
            } else {
                (i == 0 ? outOpen : errOpen) = false;
            }
        }
        if (inFd >= 0 && (fds[2].revents & (POLLOUT | POLLERR | POLLHUP))) {
            const ssize_t n = ::write(inFd, input.data() + written, input.size() - written);
            if (n > 0)
                written += static_cast<std::size_t>(n);
            if (n <= 0 || written == input.size()) {
                ::close(inFd);
                inFd = -1;
            }
        }
    }
    if (inFd >= 0)
        ::close(inFd);
    ::close(out[0]);
    ::close(err[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace tarvellite::testing
