#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

// The text editor's settings, kept in settings.ini beside the executable. Constructing a Config
// loads them, destroying it saves them back. reconfig() broadcasts reread() to every editor.
class Config : public QObject
{
    Q_OBJECT
public:
    explicit Config(QObject *parent = nullptr);
    ~Config() override;

    QString settingsPath;
    QByteArray mainWindowGeometry;
    QByteArray mainWindowState;
    int maxRecentFiles = 10;
    QStringList recentFiles;
    bool showReadme = false;
    QString fontFamily = QStringLiteral("CourierNew");
    int fontSize = 12;
    QString fontStyle = QStringLiteral("Normal");
    bool showLineNumber = true;
    bool tabIndents = false;
    bool autoIndent = false;
    bool backUnindent = false;
    bool spaceTabs = true;
    int indentSize = 4;
    int tabSize = 4;
    bool whitespaces = false;
    int maxHistory = 0;
    QStringList findHistory;
    QStringList replaceHistory;
    bool matchCase = false;
    bool regExp = false;

    // settings.ini in dir, without a doubled separator.
    static QString settingsPathFor(const QString &dir);

signals:
    void reread(int receiver);

public slots:
    void reconfig(int receiver);

private:
    void preparePath();
    // A file that cannot be read leaves the defaults; one that cannot be written is not saved.
    bool fileUsable(bool forWriting) const;
    void load();
    void save();
};
