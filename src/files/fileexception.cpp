// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/fileexception.h"

#include <QCoreApplication>

#include <new>

CFileException::CFileException(QString reason)
    : m_reason(std::move(reason))
    , m_what(m_reason.toUtf8())
{
}

const char *CFileException::what() const noexcept
{
    return m_what.constData();
}

bool CFileException::Guard(QString *error, const std::function<bool()> &body)
{
    try {
        return body();
    } catch (const CFileException &e) {
        if (error)
            *error = e.Reason();
    } catch (const std::bad_alloc &) {
        if (error)
            *error = QCoreApplication::translate("CFileException", "Out of memory.");
    }
    return false;
}
