// Where settings.ini goes: beside the executable when that folder takes a file and the program is
// not the installed one, else the user's configuration folder, made when missing.
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
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("besideExecutable");
    QTest::newRow("writable folder") << QStringLiteral("writable") << false << true;
    QTest::newRow("read-only folder") << QStringLiteral("read-only") << false << false;
    QTest::newRow("missing folder") << QStringLiteral("missing") << false << false;
    QTest::newRow("installed folder, writable") << QStringLiteral("writable") << true << false;
}

void TestSettingsLocation::choose()
{
    QFETCH(QString, application);
    QFETCH(bool, installed);
    QFETCH(bool, besideExecutable);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString appFolder = root.filePath(QStringLiteral("app"));
    const QString configFolder = root.filePath(QStringLiteral("config/brisklane"));
    if (application != QLatin1String("missing"))
        QVERIFY(QDir().mkpath(appFolder));
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
    // The probe leaves nothing behind.
    if (QFileInfo(appFolder).isDir())
        QCOMPARE(QDir(appFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());
}

QTEST_GUILESS_MAIN(TestSettingsLocation)
#include "tst_settingslocation.moc"
