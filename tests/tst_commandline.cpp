// The editor's --help and --version, and its usage errors, from the built executable in a child
// process as a packager or a terminal runs it: no display, a home of its own.
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestCommandLine : public QObject
{
    Q_OBJECT
private slots:
    void answersWithoutADisplay_data();
    void answersWithoutADisplay();
};

void TestCommandLine::answersWithoutADisplay_data()
{
    const QString usage = QStringLiteral("Usage: brisklane [--lang zh|en] [FILE\u2026]\n");
    const QString version = QStringLiteral("brisklane " BRISKLANE_EXPECTED_VERSION "\n");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("outStart"); // all of stdout for a version, else its beginning
    QTest::addColumn<QString>("errMentions");
    QTest::newRow("--help") << QStringList{"--help"} << 0 << usage << QString();
    QTest::newRow("-h") << QStringList{"-h"} << 0 << usage << QString();
    QTest::newRow("--help beside a file and a wrong language")
        << QStringList{"a.pic", "--lang", "fr", "--help"} << 0 << usage << QString();
    QTest::newRow("-h beside an unknown option") << QStringList{"--bogus", "-h"} << 0 << usage << QString();
    QTest::newRow("--version") << QStringList{"--version"} << 0 << version << QString();
    QTest::newRow("-v") << QStringList{"-v"} << 0 << version << QString();
    QTest::newRow("an unknown language is a usage error")
        << QStringList{"--lang", "fr", "a.pic"} << 2 << QString() << "Unknown language \"fr\"";
    QTest::newRow("--lang without its value is a usage error")
        << QStringList{"--lang"} << 2 << QString() << "--lang";
}

void TestCommandLine::answersWithoutADisplay()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    QFETCH(QString, outStart);
    QFETCH(QString, errMentions);

    // A copy of the executable in a folder of its own: a settings.ini it made beside itself would
    // show as well as one in the home folder.
    const QTemporaryDir root;
    QVERIFY(root.isValid());
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("bin")) &&
            QDir(root.path()).mkpath(QStringLiteral("home")));
    const QString program = root.filePath(QStringLiteral("bin/brisklane"));
    QVERIFY(QFile::copy(QStringLiteral(BRISKLANE_EDITOR), program));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_CONFIG_HOME",
                             "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("HOME"), root.filePath(QStringLiteral("home")));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(root.filePath(QStringLiteral("home")));
    process.start(program, arguments);
    QVERIFY(process.waitForFinished(60000));
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    const QString err = QString::fromUtf8(process.readAllStandardError());

    // Killed by a missing platform plugin, it would exit abnormally with code 134.
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QVERIFY2(process.exitCode() == code,
             qPrintable(QStringLiteral("%1\n%2").arg(process.exitCode()).arg(err)));
    if (code == 0) {
        QVERIFY2(err.isEmpty(), qPrintable(err));
        if (outStart.startsWith(QLatin1String("Usage")))
            QVERIFY2(out.startsWith(outStart), qPrintable(out));
        else
            QCOMPARE(out, outStart);
    } else {
        QVERIFY2(out.isEmpty(), qPrintable(out));
        QVERIFY2(err.contains(errMentions) && err.contains(QStringLiteral("Usage: brisklane")),
                 qPrintable(err));
    }

    // Nothing made: no settings folder, no settings.ini beside the executable, no cache.
    QStringList made;
    QDirIterator it(root.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        made.append(QDir(root.path()).relativeFilePath(it.next()));
    made.sort();
    QCOMPARE(made, (QStringList{"bin", "bin/brisklane", "home"}));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
