#pragma once

#include "core/document/projectstate.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QHash>
#include <QString>
#include <QtGlobal>

// The project file (.brisklane, described in docs/project-file.md): the whole of a ProjectState in
// an SQLite database, so that the records made from a loaded state are byte for byte the records
// the saved one made. Pictures with an original are stored as their file's bytes, once per content,
// and decoded again on load; other pictures as their pixels.
//
// An object remembers which pictures it has stored (by identity), so that saving the same state
// again, or a state with one change, hashes and writes only what is new. One object belongs to one
// thread at a time; objects on different threads may save and load at the same time (each call
// opens its own connection).
class ProjectFile
{
    Q_DECLARE_TR_FUNCTIONS(ProjectFile)

public:
    static constexpr int SchemaVersion = 1;
    // The editor's limit on the number of OSD items.
    static constexpr int MaxEntries = 50;
    static QString suffix() { return QStringLiteral("brisklane"); }

    // Why a file was not saved or loaded: the file, the entry it is about (its number, 0 for the
    // file as a whole) and the reason.
    struct Error
    {
        QString fileName;
        int entryNumber = 0;
        QString reason;

        bool isError() const { return !reason.isEmpty(); }
        // "FILE: OSD3: reason" (the entry only when there is one).
        QString message() const;
    };

    // What the last save wrote besides the rows of the entries.
    struct SaveStats
    {
        // True when the file was made anew (and renamed over any earlier one) rather than updated.
        bool rewritten = false;
        int entriesWritten = 0;
        int blobsWritten = 0;
        qint64 blobBytesWritten = 0;
    };

    ProjectFile();
    ~ProjectFile();
    ProjectFile(const ProjectFile &) = delete;
    ProjectFile &operator=(const ProjectFile &) = delete;

    // Saves state into fileName in one transaction: a project file of this version there is
    // updated in place (only what changed is written); anything else is replaced by a new file made
    // beside it. A pipe, a device, a folder or a symbolic link there is refused, as is a state
    // beyond the limits.
    bool save(const QString &fileName, const ProjectState &state, Error *error);
    // Loads a complete state or nothing; the ids are the saved ones. The pictures of the loaded
    // state are remembered, so saving them again writes nothing for them.
    bool load(const QString &fileName, ProjectState *state, Error *error);

    const SaveStats &lastSave() const { return m_lastSave; }

    // True when the file starts as an SQLite database does (a project file or a damaged one).
    static bool looksLikeProject(const QString &fileName);

private:
    struct Known
    {
        // Held, so that the bytes behind the identity cannot go away and come back as others.
        QByteArray bytes;
        QByteArray hash;
    };

    // The content hash of a blob to store, from the cache when it is the same bytes as before.
    QByteArray hashOf(const QByteArray &bytes);
    void remember(const QByteArray &bytes, const QByteArray &hash);
    // The stored form of a picture without an original, and its hash, from the cache when the
    // picture is the same.
    QByteArray pixelsHashOf(const QImage &image, QByteArray *encoded);

    class Writer;
    class Reader;

    QHash<const char *, Known> m_known;
    QHash<qint64, QByteArray> m_knownPixels;
    SaveStats m_lastSave;
};
