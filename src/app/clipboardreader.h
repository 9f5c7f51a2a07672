// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Reads one type of the system clipboard's offer, refusing an offer larger than a
// limit. Qt's clipboard reads another program's offer whole before anyone sees its
// size, so under X11 the offer of another program is fetched from the X server on a
// connection of its own: its size is asked first and no more than the limit is ever
// read. When this program owns the clipboard, or on other platforms, Qt's clipboard
// is asked and its answer measured.
class CClipboardReader
{
public:
    enum class Result {
        Read,     // out holds the offer
        Missing,  // no offer of that type (or its owner did not answer in time)
        TooLarge, // offered, but larger than maxBytes: out is left empty
    };
    // mimeType: the type as Qt names it; types Qt maps to other X11 names (text,
    // images) are not meant for this.
    static Result Read(const QString &mimeType, qsizetype maxBytes, QByteArray &out);
    // How long another program may take to hand over its whole offer, as long as Qt's
    // own clipboard waits for an answer.
    static constexpr int TimeoutMs = 5000;
};
