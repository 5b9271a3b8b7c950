#pragma once

#include "cli/itemspec.h"

#include <QByteArray>
#include <QImage>
#include <QString>

class SourceData;
class VideoControlOSD;

// Makes the record (and, for a text item, the text source) of one item exactly as the editor makes
// it for the same inputs: the picture in its raster form, keyed from the source picture, the cut
// window beside the whole keyed picture, the location truncated. Picture items may be built on any
// thread; text items on the GUI thread (fonts).
class ItemBuilder
{
public:
    struct Result
    {
        // Each held once by this result (see SharedRecord); release() lets go.
        VideoControlOSD *record = nullptr;
        SourceData *source = nullptr;
        // Set when the item is refused.
        QString error;
        // With keepPicture: a text's rendering (what keying starts from) and a picture file's bytes
        // as read (a project stores those and decodes the picture from them again).
        QImage picture;
        QByteArray original;

        void release();
    };

    // keepPicture: the result also keeps the picture and the file's bytes, for a project.
    static void build(const ItemSpec &spec, Result *result, bool keepPicture = false);

    // The family the text window would render with for the wanted one: the installed family of
    // that name, or the one Qt substitutes; *substituted says which.
    static QString renderFamily(const QString &wanted, bool *substituted);
    // The text window's default family.
    static QString defaultFamily() { return QStringLiteral("CourierNew"); }
};
