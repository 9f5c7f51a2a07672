// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QByteArray>
#include <QList>
#include <QString>
#include <vector>

// One element of the small XML-like tree that figure files are written from and read
// into: a name, the attribute entries as written in the start tag (`Row="3"`), one
// text and the child elements. Strings are byte strings; names compare ignoring case.
// Nothing is escaped and no XML declaration, entity or encoding is understood.
//
// Children are held by value: a reference to a child stays valid only until another
// child is added to the same parent.
class CXmlElement
{
    Q_DECLARE_TR_FUNCTIONS(CXmlElement)

public:
    // Deepest nesting the reader accepts; a figure needs three levels.
    static constexpr int MaxDepth = 256;
    // Largest file the reader takes in (the largest figure file is under 0.5 MiB);
    // it also bounds the memory a hostile file can make the tree take.
    static constexpr qint64 MaxFileSize = 8 * 1024 * 1024;
    // Most elements and attributes together the reader accepts (the largest figure has
    // about 10,020 elements of three attributes): a file of many tiny elements or
    // attributes could otherwise make the tree take hundreds of MB.
    static constexpr int MaxElements = 200000;

    QByteArray Name;
    QList<QByteArray> Attributes;
    QByteArray Text;
    std::vector<CXmlElement> Children;

    // Tree editing and lookup.
    CXmlElement &AddChild(const QByteArray &name);
    CXmlElement *FindChild(const QByteArray &name);
    const CXmlElement *FindChild(const QByteArray &name) const;
    // As FindChild, but a missing child throws CFileException.
    CXmlElement &GetChild(const QByteArray &name);
    const CXmlElement &GetChild(const QByteArray &name) const;
    QByteArray GetAttribute(const QByteArray &name, const QByteArray &defaultValue) const;
    // An empty value is never stored: the call then changes nothing.
    void SetAttribute(const QByteArray &name, const QByteArray &value);
    qint32 GetAttributeInt(const QByteArray &name, qint32 defaultValue) const;
    void SetAttributeInt(const QByteArray &name, qint32 value);

    // Splits an attribute entry at its first '='. Without '=', the name is empty and
    // the value is the whole entry. With unquote, one pair of surrounding double
    // quotes is removed from a value longer than one byte.
    static void SplitNameValue(const QByteArray &entry, bool unquote, QByteArray *name, QByteArray *value);
    // Decimal text of a 32-bit integer, '-' for negative values (like _itoa).
    static QByteArray IntToText(qint32 value);
    // The C atoi rule: leading whitespace, optional sign, digits up to the first
    // non-digit; no digits give 0. Values beyond 32 bits saturate.
    static qint32 TextToInt(const QByteArray &text);

    // Writer: one construct per line when newLines is set, CR LF line ends.
    QByteArray GetXmlText(bool newLines) const;
    // Replaces the file atomically with GetXmlText(true); on failure the previous
    // file is untouched and error (when given) holds the reason.
    bool SaveToFile(const QString &path, QString *error = nullptr) const;

    // Reader. Parse fills this element from the element starting at position (after
    // whitespace and comments) and leaves position just past its end tag. More than
    // MaxElements elements and attributes throw CFileException.
    bool Parse(const QByteArray &text, int &position);
    // Parses the first element of data, which ends at its first zero byte.
    bool ParseDocument(const QByteArray &data);
    bool LoadFromFile(const QString &path, QString *error = nullptr);

    // The reader's whitespace: NUL, backspace, LF, CR, escape and space (not TAB).
    static bool IsSpace(char c);
    // Skips whitespace and <!-- comments -->; position becomes -1 at the end of text.
    static void SkipSpaceAndComments(const QByteArray &text, int &position);
    // The tag at position, '<' to the first '>' outside double quotes, or empty.
    static QByteArray ReadTag(const QByteArray &text, int &position);
    // Splits a tag's inside at whitespace outside quotes; false when a quote is open.
    // With items, each attribute (every entry after the name) adds one to it, and
    // passing MaxElements throws CFileException.
    static bool SplitTag(const QByteArray &tag, QList<QByteArray> &tokens, int *items = nullptr);
    // The end tag at position (consumed), or empty (position unchanged).
    static QByteArray ReadClosingTag(const QByteArray &text, int &position);

private:
    bool ParseAt(const QByteArray &text, int &position, int depth, int &elements);
    void AppendXmlText(QByteArray &out, bool newLines) const;
};
