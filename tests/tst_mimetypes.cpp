// The MIME types that the package installs: compiled by update-mime-database as a desktop does,
// then asked through Qt's MIME database, which reads the compiled cache like the file managers do.
#include "support/core/osdfilebytes.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TestMimeTypes : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void typeOfFile_data();
    void typeOfFile();
    void iconOfType_data();
    void iconOfType();

private:
    QTemporaryDir m_data;
    QByteArray m_osdFile;
};

void TestMimeTypes::initTestCase()
{
    const QString compiler = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
    if (compiler.isEmpty())
        QSKIP("update-mime-database (shared-mime-info) is not installed");
    const QString packages = m_data.filePath(QStringLiteral("mime/packages"));
    QVERIFY(QDir().mkpath(packages));
    QVERIFY(QFile::copy(QStringLiteral(BRISKLANE_MIME_XML), packages + QStringLiteral("/brisklane.xml")));
    QProcess process;
    process.start(compiler, {m_data.filePath(QStringLiteral("mime"))});
    QVERIFY(process.waitForFinished(60000));
    QVERIFY2(process.exitCode() == 0, process.readAllStandardError().constData());
    QVERIFY(QFile::exists(m_data.filePath(QStringLiteral("mime/mime.cache"))));
    // Our folder first, the system's after it: Qt reads the list when the database is first used.
    const QByteArray system = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_DIRS", QFile::encodeName(m_data.path()) + ':' +
                                 (system.isEmpty() ? QByteArray("/usr/local/share:/usr/share") : system));

    m_osdFile = OsdFileBytes::encoded({}, {});
    QVERIFY(m_osdFile.startsWith("BLOSD\r\n\x1a"));
}

void TestMimeTypes::typeOfFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("osdContent");
    QTest::addColumn<QString>("type");
    const QString pic = QStringLiteral("application/x-brisklane-pic");
    const QString logo = QStringLiteral("application/x-brisklane-logo");
    QTest::newRow(".pic") << QStringLiteral("a.pic") << true << pic;
    QTest::newRow(".logo") << QStringLiteral("a.logo") << true << logo;
    QTest::newRow(".PIC in capitals") << QStringLiteral("B.PIC") << true << pic;
    // The name decides even for a file that is not (yet) an OSD file, as for any format.
    QTest::newRow(".logo with other content") << QStringLiteral("c.logo") << false << logo;
    // Only the magic speaks for a file without a telling name; it is taken for a .pic.
    QTest::newRow("magic without a name ending") << QStringLiteral("osd-export") << true << pic;
    QTest::newRow("magic behind a foreign ending") << QStringLiteral("d.bin") << true << pic;
    QTest::newRow("neither") << QStringLiteral("e.bin") << false
                             << QStringLiteral("application/octet-stream");
}

void TestMimeTypes::typeOfFile()
{
    QFETCH(QString, name);
    QFETCH(bool, osdContent);
    QFETCH(QString, type);
    const QString path = m_data.filePath(name);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    static const char other[] = "\x01\x02\x03\x04 not an OSD file\x00\xff";
    file.write(osdContent ? m_osdFile : QByteArray(other, sizeof other - 1));
    file.close();
    const QString found = QMimeDatabase().mimeTypeForFile(path).name();
    QCOMPARE(found, type);
}

void TestMimeTypes::iconOfType_data()
{
    QTest::addColumn<QString>("type");
    QTest::newRow("pic") << QStringLiteral("application/x-brisklane-pic");
    QTest::newRow("logo") << QStringLiteral("application/x-brisklane-logo");
}

// The desktop shows a file of the type with the icon the database names; the theme must hold it in
// every size the application's icon comes in, at that size, and as the scalable drawing.
void TestMimeTypes::iconOfType()
{
    QFETCH(QString, type);
    const QString icon = QMimeDatabase().mimeTypeForName(type).iconName();
    QCOMPARE(icon, QString(type).replace(QLatin1Char('/'), QLatin1Char('-')));
    const QDir theme(QStringLiteral(BRISKLANE_ICONS_DIR));
    const QStringList sizes = theme.entryList({QStringLiteral("*x*")}, QDir::Dirs);
    QVERIFY(sizes.size() >= 7);
    for (const QString &size : sizes) {
        if (!QFileInfo::exists(theme.filePath(size + QStringLiteral("/apps/brisklane.png"))))
            continue;
        const QString path = theme.filePath(QStringLiteral("%1/mimetypes/%2.png").arg(size, icon));
        const QImage image(path);
        QVERIFY2(!image.isNull(), qPrintable(path));
        const int side = size.section(QLatin1Char('x'), 0, 0).toInt();
        QCOMPARE(image.size(), QSize(side, side));
    }
    QVERIFY(QFileInfo::exists(theme.filePath(QStringLiteral("scalable/mimetypes/%1.svg").arg(icon))));
}

QTEST_GUILESS_MAIN(TestMimeTypes)
#include "tst_mimetypes.moc"
