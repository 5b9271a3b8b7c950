#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

class QSaveFile;

// Every file the programs write goes through here: into a temporary file beside the target, which
// replaces the target only once every byte, the last buffered ones included, has reached it. The
// earlier file at that path is left as it was by any failure, and no partial file stays behind.
// A target that exists and is not a regular file (a pipe, a device, a socket, a folder) or is a
// symbolic link is refused before anything is written: it is never replaced, nor written through.
// Reasons name no file (the caller adds the name) and carry the system's own words.
class SafeFile
{
    Q_DECLARE_TR_FUNCTIONS(SafeFile)

public:
    // Why nothing may be written at fileName, or an empty string when a file may be made or
    // replaced there.
    static QString targetProblem(const QString &fileName);
    // Why fileName cannot be read as a regular file (missing, a pipe, a device, a folder), or an
    // empty string. Checked before a single byte is read: a pipe would block the reader.
    static QString inputProblem(const QString &fileName);
    // True when anything at all stands under fileName, a dangling symbolic link included.
    static bool nameTaken(const QString &fileName);

    // Checks the target and opens file for writing.
    static bool open(QSaveFile *file, QString *error);
    // Flushes what is still buffered and commits the file; cancels it on any failure. QSaveFile's
    // own commit() flushes too, but only looks at the errors of earlier writes: the error of that
    // last flush would be lost and a short file would replace the target.
    static bool commit(QSaveFile *file, QString *error);
    // Why a write to file failed, in the system's words: a write cut short by a limit leaves the
    // device without a reason, which a second try at what is left then gives.
    static QString writeFailure(QSaveFile *file);
    // The whole of bytes as the file fileName.
    static bool write(const QString &fileName, const QByteArray &bytes, QString *error);
};
