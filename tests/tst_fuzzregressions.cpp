// Inputs with which the fuzzer (fuzz/fuzz_osdfile.cpp) once broke the OSD file reader, kept in
// fuzz/regressions/, and the seed corpus it starts from: each must keep the fuzzer's invariants.
#include "support/core/osdfileinvariants.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QtTest>

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

QStringList filesIn(const QString &dir)
{
    QStringList paths;
    const QStringList names = QDir(dir).entryList(QDir::Files, QDir::Name);
    for (const QString &name : names)
        paths.append(QDir(dir).filePath(name));
    return paths;
}

// One picture record whose fill colour is stored as given, with a valid length and checksum.
QByteArray fileWithFillColour(const QByteArray &colour)
{
    auto *record = new VideoControlOSD;
    SharedRecord::retain(record);
    record->setImage(QByteArray(3, 'x'));
    record->setSize(QSize(1, 1));
    record->setCompletionImageWidth(1);
    QByteArray bytes;
    OsdFileError error;
    if (!OsdFile::encode({record}, {nullptr}, &bytes, &error))
        qFatal("%s", qPrintable(error.message()));
    SharedRecord::release(record);
    // The fill colour follows the record's 53 bytes of flags and numbers.
    bytes.replace(OsdFile::HeaderSize + 53, 11, colour);
    return OsdFileInvariants::resealed(bytes);
}

} // namespace

class TestFuzzRegressions : public QObject
{
    Q_OBJECT

private slots:
    void seedsAreReadAndKeepTheInvariants_data();
    void seedsAreReadAndKeepTheInvariants();
    void foundInputsKeepTheInvariants_data();
    void foundInputsKeepTheInvariants();
    void extendedColoursMustBeFinite_data();
    void extendedColoursMustBeFinite();
};

void TestFuzzRegressions::seedsAreReadAndKeepTheInvariants_data()
{
    QTest::addColumn<QString>("path");
    const QString dir = QFINDTESTDATA("../fuzz/corpus/osdfile");
    QVERIFY(!dir.isEmpty());
    const QStringList paths = filesIn(dir);
    QVERIFY(paths.size() >= 10);
    for (const QString &path : paths)
        QTest::newRow(qPrintable(QFileInfo(path).fileName())) << path;
}

void TestFuzzRegressions::seedsAreReadAndKeepTheInvariants()
{
    QFETCH(QString, path);
    const QByteArray bytes = fileBytes(path);
    // The seeds are small, so that the fuzzer's mutations stay fast.
    QVERIFY(bytes.size() <= 8 * 1024);
    bool accepted = false;
    const QString broken = OsdFileInvariants::check(bytes, &accepted);
    QVERIFY2(broken.isEmpty(), qPrintable(broken));
    QVERIFY(accepted);
}

void TestFuzzRegressions::foundInputsKeepTheInvariants_data()
{
    QTest::addColumn<QString>("path");
    const QString dir = QFINDTESTDATA("../fuzz/regressions");
    QVERIFY(!dir.isEmpty());
    const QStringList paths = filesIn(dir);
    QVERIFY(!paths.isEmpty());
    for (const QString &path : paths)
        QTest::newRow(qPrintable(QFileInfo(path).fileName())) << path;
}

void TestFuzzRegressions::foundInputsKeepTheInvariants()
{
    QFETCH(QString, path);
    const QByteArray bytes = fileBytes(path);
    for (const QByteArray &input : {bytes, OsdFileInvariants::resealed(bytes)}) {
        const QString broken = OsdFileInvariants::check(input);
        QVERIFY2(broken.isEmpty(), qPrintable(broken));
    }
}

// Found by the fuzzer: an extended-RGB fill colour whose alpha was a half-precision NaN was read,
// and the colour then compared unequal to itself after a round trip. Non-finite components are
// refused now; finite ones, also outside 0 to 1, still round-trip.
void TestFuzzRegressions::extendedColoursMustBeFinite_data()
{
    QTest::addColumn<QByteArray>("colour");
    QTest::addColumn<bool>("accepted");
    // Spec 5, then alpha, red, green, blue as little-endian half floats, then the pad.
    QTest::newRow("NaN alpha") << QByteArray::fromHex("05ffff000000000000"
                                                      "0000")
                               << false;
    QTest::newRow("infinite red") << QByteArray::fromHex("05003c007c00000000"
                                                         "0000")
                                  << false;
    QTest::newRow("negative infinite green") << QByteArray::fromHex("05003c0000"
                                                                    "00fc"
                                                                    "0000"
                                                                    "0000")
                                             << false;
    QTest::newRow("NaN blue") << QByteArray::fromHex("05003c00000000017e"
                                                     "0000")
                              << false;
    QTest::newRow("opaque black") << QByteArray::fromHex("05003c000000000000"
                                                         "0000")
                                  << true;
    QTest::newRow("beyond white and below black") << QByteArray::fromHex("05003c0040"
                                                                         "00bc"
                                                                         "ff7b"
                                                                         "0000")
                                                  << true;
}

void TestFuzzRegressions::extendedColoursMustBeFinite()
{
    QFETCH(QByteArray, colour);
    QFETCH(bool, accepted);
    QCOMPARE(colour.size(), 11);
    const QByteArray bytes = fileWithFillColour(colour);
    OsdFile::Contents contents;
    OsdFileError error;
    QCOMPARE(OsdFile::decode(bytes, &contents, &error), accepted);
    if (!accepted) {
        QCOMPARE(error.code, OsdFileError::BadFillColor);
        QCOMPARE(error.record, 0);
    }
    const QString broken = OsdFileInvariants::check(bytes);
    QVERIFY2(broken.isEmpty(), qPrintable(broken));
}

// Fonts take their defaults from the GUI application, as they do in the editor.
int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    TestFuzzRegressions test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_fuzzregressions.moc"
