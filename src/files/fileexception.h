// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <exception>
#include <functional>

// The one exception type of the file code: a missing element, an unreadable or
// unwritable file. It carries a reason a user can read. Every file operation catches
// it (together with std::bad_alloc) at file level and turns it into a false result.
class CFileException : public std::exception
{
public:
    explicit CFileException(QString reason = QString());

    const QString &Reason() const { return m_reason; }

    // Runs body and turns a CFileException or running out of memory into a false
    // result with the reason in error (when given).
    static bool Guard(QString *error, const std::function<bool()> &body);
    const char *what() const noexcept override;

private:
    QString m_reason;
    QByteArray m_what;
};
