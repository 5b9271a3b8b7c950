#pragma once

#include "core/document/keyrecipe.h"

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

// One entry of the OSD list, shown as one tab. The id stays the entry's for the whole session and
// is never given to another; the number is the operator's name for it ("OSD3"), the lowest one
// free when the entry was made.
struct OsdEntry
{
    enum class Kind
    {
        Empty,
        Picture,
        Text
    };

    // A text entry's text as the text window took it, so it can be edited again.
    struct Text
    {
        QString content;
        QFont font;
        QColor colour;

        bool operator==(const Text &other) const
        {
            return content == other.content && font == other.font && colour == other.colour;
        }
        bool operator!=(const Text &other) const { return !(*this == other); }
    };

    int id = 0;
    int number = 0;
    Kind kind = Kind::Empty;
    // What keying starts from: the picture as loaded, the rendered text, or for an imported record
    // the pixels it held. Shared with the views, never written.
    QImage source;
    // False for an imported record: its pixels may be keyed already, with no original to go back to.
    bool hasOriginal = true;
    // The picture file's bytes as they were read (PNG, JPG or BMP), which the source was decoded
    // from; kept so a project holds the picture as given. Empty for texts and imported records.
    QByteArray original;
    // Empty for pictures.
    Text text;
    KeyRecipe key;
    // Where the item's top-left corner lies on the output screen, in screen pixels.
    QPoint position;
    // The cut window inside the keyed picture; null while the picture has none.
    QRect cut;
    // The cut-view switch: while it is on and there is a cut, the tab and the file show only the cut
    // window.
    bool cutView = false;

    bool hasCut() const { return !cut.isEmpty(); }
    bool showsCut() const { return cutView && hasCut(); }
    QString title() const { return QStringLiteral("OSD") + QString::number(number); }
    bool operator==(const OsdEntry &other) const
    {
        // Pictures compare by identity: a change gives a new picture, never new pixels in the old one.
        return id == other.id && number == other.number && kind == other.kind &&
               source.cacheKey() == other.source.cacheKey() && hasOriginal == other.hasOriginal &&
               original.constData() == other.original.constData() && text == other.text && key == other.key &&
               position == other.position && cut == other.cut && cutView == other.cutView;
    }
};
