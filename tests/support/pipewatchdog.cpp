// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/pipewatchdog.h"

#include <QFile>

#include <chrono>
#include <fcntl.h>
#include <unistd.h>

CPipeWatchdog::CPipeWatchdog(const QString &pipe, int limitMs)
{
    const QByteArray name = QFile::encodeName(pipe);
    m_thread = std::thread([this, name, limitMs] {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
        while (!m_done && std::chrono::steady_clock::now() < limit)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        while (!m_done) {
            m_hung = true;
            const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
}

CPipeWatchdog::~CPipeWatchdog()
{
    m_done = true;
    m_thread.join();
}
