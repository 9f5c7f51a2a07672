// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>
#include <sys/resource.h>

// Limits the size of files this process may write (RLIMIT_FSIZE) while it lives:
// a write past the limit fails with EFBIG, as a full disk fails a write, without any
// privileges. SIGXFSZ is ignored meanwhile so the failure reaches the caller.
class CFileSizeLimit
{
public:
    explicit CFileSizeLimit(qint64 bytes);
    ~CFileSizeLimit();

    bool IsActive() const { return m_active; }

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = nullptr;
    bool m_active = false;
};
