// Where settings.ini goes: beside the executable only when a "portable" file there asks for it, that
// folder takes a file and the program is not the installed one; else the user's configuration
// folder, made when missing.
#include "core/settings/settingslocation.h"
#include "support/core/settingsfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

class TestSettingsLocation : public QObject
{
    Q_OBJECT
private slots:
    void choose_data();
    void choose();
};

void TestSettingsLocation::choose_data()
{
    QTest::addColumn<QString>("application");
    QTest::addColumn<QString>("marker");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("besideExecutable");
    // A hand install into a prefix the user owns (~/.local/bin) is writable and not the build's
    // installed folder: without the marker its settings still go to the configuration folder.
    QTest::newRow("writable folder, no marker") << QStringLiteral("writable") << QString() << false << false;
    QTest::newRow("writable folder, portable marker")
        << QStringLiteral("writable") << QStringLiteral("file") << false << true;
    QTest::newRow("writable folder, marker is a folder")
        << QStringLiteral("writable") << QStringLiteral("folder") << false << false;
    QTest::newRow("read-only folder, portable marker")
        << QStringLiteral("read-only") << QStringLiteral("file") << false << false;
    QTest::newRow("missing folder") << QStringLiteral("missing") << QString() << false << false;
    QTest::newRow("installed folder, writable, portable marker")
        << QStringLiteral("writable") << QStringLiteral("file") << true << false;
    QTest::newRow("installed folder, writable") << QStringLiteral("writable") << QString() << true << false;
}

void TestSettingsLocation::choose()
{
    QFETCH(QString, application);
    QFETCH(QString, marker);
    QFETCH(bool, installed);
    QFETCH(bool, besideExecutable);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString appFolder = root.filePath(QStringLiteral("app"));
    const QString configFolder = root.filePath(QStringLiteral("config/brisklane"));
    if (application != QLatin1String("missing"))
        QVERIFY(QDir().mkpath(appFolder));
    const QString markerPath = QDir(appFolder).filePath(SettingsLocation::portableMarker());
    if (marker == QLatin1String("file")) {
        QFile file(markerPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (marker == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(markerPath));
    }
    if (application == QLatin1String("read-only")) {
        if (!TestSupport::permissionsApply())
            QSKIP("file permissions do not apply to this user");
        QVERIFY(QFile(appFolder).setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    }

    // The installed folder named by another path to it, as /bin names /usr/bin.
    const QString installedFolder = installed ? appFolder + QStringLiteral("/../app/") : QString();
    const QString chosen = SettingsLocation::choose(appFolder, configFolder, installedFolder);
    QFile(appFolder).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    QCOMPARE(chosen, besideExecutable ? appFolder : configFolder);
    QCOMPARE(QFileInfo(configFolder).isDir(), !besideExecutable);
    // The probe leaves nothing behind: only the marker, when there is one.
    const QStringList left =
        marker.isEmpty() ? QStringList() : QStringList{SettingsLocation::portableMarker()};
    if (QFileInfo(appFolder).isDir())
        QCOMPARE(QDir(appFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), left);
}

QTEST_GUILESS_MAIN(TestSettingsLocation)
#include "tst_settingslocation.moc"
