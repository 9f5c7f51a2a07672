// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <atomic>
#include <thread>

// Frees a reader stuck on a pipe: past the limit it opens the pipe for writing again
// and again until it is destroyed, so a read that waits for a writer (a file opened
// without O_NONBLOCK) returns and the test fails at once instead of hanging until the
// test runner's timeout. Hung() tells whether it had to.
class CPipeWatchdog
{
public:
    explicit CPipeWatchdog(const QString &pipe, int limitMs = 5000);
    ~CPipeWatchdog();
    CPipeWatchdog(const CPipeWatchdog &) = delete;
    CPipeWatchdog &operator=(const CPipeWatchdog &) = delete;

    bool Hung() const { return m_hung; }

private:
    std::atomic<bool> m_done{false};
    std::atomic<bool> m_hung{false};
    std::thread m_thread;
};
