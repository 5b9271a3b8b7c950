// Files are written whole or not at all: a write that fails anywhere, its last flush included,
// leaves the earlier file as it was; what is not a regular file is never written through or
// replaced, nor read; the settings file reads back as it was written.
#include "core/files/inifile.h"
#include "core/files/safefile.h"
#include "core/pixels/pictureloader.h"
#include "core/settings/config.h"
#include "interfaces/device/osdfile.h"
#include "support/core/filesizelimit.h"
#include "support/core/heldrecords.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRect>
#include <QRegularExpression>
#include <QSettings>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

enum Writer
{
    Bytes,
    Osd,
    Settings
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// An OSD file of one picture record of about `bytes` bytes.
bool writeOsd(const QString &path, int bytes, QString *error)
{
    HeldRecords held;
    auto *record = held.record(new VideoControlOSD);
    const int width = 64;
    const int height = qMax(1, bytes / (width * 3));
    record->setImage(QByteArray(width * height * 3, 'p'));
    record->setSize(QSize(width, height));
    record->setCompletionImageWidth(width);
    OsdFileError problem;
    if (OsdFile::write(path, {record}, {nullptr}, &problem))
        return true;
    *error = problem.message();
    return false;
}

// The kinds of thing a name can stand for; the test makes one and checks it is still there after.
enum Odd
{
    Pipe,
    LinkToFile,
    LinkToDevice,
    DanglingLink,
    Folder
};

} // namespace

class TestSafeFile : public QObject
{
    Q_OBJECT
private slots:
    void failedWriteKeepsTheEarlierFile_data();
    void failedWriteKeepsTheEarlierFile();
    void oddTargetsAreNeverReplaced_data();
    void oddTargetsAreNeverReplaced();
    void oddInputsAreRefusedUnread();
    void iniFileReadsBackAsWritten_data();
    void iniFileReadsBackAsWritten();
    void settingsKeepKeysOfOtherVersions();
};

void TestSafeFile::failedWriteKeepsTheEarlierFile_data()
{
    QTest::addColumn<int>("writer");
    QTest::addColumn<int>("bytes");
    // QFileDevice buffers 16 KiB: a file below that reaches the disk only with the last flush.
    QTest::newRow("bytes smaller than one write buffer") << int(Bytes) << 4892;
    QTest::newRow("bytes larger than one write buffer") << int(Bytes) << 64 * 1024;
    QTest::newRow("bytes one below the limit") << int(Bytes) << 4095;
    QTest::newRow("bytes exactly at the limit") << int(Bytes) << 4096;
    QTest::newRow("bytes one past the limit") << int(Bytes) << 4097;
    QTest::newRow("an OSD file smaller than one write buffer") << int(Osd) << 4892;
    QTest::newRow("an OSD file larger than one write buffer") << int(Osd) << 64 * 1024;
    QTest::newRow("the settings") << int(Settings) << 8000;
}

void TestSafeFile::failedWriteKeepsTheEarlierFile()
{
    QFETCH(int, writer);
    QFETCH(int, bytes);
    QTemporaryDir dir;
    const QString path =
        dir.filePath(writer == Settings ? QStringLiteral("settings.ini") : QStringLiteral("f"));
    const QByteArray earlier = "[Screen]\nwidth=1280\nheight=720\n";
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(earlier) == earlier.size());
    file.close();

    QString error;
    bool written = true;
    {
        TestSupport::FileSizeLimit limit(4096);
        if (!limit.isSet())
            QSKIP("no file-size limit on this system");
        if (writer == Bytes) {
            written = SafeFile::write(path, QByteArray(bytes, 'b'), &error);
        } else if (writer == Osd) {
            written = writeOsd(path, bytes, &error);
        } else {
            // Saved now and once more when the Config goes, both under the limit; each failure is
            // said with the system's reason.
            const QRegularExpression warning(
                QStringLiteral("settings not saved: .*") +
                QRegularExpression::escape(TestSupport::FileSizeLimit::reason()));
            QTest::ignoreMessage(QtWarningMsg, warning);
            QTest::ignoreMessage(QtWarningMsg, warning);
            Config config(dir.path());
            QCOMPARE(config.screenWidth, 1280);
            for (int i = 0; i < bytes / 40; ++i)
                config.recentFiles.append(QString(40, QLatin1Char('r')));
            written = config.save();
        }
    }
    // Within the limit the file is written whole.
    if (writer == Bytes && bytes <= 4096) {
        QVERIFY2(written, qPrintable(error));
        QCOMPARE(readAll(path), QByteArray(bytes, 'b'));
        return;
    }
    QVERIFY(!written);
    if (writer != Settings)
        QVERIFY2(error.contains(TestSupport::FileSizeLimit::reason()), qPrintable(error));
    QCOMPARE(readAll(path), earlier);
    // No temporary file stays behind.
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QFileInfo(path).fileName()});

    // The same write without the limit goes through: the limit was the only obstacle.
    if (writer == Bytes)
        QVERIFY(SafeFile::write(path, QByteArray(bytes, 'b'), &error));
    else if (writer == Osd)
        QVERIFY2(writeOsd(path, bytes, &error), qPrintable(error));
    if (writer != Settings)
        QVERIFY(QFileInfo(path).size() >= bytes);
}

void TestSafeFile::oddTargetsAreNeverReplaced_data()
{
    QTest::addColumn<int>("odd");
    QTest::newRow("a pipe") << int(Pipe);
    QTest::newRow("a symbolic link to a file") << int(LinkToFile);
    QTest::newRow("a symbolic link to a device") << int(LinkToDevice);
    QTest::newRow("a dangling symbolic link") << int(DanglingLink);
    QTest::newRow("a folder") << int(Folder);
}

void TestSafeFile::oddTargetsAreNeverReplaced()
{
#ifndef Q_OS_UNIX
    QSKIP("pipes and symbolic links are made the Unix way");
#else
    QFETCH(int, odd);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.pic"));
    const QString linked = dir.filePath(QStringLiteral("linked"));
    const QByteArray kept = "kept";
    QFile target(linked);
    QVERIFY(target.open(QIODevice::WriteOnly) && target.write(kept) == kept.size());
    target.close();
    switch (odd) {
    case Pipe:
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        break;
    case LinkToFile:
        QVERIFY(QFile::link(linked, path));
        break;
    case LinkToDevice:
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), path));
        break;
    case DanglingLink:
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("nowhere")), path));
        break;
    case Folder:
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("out.pic")));
        break;
    }
    const QFileInfo before(path);

    QString error;
    QVERIFY(!SafeFile::targetProblem(path).isEmpty());
    QVERIFY(!SafeFile::write(path, "new", &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!writeOsd(path, 100, &error));
    QVERIFY(error.contains(SafeFile::targetProblem(path)));

    // Still the same thing, and whatever it points at is untouched.
    const QFileInfo after(path);
    QCOMPARE(after.isSymLink(), before.isSymLink());
    QCOMPARE(after.symLinkTarget(), before.symLinkTarget());
    QCOMPARE(after.isDir(), odd == Folder);
    QCOMPARE(after.isFile(), odd == LinkToFile);
    QCOMPARE(readAll(linked), kept);
    QVERIFY(QFileInfo(QStringLiteral("/dev/null")).exists());
    QCOMPARE(
        QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot | QDir::Hidden),
        (QStringList{QStringLiteral("linked"), QStringLiteral("out.pic")}));
    // A new name next to them is written.
    QVERIFY(SafeFile::write(dir.filePath(QStringLiteral("new.pic")), "new", &error));
#endif
}

void TestSafeFile::oddInputsAreRefusedUnread()
{
#ifndef Q_OS_UNIX
    QSKIP("pipes are made the Unix way");
#else
    // A pipe with no writer: anything that opened it for reading would wait for ever.
    QTemporaryDir dir;
    const QString pipe = dir.filePath(QStringLiteral("p.png"));
    QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString &path : {pipe, dir.path()}) {
        QVERIFY(!SafeFile::inputProblem(path).isEmpty());
        QVERIFY(!PictureLoader::statedSize(path).isValid());
        QString reason;
        QVERIFY(PictureLoader::load(path, &reason).isNull());
        QVERIFY(!reason.isEmpty());
        OsdFile::Contents contents;
        QVERIFY(!OsdFile::read(path, &contents, nullptr));
        int seen = 0;
        QVERIFY(!OsdFile::scan(
            path, [&seen](int, VideoControlOSD *, SourceData *) { ++seen; }, nullptr));
        QCOMPARE(seen, 0);
    }
#endif
}

void TestSafeFile::iniFileReadsBackAsWritten_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value");
    const auto row = [](const char *sentence, const char *key, const QVariant &value) {
        QTest::newRow(sentence) << QString::fromLatin1(key) << value;
    };
    row("plain text", "Editor/fontFamily", QStringLiteral("DejaVu Sans"));
    row("an empty text", "General/language", QString());
    row("spaces around", "Editor/fontStyle", QStringLiteral("  Bold "));
    row("separators of lists and keys", "Editor/fontStyle", QStringLiteral("a,b;c=d"));
    row("quotes and backslashes", "Editor/fontStyle", QStringLiteral("C:\\\"x\"\\"));
    row("line breaks, tabs and a zero", "Editor/fontStyle", QStringLiteral("a\nb\r\tc") + QChar(0) + "1");
    row("Chinese and a hex digit after it", "Editor/fontStyle", QStringLiteral("宋体a9F"));
    row("a character outside the basic plane", "Editor/fontStyle", QStringLiteral("x\U0001F600y"));
    row("a text that starts with @", "Editor/fontStyle", QStringLiteral("@ByteArray(not one)"));
    row("an empty list", "General/recentFiles", QStringList());
    row("a list of one", "General/recentFiles", QStringList{QStringLiteral("/a, b.pic")});
    row("a list of one empty text", "General/recentFiles", QStringList{QString()});
    row("a list of several", "Search&Replace/findHistory",
        QStringList{QStringLiteral("a"), QStringLiteral("@b"), QStringLiteral("c,d"), QStringLiteral(" e ")});
    QByteArray everyByte;
    for (int b = 0; b < 256; ++b)
        everyByte.append(char(b));
    row("every byte", "General/mainWindowGeometry", everyByte);
    row("an empty byte array", "General/mainWindoState", QByteArray());
    row("a negative number", "Screen/width", -17);
    row("a switch", "Editor/spaceTabs", true);
    row("a key without a group", "lone", 5);
    row("a rectangle", "Other/rect", QRect(1, -2, 30, 40));
    row("a date", "Other/when", QDateTime(QDate(2026, 12, 9), QTime(9, 44, 14), Qt::UTC));
}

void TestSafeFile::iniFileReadsBackAsWritten()
{
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings.ini"));
    // The value among others, as in a real file.
    const IniFile::Values values{
        {QStringLiteral("General/showReadme"), false}, {key, value}, {QStringLiteral("Screen/height"), 1080}};
    QString error;
    QVERIFY2(SafeFile::write(path, IniFile::encode(values), &error), qPrintable(error));
    const QSettings store(path, QSettings::IniFormat);
    QCOMPARE(store.status(), QSettings::NoError);
    QCOMPARE(store.allKeys().size(), 3);
    QVariant read = store.value(key);
    // A list of one reads back as its text and an empty list as nothing, as QSettings writes them.
    if (value.userType() == QMetaType::QStringList)
        QCOMPARE(read.toStringList(), value.toStringList());
    else
        QVERIFY2(read.convert(value.userType()) && read == value,
                 qPrintable(QString::fromUtf8(readAll(path))));
    QCOMPARE(store.value(QStringLiteral("Screen/height")).toInt(), 1080);
}

void TestSafeFile::settingsKeepKeysOfOtherVersions()
{
    QTemporaryDir dir;
    const QString path = Config::settingsPathFor(dir.path());
    {
        QSettings other(path, QSettings::IniFormat);
        other.setValue(QStringLiteral("Later/feature"),
                       QStringList{QStringLiteral("x"), QStringLiteral("y")});
        other.setValue(QStringLiteral("Screen/width"), 1280);
    }
    {
        Config config(dir.path());
        QCOMPARE(config.screenWidth, 1280);
        config.screenWidth = 3840;
        QVERIFY(config.save());
    }
    const QSettings store(path, QSettings::IniFormat);
    QCOMPARE(store.value(QStringLiteral("Screen/width")).toInt(), 3840);
    QCOMPARE(store.value(QStringLiteral("Later/feature")).toStringList(),
             (QStringList{QStringLiteral("x"), QStringLiteral("y")}));
    QCOMPARE(Config(dir.path()).screenWidth, 3840);
}

QTEST_GUILESS_MAIN(TestSafeFile)
#include "tst_safefile.moc"
