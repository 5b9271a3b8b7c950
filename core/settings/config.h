#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

// The editor's settings (the text window's, the output screen, the language), kept in settings.ini in the
// folder the caller names (the editor names the executable's folder). Constructing a Config loads them,
// destroying it saves them back. reconfig() broadcasts reread() to every editor. Every key, with its group
// and its default, is listed once in config.cpp; the defaults are applied when the file is read.
class Config : public QObject
{
    Q_OBJECT
public:
    explicit Config(const QString &folder, QObject *parent = nullptr);
    ~Config() override;

    QString settingsPath;
    QByteArray mainWindowGeometry;
    QByteArray mainWindowState;
    // "zh" or "en"; empty: follow the system locale.
    QString language;
    int maxRecentFiles = 0;
    QStringList recentFiles;
    bool showReadme = false;
    QString fontFamily;
    int fontSize = 0;
    QString fontStyle;
    bool showLineNumber = false;
    bool tabIndents = false;
    bool autoIndent = false;
    bool backUnindent = false;
    bool spaceTabs = false;
    int indentSize = 0;
    int tabSize = 0;
    bool whitespaces = false;
    int maxHistory = 0;
    QStringList findHistory;
    QStringList replaceHistory;
    bool matchCase = false;
    bool regExp = false;
    // The device's output screen that the previews frame, in pixels.
    int screenWidth = 0;
    int screenHeight = 0;
    // How many steps of the OSD list can be undone.
    int undoLimit = 0;
    // How much picture memory, in MiB, the undo history may hold beyond the list itself.
    int undoMemoryMiB = 0;
    // The editor's main window as it was closed: place, size and whether it was maximised. (The
    // text window has mainWindowGeometry and mainWindowState to itself.)
    QByteArray windowGeometry;

    // settings.ini in dir, without a doubled separator.
    static QString settingsPathFor(const QString &dir);

    // False when settings.ini cannot take the values: what changes is lost when this Config goes.
    bool isWritable() const { return fileUsable(true); }
    // Writes the settings into settings.ini now (destroying the Config does too). False, with a
    // warning under brisklane.settings, when the file could not take them: it is then left as it was.
    bool save();

signals:
    void reread(int receiver);

public slots:
    void reconfig(int receiver);

private:
    void preparePath();
    // The table's defaults, for a file that is missing, unusable or silent about a key.
    void applyDefaults();
    // A file that cannot be read leaves the defaults; one that cannot be written is not saved.
    bool fileUsable(bool forWriting) const;
    void load();

    QString m_folder;
};
