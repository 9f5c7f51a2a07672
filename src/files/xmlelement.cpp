// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/xmlelement.h"

#include "files/fileexception.h"
#include "files/regularfile.h"
#include "files/safefilewriter.h"

#include <QCoreApplication>

#include <climits>

namespace {

QString TooManyText()
{
    return CXmlElement::tr("The file has more than %1 elements and attributes; no figure has that many.")
        .arg(CXmlElement::MaxElements);
}

bool SameName(const QByteArray &a, const QByteArray &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Whitespace as the C runtime's atoi skips it.
bool IsCSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

// ---------------------------------------------------------------- tree

CXmlElement &CXmlElement::AddChild(const QByteArray &name)
{
    Children.emplace_back();
    Children.back().Name = name;
    return Children.back();
}

CXmlElement *CXmlElement::FindChild(const QByteArray &name)
{
    for (CXmlElement &child : Children)
        if (SameName(child.Name, name))
            return &child;
    return nullptr;
}

const CXmlElement *CXmlElement::FindChild(const QByteArray &name) const
{
    return const_cast<CXmlElement *>(this)->FindChild(name);
}

CXmlElement &CXmlElement::GetChild(const QByteArray &name)
{
    CXmlElement *child = FindChild(name);
    if (!child)
        throw CFileException(CXmlElement::tr("The element %1 is missing.").arg(QString::fromLatin1(name)));
    return *child;
}

const CXmlElement &CXmlElement::GetChild(const QByteArray &name) const
{
    return const_cast<CXmlElement *>(this)->GetChild(name);
}

void CXmlElement::SplitNameValue(const QByteArray &entry, bool unquote, QByteArray *name, QByteArray *value)
{
    const qsizetype eq = entry.indexOf('=');
    QByteArray v = eq < 0 ? entry : entry.mid(eq + 1);
    if (name)
        *name = eq < 0 ? QByteArray() : entry.left(eq);
    if (unquote && v.size() > 1 && v.startsWith('"') && v.endsWith('"'))
        v = v.mid(1, v.size() - 2);
    if (value)
        *value = v;
}

QByteArray CXmlElement::GetAttribute(const QByteArray &name, const QByteArray &defaultValue) const
{
    QByteArray entryName;
    QByteArray value;
    for (const QByteArray &entry : Attributes) {
        SplitNameValue(entry, true, &entryName, &value);
        if (SameName(entryName, name))
            return value.isEmpty() ? defaultValue : value;
    }
    return defaultValue;
}

void CXmlElement::SetAttribute(const QByteArray &name, const QByteArray &value)
{
    if (value.isEmpty())
        return;
    const QByteArray entry = name + "=\"" + value + '"';
    QByteArray entryName;
    for (QByteArray &existing : Attributes) {
        SplitNameValue(existing, false, &entryName, nullptr);
        if (SameName(entryName, name)) {
            existing = entry;
            return;
        }
    }
    Attributes.append(entry);
}

qint32 CXmlElement::GetAttributeInt(const QByteArray &name, qint32 defaultValue) const
{
    const QByteArray value = GetAttribute(name, QByteArray());
    return value.isEmpty() ? defaultValue : TextToInt(value);
}

void CXmlElement::SetAttributeInt(const QByteArray &name, qint32 value)
{
    SetAttribute(name, IntToText(value));
}

QByteArray CXmlElement::IntToText(qint32 value)
{
    return QByteArray::number(value);
}

qint32 CXmlElement::TextToInt(const QByteArray &text)
{
    const char *p = text.constData();
    const char *end = p + text.size();
    while (p < end && IsCSpace(*p))
        ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    qint64 value = 0;
    for (; p < end && *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > qint64(INT_MAX) + 1)
            value = qint64(INT_MAX) + 1; // saturate, keep scanning harmlessly
    }
    if (negative)
        value = -value;
    return qint32(qBound(qint64(INT_MIN), value, qint64(INT_MAX)));
}

// ---------------------------------------------------------------- writer

QByteArray CXmlElement::GetXmlText(bool newLines) const
{
    QByteArray out;
    AppendXmlText(out, newLines);
    return out;
}

void CXmlElement::AppendXmlText(QByteArray &out, bool newLines) const
{
    out += '<';
    out += Name;
    for (const QByteArray &entry : Attributes) {
        out += ' ';
        out += entry;
    }
    if (Text.isEmpty() && Children.empty()) {
        out += "/>\r\n";
        return;
    }
    out += '>';
    if (newLines)
        out += "\r\n";
    if (!Text.isEmpty()) {
        out += Text;
        if (newLines)
            out += "\r\n";
    }
    for (const CXmlElement &child : Children)
        child.AppendXmlText(out, newLines);
    out += "</";
    out += Name;
    out += '>';
    if (newLines)
        out += "\r\n";
}

bool CXmlElement::SaveToFile(const QString &path, QString *error) const
{
    return CFileException::Guard(error, [&] {
        const QByteArray text = GetXmlText(true);
        CSafeFileWriter writer(path);
        writer.Write(text.constData(), text.size());
        writer.Commit();
        return true;
    });
}

// ---------------------------------------------------------------- reader

bool CXmlElement::IsSpace(char c)
{
    return c == '\0' || c == '\x08' || c == '\n' || c == '\r' || c == '\x1B' || c == ' ';
}

void CXmlElement::SkipSpaceAndComments(const QByteArray &text, int &position)
{
    const int length = int(text.size());
    if (position < 0 || position >= length)
        return;
    const char *data = text.constData();
    for (;;) {
        while (position < length && IsSpace(data[position]))
            ++position;
        if (position >= length) {
            position = -1;
            return;
        }
        if (position < length - 3 && qstrncmp(data + position, "<!--", 4) == 0) {
            // Searched from the comment's own start, so "<!-->" is a whole comment.
            const qsizetype close = text.indexOf("-->", position);
            if (close < 0) {
                position = -1;
                return;
            }
            position = int(close) + 3;
            if (position >= length) {
                position = -1;
                return;
            }
            continue;
        }
        return;
    }
}

QByteArray CXmlElement::ReadTag(const QByteArray &text, int &position)
{
    const int length = int(text.size());
    if (position < 0 || position >= length || text.at(position) != '<')
        return QByteArray();
    const char *data = text.constData();
    bool quoted = false;
    for (int i = position; i < length; ++i) {
        const char c = data[i];
        if (c == '"')
            quoted = !quoted;
        else if (c == '>' && !quoted) {
            const QByteArray tag = text.mid(position, i + 1 - position);
            position = i + 1;
            return tag;
        }
    }
    position = length;
    return QByteArray();
}

bool CXmlElement::SplitTag(const QByteArray &tag, QList<QByteArray> &tokens, int *items)
{
    tokens.clear();
    QByteArray current;
    // Attributes count toward the reader's limit as they are taken, so one tag of
    // millions of tiny attributes is refused before its list grows large.
    auto take = [&] {
        if (items && !tokens.isEmpty() && ++*items > MaxElements)
            throw CFileException(TooManyText());
        tokens.append(current);
        current.clear();
    };
    bool quoted = false;
    for (qsizetype i = 1; i + 1 < tag.size(); ++i) {
        const char c = tag.at(i);
        if (!quoted && IsSpace(c)) {
            if (!current.isEmpty())
                take();
            continue;
        }
        current += c;
        if (c == '"')
            quoted = !quoted;
    }
    if (!current.isEmpty())
        take();
    return !quoted;
}

QByteArray CXmlElement::ReadClosingTag(const QByteArray &text, int &position)
{
    int copy = position;
    const QByteArray tag = ReadTag(text, copy);
    if (tag.size() > 2 && tag.at(1) == '/') {
        position = copy;
        return tag;
    }
    return QByteArray();
}

bool CXmlElement::Parse(const QByteArray &text, int &position)
{
    int elements = 0;
    return ParseAt(text, position, 1, elements);
}

bool CXmlElement::ParseAt(const QByteArray &text, int &position, int depth, int &elements)
{
    // Deeper nesting than any figure needs is refused before it can exhaust the stack.
    if (depth > MaxDepth)
        return false;
    // So are more elements than any figure has, before the tree takes much memory.
    if (++elements > MaxElements)
        throw CFileException(TooManyText());
    SkipSpaceAndComments(text, position);
    const QByteArray tag = ReadTag(text, position);
    if (tag.isEmpty())
        return false;
    if (!SplitTag(tag, Attributes, &elements) || Attributes.isEmpty())
        return false;
    Name = Attributes.takeFirst().toUpper();

    // Empty-element forms: <a x="1" />, <a x="1"/>, <a/>.
    if (!Attributes.isEmpty()) {
        QByteArray &last = Attributes.last();
        if (last == "/") {
            Attributes.removeLast();
            return true;
        }
        if (last.endsWith('/')) {
            last.chop(1);
            return true;
        }
    } else if (Name.endsWith('/')) {
        Name.chop(1);
        return true;
    }

    const QByteArray endTag = "</" + Name + '>';
    const int length = int(text.size());
    SkipSpaceAndComments(text, position);
    if (position < 0 || position >= length)
        return false;
    for (;;) {
        if (text.at(position) == '<') {
            const QByteArray closing = ReadClosingTag(text, position);
            if (closing.isEmpty()) {
                // A child's start tag; text before a child is not allowed.
                if (!Text.isEmpty())
                    return false;
                Children.emplace_back();
                if (!Children.back().ParseAt(text, position, depth + 1, elements))
                    return false;
            } else if (SameName(closing, endTag)) {
                return true;
            }
            // Any other end tag has been consumed and is ignored.
        } else {
            const qsizetype next = text.indexOf('<', position);
            if (next < 0) {
                Text = text.mid(position);
                return false;
            }
            // The last text segment wins; line ends at its end are dropped.
            Text = text.mid(position, next - position);
            while (Text.endsWith('\r') || Text.endsWith('\n'))
                Text.chop(1);
            position = int(next);
        }
        SkipSpaceAndComments(text, position);
        if (position < 0 || position >= length)
            return false;
    }
}

bool CXmlElement::ParseDocument(const QByteArray &data)
{
    const qsizetype zero = data.indexOf('\0');
    const QByteArray text = zero < 0 ? data : data.left(zero);
    if (text.size() > INT_MAX)
        return false;
    int position = 0;
    return Parse(text, position);
}

bool CXmlElement::LoadFromFile(const QString &path, QString *error)
{
    return CFileException::Guard(error, [&] {
        // Opened once, without blocking, and read from the descriptor whose type was
        // checked: a pipe put in the file's place can neither hang nor fool the reader.
        CRegularFile file;
        QByteArray data;
        if (!file.OpenRead(path) || !file.ReadAll(&data, MaxFileSize))
            throw CFileException(file.ErrorString());
        file.Close();
        if (!ParseDocument(data))
            throw CFileException(CXmlElement::tr("%1 is not a well-formed figure file.").arg(path));
        return true;
    });
}
