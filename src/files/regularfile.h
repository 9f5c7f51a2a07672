// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QByteArray>
#include <QString>

// Figures are read from and written to regular files only. Opening a pipe for reading
// would wait for a writer for good, and replacing a pipe, a device node or a socket with
// a new file (as an atomic save renames over its target) would destroy something that
// is not a figure.
//
// Reading opens the path once, without blocking, and checks the type on the open
// descriptor, then reads from that same descriptor: a path swapped for a pipe between
// a check and the open can neither hang the reader nor be read. The static checks by
// name remain for messages and for writers, which never open the target itself.
class CRegularFile
{
    Q_DECLARE_TR_FUNCTIONS(CRegularFile)

public:
    enum class Links { Follow, Refuse };
    enum class Error { None, Name, Open, Special, TooLarge, Read, Write };

    CRegularFile() = default;
    ~CRegularFile();
    CRegularFile(const CRegularFile &) = delete;
    CRegularFile &operator=(const CRegularFile &) = delete;

    // Opens path for reading. With Links::Refuse a symbolic link is not followed and
    // counts as a special file. A Qt resource path (":/...") is read from the program.
    bool OpenRead(const QString &path, Links links = Links::Follow);
    // Opens path for writing in place when it already is a regular file; never creates
    // one, never follows a link. False (Error::Open or Error::Special) otherwise.
    bool OpenExistingForWriting(const QString &path);
    // Reads the rest of the file; more than maxSize bytes is Error::TooLarge and
    // nothing is returned.
    bool ReadAll(QByteArray *data, qint64 maxSize);
    // Makes the open file hold exactly data. What goes past the old end is written
    // first, so a disk that cannot hold the new contents leaves the old ones as they
    // were; then the start is written over and the file cut to the new size.
    bool ReplaceContents(const QByteArray &data);
    void Close();

    // The open file's modification time, in nanoseconds since the epoch.
    qint64 ModifiedNs() const { return m_modifiedNs; }

    Error LastError() const { return m_error; }
    // A reason a user can read, naming the path.
    QString ErrorString() const { return m_errorString; }
    // The same without the path where the system gave the reason ("No such file or
    // directory"); ErrorString otherwise.
    QString Detail() const { return m_detail; }

    // Reads a whole regular file; error (when given) holds the reason on failure.
    static bool ReadFile(const QString &path, qint64 maxSize, QByteArray *data, QString *error = nullptr,
                         Links links = Links::Follow);

    // Empty when path names a regular file (also through symbolic links) or nothing at
    // all; otherwise what it is, for a message: "a pipe", "a device", "a folder", ...
    static QString SpecialKind(const QString &path);
    // Empty when path may be read; otherwise a reason a user can read.
    static QString ReadProblem(const QString &path);
    // Empty when a file may be written at path; otherwise a reason a user can read.
    static QString WriteProblem(const QString &path);
    // Empty when path can name a file exactly; otherwise a reason a user can read. A
    // name that was not valid UTF-8 reaches the program with its bad bytes replaced
    // (U+FFFD), and using it would read or write another file than the one named.
    static QString NameProblem(const QString &path);
    // The message of NameProblem, for a name already known to be bad.
    static QString BadNameText(const QString &path);
    // True when a name given as bytes (a command-line argument) survives the trip to a
    // QString and back unchanged, so the file it names is the file that gets used.
    static bool IsFaithfulName(const QByteArray &localName);

private:
    bool Open(const QString &path, int flags, bool refuseLinks);
    bool Fail(Error error, const QString &text, const QString &detail = QString());

    int m_fd = -1;
    bool m_isResource = false;
    QByteArray m_resource;
    QString m_path;
    qint64 m_modifiedNs = 0;
    Error m_error = Error::None;
    QString m_errorString;
    QString m_detail;
};
