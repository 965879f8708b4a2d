#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <random>
#include <string>

// Runs the work in a child process, which then ends without a word, as if it were killed.
inline pid_t Spawn(const std::function<void()>& work) {
    const pid_t child = ::fork();
    if (child == 0) {
        work();
        ::_exit(0);
    }
    return child;
}

// The exit status of a child process, -1 when it did not exit.
inline int ExitOf(pid_t child) {
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Two writers into one place, each a child process that `start(first, stop)` forks; with `stop`
// it stops itself half-way through putting its files in place. A stopped writer keeps the other
// waiting until it goes on; then 30 pairs start 0 to 50 ms apart. Every writer ends with 0;
// `check` looks at what each pair left, `prepare` readies the place before it.
inline void RaceTwoWriters(const std::function<pid_t(bool first, bool stop)>& start,
                           const std::function<void()>& prepare,
                           const std::function<void(const std::string& trial)>& check) {
    prepare();
    const pid_t stopped = start(true, true);
    int status = 0;
    ASSERT_EQ(::waitpid(stopped, &status, WUNTRACED), stopped);
    ASSERT_TRUE(WIFSTOPPED(status));
    const pid_t waiting = start(false, false);
    ::usleep(300000);
    EXPECT_EQ(::waitpid(waiting, &status, WNOHANG), 0);  // waits for the folder
    ::kill(stopped, SIGCONT);
    EXPECT_EQ(ExitOf(stopped), 0);
    EXPECT_EQ(ExitOf(waiting), 0);
    check("stopped");
    std::mt19937 random(18);
    for (int trial = 0; trial < 30; ++trial) {
        prepare();
        const pid_t a = start(true, false);
        ::usleep(static_cast<useconds_t>(random() % 50000));
        const pid_t b = start(false, false);
        EXPECT_EQ(ExitOf(a), 0);
        EXPECT_EQ(ExitOf(b), 0);
        check(std::to_string(trial));
    }
}
