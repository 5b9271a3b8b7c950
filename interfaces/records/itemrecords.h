#pragma once

#include "core/document/entryoutput.h"
#include "core/document/projectstate.h"

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>

class SourceData;
class VideoControlOSD;

// The records of OSD items, built the one way both the editor and the command-line tool build them,
// so that the same inputs give the same file. Every record holds the whole (keyed) picture; a cut
// window travels as a rectangle beside it and the device cuts. New records and sources come with
// no holder (see SharedRecord).
class ItemRecords
{
public:
    // Largest text picture the text window renders while the main window has its default size:
    // the width is where lines are broken, the height where the picture is cut off.
    static QSize defaultTextMaxSize() { return QSize(608, 498); }

    // A new picture item; picture is already in its raster form (RasterForm).
    static VideoControlOSD *pictureRecord(const QImage &picture);
    // A new text item from the picture the text renderer made; the record's colour key is the
    // inverse of the text colour, the background of the picture.
    static VideoControlOSD *textRecord(const QImage &rendered, const QColor &textColor);
    static SourceData *textSource(const QColor &textColor, const QFont &font, const QString &text);

    // A picture item's record after a cut: the whole keyed picture, the window inside it and the
    // cut switch; the fill colour and its switch are taken over from previous (may be null).
    static VideoControlOSD *cutRecord(const QImage &whole, const QRect &window, bool cutOn,
                                      const VideoControlOSD *previous);

    // The record values of a keyed picture. osdData is PublicBase::imageToOsdData(keyed).
    static void writeKeyed(VideoControlOSD *record, const QImage &keyed, const QByteArray &osdData,
                           int completionWidth, const QColor &fill, bool fillOn);

    // The cut switch as the record keeps it: on only while the view is on and a window exists.
    static void writeCutSwitch(VideoControlOSD *record, bool viewOn, bool hasCut);

    // A record's fields besides its pixel data, and back.
    static EntryOutput::Record fieldsOf(const VideoControlOSD &record);
    static void writeFields(VideoControlOSD *record, const EntryOutput::Record &fields);

    // The record an entry's item holds: shown is the picture the item shows (its source keyed with
    // the output's key, or the source), osdData that picture's OSD pixel data. Null when the output
    // has no record.
    static VideoControlOSD *entryRecord(const EntryOutput &output, const QImage &shown,
                                        const QByteArray &osdData);
    // The same for a saved entry, keyed here when its output is, at its entry's position; what the
    // editor writes for it.
    static VideoControlOSD *entryRecord(const ProjectState::Entry &saved);
    // The text a text entry's record is written with; null for any other entry.
    static SourceData *entrySource(const OsdEntry &entry);
    // What an OSD file of the list holds: in tab order, for every entry with a record, its record
    // (the pixel data without a picture handle) and its text source. New, with no holder.
    static void listRecords(const ProjectState &list, QList<VideoControlOSD *> *records,
                            QList<SourceData *> *sources);

    // The record's location for an item at scenePos: whole pixels, truncated toward zero.
    static QPoint location(const QPointF &scenePos);
};
