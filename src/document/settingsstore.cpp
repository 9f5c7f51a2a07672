// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/settingsstore.h"

#include "files/regularfile.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

#include <algorithm>
#include <memory>

namespace {

const char *const SettingsOrganisation = "Brellow";
const char *const SettingsApplication = "Tarvex";
const char *const SettingsGroup = "Settings";

// The files QSettings reads for the program: its own and the organisation's, in the
// user's folder first, then in the system's.
QStringList SettingsFiles()
{
    QStringList files;
    for (const QString &folder : QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation)) {
        const QDir dir(folder);
        files << dir.filePath(
            QStringLiteral("%1/%2.conf").arg(QLatin1String(SettingsOrganisation), QLatin1String(SettingsApplication)))
              << dir.filePath(QStringLiteral("%1.conf").arg(QLatin1String(SettingsOrganisation)));
    }
    return files;
}

} // namespace

QString CSettingsStore::CheckFiles()
{
    static const QString problem = [] {
        for (const QString &path : SettingsFiles()) {
            CRegularFile file;
            if (file.OpenRead(path) || file.LastError() != CRegularFile::Error::Special)
                continue; // a regular file, or none: QSettings reads it as always
            // Every store of this run goes to a folder of its own, which nobody else
            // writes and which is removed at the end.
            static std::unique_ptr<QTemporaryDir> privateStore = std::make_unique<QTemporaryDir>();
            for (const QSettings::Scope scope : {QSettings::UserScope, QSettings::SystemScope}) {
                QSettings::setPath(QSettings::NativeFormat, scope, privateStore->path());
                QSettings::setPath(QSettings::IniFormat, scope, privateStore->path());
            }
            const QString kind = CRegularFile::SpecialKind(path);
            return CSettingsStore::tr("The settings file %1 is %2, not a regular file. Tarvex starts with the "
                                      "default settings and does not keep changes to them.")
                .arg(path, kind.isEmpty() ? CRegularFile::tr("a special file") : kind);
        }
        return QString();
    }();
    return problem;
}

COptions CSettingsStore::Load()
{
    COptions options;
    QSettings store(SettingsOrganisation, SettingsApplication);
    store.beginGroup(SettingsGroup);
    auto readInt = [&store](const char *key, qint64 fallback) {
        bool ok = false;
        const qint64 v = store.value(key, fallback).toLongLong(&ok);
        return ok ? v : fallback;
    };
    options.BkColor = StoredColorRef(readInt("BkColor", CFigure::DefaultBkColor));
    options.Color1 = StoredColorRef(readInt("Color1", CFigure::DefaultColor1));
    options.Color2 = StoredColorRef(readInt("Color2", CFigure::DefaultColor2));
    options.Color3 = StoredColorRef(readInt("Color3", CFigure::DefaultColor3));
    const QByteArray custom = store.value("CustomColors").toByteArray();
    if (custom.size() == 64) {
        for (int i = 0; i < 16; ++i)
            options.CustomColors[size_t(i)] = qFromLittleEndian<quint32>(custom.constData() + 4 * i);
    }
    options.CubeSize = int(
        std::clamp<qint64>(readInt("CubeSize", CFigure::DefaultCubeSize), CFigure::MinCubeSize, CFigure::MaxCubeSize));
    options.Width = int(
        std::clamp<qint64>(readInt("Width", CFigure::DefaultWidth), CFigure::MinGridWidth, CFigure::MaxGridWidth));
    options.Height = int(
        std::clamp<qint64>(readInt("Height", CFigure::DefaultHeight), CFigure::MinGridHeight, CFigure::MaxGridHeight));
    return options;
}

void CSettingsStore::Save(const COptions &options)
{
    QSettings store(SettingsOrganisation, SettingsApplication);
    store.beginGroup(SettingsGroup);
    store.setValue("BkColor", qint64(options.BkColor));
    store.setValue("Color1", qint64(options.Color1));
    store.setValue("Color2", qint64(options.Color2));
    store.setValue("Color3", qint64(options.Color3));
    store.setValue("CubeSize", options.CubeSize);
    store.setValue("Width", options.Width);
    store.setValue("Height", options.Height);
    QByteArray custom(64, '\0');
    for (int i = 0; i < 16; ++i)
        qToLittleEndian<quint32>(options.CustomColors[size_t(i)], custom.data() + 4 * i);
    store.setValue("CustomColors", custom);
}
