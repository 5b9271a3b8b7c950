#pragma once

#include "interfaces/model/singleton.h"

#include <QCoreApplication>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class SourceData;
class VideoControlOSD;

// The device control: writes the data model's lists into an OSD file (.pic or .logo) and reads
// such files back into the data model. Every operation reports success and, on failure, a reason
// for the operator in errorString() that names the file.
class Control : public Singleton<Control>
{
    Q_DECLARE_TR_FUNCTIONS(Control)

public:
    // Writes the data model's records and text sources to fileName. The write is atomic: an
    // existing file is either replaced whole or left untouched.
    bool savaOSDfile(const QString &fileName);

    // Appends the file's records and sources to the data model's lists, in file order. A file that
    // was prepared with prepareOSDfiles() is taken from memory without reading it again.
    // On failure the data model is left as it was.
    bool loadOSDfile(const QString &fileName);

    // Reads and checks every file without touching the data model, and keeps the results for the
    // following loadOSDfile() calls. false (nothing kept) as soon as one file is bad.
    bool prepareOSDfiles(const QStringList &fileNames);
    void discardPrepared();
    // What the prepared files hold together: a caller can refuse an import before it gives up any
    // work.
    int preparedRecordCount() const;
    int preparedSourceCount() const;

    QString errorString() const { return m_errorString; }

private:
    struct Loaded
    {
        QList<VideoControlOSD *> records;
        QList<SourceData *> sources;
    };

    friend class Singleton<Control>;
    Control();
    ~Control();

    QString m_errorString;
    QHash<QString, Loaded> m_prepared;
};
