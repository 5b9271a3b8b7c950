#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

// The bytes of an INI file that QSettings (IniFormat) reads back as the values given, in the form
// QSettings writes itself. The settings are read through QSettings but written through SafeFile,
// which reports every failed byte; QSettings' own writer cannot say when its last bytes were lost.
// Keys are QSettings keys: "Group/key", or "key" for the [General] section.
class IniFile
{
public:
    using Values = QList<QPair<QString, QVariant>>;
    // Sections in the order their first key comes, keys in the order given.
    static QByteArray encode(const Values &values);
};
