// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/settingsstore.h"

#include <QSettings>
#include <QtEndian>

#include <algorithm>

namespace {

const char *const SettingsOrganisation = "Brellow";
const char *const SettingsApplication = "Tarvex";
const char *const SettingsGroup = "Settings";

} // namespace

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
    options.BkColor = ColorRef(readInt("BkColor", CFigure::DefaultBkColor));
    options.Color1 = ColorRef(readInt("Color1", CFigure::DefaultColor1));
    options.Color2 = ColorRef(readInt("Color2", CFigure::DefaultColor2));
    options.Color3 = ColorRef(readInt("Color3", CFigure::DefaultColor3));
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
