#pragma once

#include "cli/itemspec.h"

#include <QJsonObject>
#include <QList>
#include <QString>

// A pack manifest: a JSON array of items (see docs/cli-manifest.md). Paths in it are relative to
// the manifest's directory.
class Manifest
{
public:
    // Text sizes the text window's size field accepts.
    static constexpr int MinPointSize = 24;
    static constexpr int MaxPointSize = 200;

    // Appends the manifest's items to *items, numbered on from firstIndex. false with *error
    // (naming the item, not the manifest file, which the caller adds) on the first bad entry.
    static bool read(const QString &fileName, int firstIndex, QList<ItemSpec> *items, QString *error);

    // One entry; baseDir resolves its picture path.
    static bool parseItem(const QJsonObject &object, const QString &baseDir, ItemSpec *item, QString *error);

    // "#rrggbb" exactly.
    static bool parseColor(const QJsonValue &value, QColor *color);

    // The text window renders a chosen pure black as (2, 2, 2).
    static QColor textColorAsRendered(const QColor &chosen);
};
