// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Whole-file reads and writes for tests. ReadFile gives an empty array when the file
// cannot be read.
QByteArray ReadFile(const QString &path);
bool WriteFile(const QString &path, const QByteArray &data);
