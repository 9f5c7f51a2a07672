// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/filesizelimit.h"

#include <csignal>

CFileSizeLimit::CFileSizeLimit(qint64 bytes)
{
    if (getrlimit(RLIMIT_FSIZE, &m_previous) != 0)
        return;
    rlimit limit = m_previous;
    limit.rlim_cur = rlim_t(bytes);
    if (m_previous.rlim_max != RLIM_INFINITY && limit.rlim_cur > m_previous.rlim_max)
        return;
    m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    m_active = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    if (!m_active)
        std::signal(SIGXFSZ, m_previousHandler);
}

CFileSizeLimit::~CFileSizeLimit()
{
    if (!m_active)
        return;
    setrlimit(RLIMIT_FSIZE, &m_previous);
    std::signal(SIGXFSZ, m_previousHandler);
}
