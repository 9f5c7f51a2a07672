#include "files/fileexception.h"

CFileException::CFileException(QString reason)
    : m_reason(std::move(reason))
    , m_what(m_reason.toUtf8())
{
}

const char *CFileException::what() const noexcept
{
    return m_what.constData();
}
