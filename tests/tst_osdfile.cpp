#include "core/files/checksum.h"
#include "interfaces/device/osdfile.h"
#include "interfaces/model/sourcedata.h"
#include "interfaces/model/videocontrolosd.h"
#include "support/core/osdfilebytes.h"
#include "support/core/randomrecords.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>

using OsdFileBytes::encoded;

using namespace TestSupport;

namespace {

// Exact colour identity, including the colour model.
void compareColor(const QColor &actual, const QColor &expected)
{
    QCOMPARE(actual.spec(), expected.spec());
    QCOMPARE(actual, expected);
    QCOMPARE(actual.isValid(), expected.isValid());
}

void compareFont(const QFont &actual, const QFont &expected)
{
    QCOMPARE(actual.family(), expected.family());
    QCOMPARE(actual.pointSizeF(), expected.pointSizeF());
    QCOMPARE(actual.pixelSize(), expected.pixelSize());
    QCOMPARE(actual.weight(), expected.weight());
    QCOMPARE(actual.italic(), expected.italic());
    QCOMPARE(actual.style(), expected.style());
    QCOMPARE(actual.underline(), expected.underline());
    QCOMPARE(actual.strikeOut(), expected.strikeOut());
    QCOMPARE(actual.overline(), expected.overline());
    QCOMPARE(actual.letterSpacing(), expected.letterSpacing());
    QCOMPARE(actual.letterSpacingType(), expected.letterSpacingType());
    QCOMPARE(actual.resolve(), expected.resolve());
    QCOMPARE(actual.toString(), expected.toString());
    QVERIFY(actual == expected);
}

void compareRecord(const VideoControlOSD *actual, const VideoControlOSD *expected)
{
    QCOMPARE(actual->image(), expected->image());
    QCOMPARE(actual->size(), expected->size());
    QCOMPARE(actual->completionImageWidth(), expected->completionImageWidth());
    QCOMPARE(actual->OSDFileLength(), expected->OSDFileLength());
    QCOMPARE(actual->location(), expected->location());
    // Corners, not the rectangle: QTest would print it through width(), which overflows for the
    // far-apart random corners used here.
    const QRect cut = actual->CutImageSize();
    const QRect expectedCut = expected->CutImageSize();
    QCOMPARE(cut.left(), expectedCut.left());
    QCOMPARE(cut.top(), expectedCut.top());
    QCOMPARE(cut.right(), expectedCut.right());
    QCOMPARE(cut.bottom(), expectedCut.bottom());
    QCOMPARE(actual->CutImageSize().isNull(), expected->CutImageSize().isNull());
    QCOMPARE(actual->IsEnableCutImage(), expected->IsEnableCutImage());
    QCOMPARE(actual->IsCanEnableCut(), expected->IsCanEnableCut());
    QCOMPARE(actual->IsAvailable(), expected->IsAvailable());
    QCOMPARE(actual->red(), expected->red());
    QCOMPARE(actual->green(), expected->green());
    QCOMPARE(actual->blue(), expected->blue());
    compareColor(actual->selectColor(), expected->selectColor());
    QCOMPARE(actual->IsSelectColor(), expected->IsSelectColor());
    // The heap image is a copy of the pixel data and is not stored.
    QVERIFY(actual->pImageValue() == nullptr);
}

void compareSource(const SourceData *actual, const SourceData *expected)
{
    QCOMPARE(actual == nullptr, expected == nullptr);
    if (!expected)
        return;
    QCOMPARE(actual->getContent(), expected->getContent());
    compareFont(actual->getTextFont(), expected->getTextFont());
    compareColor(actual->getTextColor(), expected->getTextColor());
}

} // namespace

class TestOsdFile : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_live = SharedRecord::liveCount(); }
    void cleanup() { QCOMPARE(SharedRecord::liveCount(), m_live); }

    void crc32KnownValues_data();
    void crc32KnownValues();

    void roundTrip_data();
    void roundTrip();
    void fontRoundTrip_data();
    void fontRoundTrip();
    void colorRoundTrip_data();
    void colorRoundTrip();
    void neverSetRecordRoundTrips();
    void zerosInTextsRoundTrip();

    void layoutIsTheDocumentedOne();

    void everyTruncationIsRefused();
    void everyByteFlipIsRefused();

    void writeAndReadFiles_data();
    void writeAndReadFiles();
    void failedWriteLeavesExistingFile_data();
    void failedWriteLeavesExistingFile();

private:
    int m_live = 0;
};

// The checksum the format names (zlib's and PNG's), on bytes whose checksums are known.
void TestOsdFile::crc32KnownValues_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<quint32>("crc");
    QTest::newRow("empty") << QByteArray() << 0u;
    QTest::newRow("check value") << QByteArray("123456789") << 0xCBF43926u;
    QTest::newRow("one zero byte") << QByteArray(1, '\0') << 0xD202EF8Du;
    QTest::newRow("64 zero bytes") << QByteArray(64, '\0') << 0x758D6336u;
    QTest::newRow("4096 bytes 0xff") << QByteArray(4096, '\xff') << 0xF154670Au;
}

void TestOsdFile::crc32KnownValues()
{
    QFETCH(QByteArray, bytes);
    QFETCH(quint32, crc);
    QCOMPARE(Checksum::crc32(bytes.constData(), bytes.size()), crc);
    // Continued from a first piece of any length, as the reader and the writer compute it.
    for (int split = 0; split <= bytes.size(); ++split) {
        const quint32 first = Checksum::crc32(bytes.constData(), split);
        if (Checksum::crc32(bytes.constData() + split, bytes.size() - split, first) != crc)
            QFAIL(qPrintable(QStringLiteral("continued after %1 bytes").arg(split)));
    }
}

void TestOsdFile::roundTrip_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("count");
    QTest::newRow("empty lists") << 1u << 0;
    QTest::newRow("one") << 2u << 1;
    QTest::newRow("a few") << 3u << 5;
    for (quint32 seed = 10; seed < 30; ++seed)
        QTest::addRow("random %u", seed) << seed << int(seed % 9);
}

void TestOsdFile::roundTrip()
{
    QFETCH(quint32, seed);
    QFETCH(int, count);
    QRandomGenerator rng(seed);
    HeldRecords held;
    QList<VideoControlOSD *> records;
    QList<SourceData *> sources;
    for (int i = 0; i < count; ++i) {
        records.append(randomRecord(rng, held));
        sources.append(rng.bounded(2) ? randomSource(rng, held) : nullptr);
    }

    const QByteArray bytes = encoded(records, sources);
    QVERIFY(!bytes.isEmpty());
    OsdFile::Contents contents;
    OsdFileError error;
    QVERIFY2(OsdFile::decode(bytes, &contents, &error), qPrintable(error.message()));
    QCOMPARE(contents.count(), count);
    QCOMPARE(contents.sources().size(), count);
    for (int i = 0; i < count; ++i) {
        compareRecord(contents.records().at(i), records.at(i));
        compareSource(contents.sources().at(i), sources.at(i));
        // The contents hold the only reference on what they decoded.
        QCOMPARE(contents.records().at(i)->holderCount(), 1);
    }
    // What was read is written back to the same bytes.
    QCOMPARE(encoded(contents.records(), contents.sources()), bytes);
}

void TestOsdFile::fontRoundTrip_data()
{
    QTest::addColumn<QFont>("font");
    QTest::newRow("default") << QFont();
    QTest::newRow("family and size") << QFont("DejaVu Sans", 12);
    QTest::newRow("constructor weight italic") << QFont("Liberation Serif", 20, QFont::Bold, true);
    QFont f("Noto Sans CJK SC");
    f.setPointSizeF(13.25);
    f.setBold(true);
    f.setItalic(true);
    f.setUnderline(true);
    QTest::newRow("bold italic underline") << f;
    f = QFont();
    f.setPixelSize(37);
    f.setStrikeOut(true);
    f.setOverline(true);
    QTest::newRow("pixel size, strike, overline") << f;
    f = QFont("DejaVu Sans Mono");
    f.setFixedPitch(true);
    f.setKerning(false);
    f.setStretch(QFont::Condensed);
    f.setCapitalization(QFont::SmallCaps);
    QTest::newRow("pitch, kerning, stretch, caps") << f;
    f = QFont("宋体", 9);
    f.setLetterSpacing(QFont::PercentageSpacing, 120);
    f.setWordSpacing(2.5);
    f.setStyleHint(QFont::Serif, QFont::PreferAntialias);
    f.setHintingPreference(QFont::PreferNoHinting);
    QTest::newRow("spacing, hints") << f;
    f = QFont();
    f.setFamilies({"DejaVu Sans", "Noto Sans CJK SC"});
    f.setStyleName("Bold Oblique");
    f.setStyle(QFont::StyleOblique);
    f.setStyleStrategy(QFont::NoAntialias);
    QTest::newRow("families, style name, strategy") << f;
    f = QFont("Liberation Sans", 11);
    f.setFixedPitch(false);
    f.setWeight(0);
    QTest::newRow("pitch explicitly off, weight 0") << f;
}

void TestOsdFile::fontRoundTrip()
{
    QFETCH(QFont, font);
    HeldRecords held;
    auto *record = held.record(new VideoControlOSD);
    auto *source = held.source(new SourceData);
    source->setTextFont(font);
    OsdFile::Contents contents;
    OsdFileError error;
    QVERIFY2(OsdFile::decode(encoded({record}, {source}), &contents, &error), qPrintable(error.message()));
    compareFont(contents.sources().at(0)->getTextFont(), font);
}

void TestOsdFile::colorRoundTrip_data()
{
    QTest::addColumn<QColor>("color");
    QTest::newRow("invalid") << QColor();
    QTest::newRow("black") << QColor(0, 0, 0);
    QTest::newRow("translucent") << QColor(10, 200, 30, 77);
    QTest::newRow("16-bit") << QColor::fromRgba64(1, 65535, 12345, 54321);
    QTest::newRow("hsv") << QColor::fromHsvF(0.3, 0.2, 0.9, 0.5);
    QTest::newRow("achromatic hsv") << QColor::fromHsv(-1, 0, 128);
    QTest::newRow("hsl") << QColor::fromHsl(359, 255, 1);
    QTest::newRow("cmyk") << QColor::fromCmyk(1, 2, 3, 4, 5);
    QTest::newRow("extended rgb") << QColor::fromRgbF(-0.25, 1.5, 0.5);
}

void TestOsdFile::colorRoundTrip()
{
    QFETCH(QColor, color);
    HeldRecords held;
    auto *record = held.record(new VideoControlOSD);
    record->setSelectColor(color);
    auto *source = held.source(new SourceData);
    source->setTextColor(color);
    OsdFile::Contents contents;
    OsdFileError error;
    QVERIFY2(OsdFile::decode(encoded({record}, {source}), &contents, &error), qPrintable(error.message()));
    compareColor(contents.records().at(0)->selectColor(), color);
    compareColor(contents.sources().at(0)->getTextColor(), color);
}

void TestOsdFile::neverSetRecordRoundTrips()
{
    HeldRecords held;
    auto *record = held.record(new VideoControlOSD);
    auto *source = held.source(new SourceData);
    OsdFile::Contents contents;
    OsdFileError error;
    QVERIFY2(OsdFile::decode(encoded({record, record}, {nullptr, source}), &contents, &error),
             qPrintable(error.message()));
    QCOMPARE(contents.count(), 2);
    compareRecord(contents.records().at(0), record);
    QCOMPARE(contents.records().at(0)->size(), QSize());
    QCOMPARE(contents.records().at(0)->red(), -1);
    QVERIFY(contents.sources().at(0) == nullptr);
    // The same record listed twice comes back as two records.
    QVERIFY(contents.records().at(0) != contents.records().at(1));
    compareSource(contents.sources().at(1), source);
}

// Strings are stored with their length: a zero inside is a character like any other.
void TestOsdFile::zerosInTextsRoundTrip()
{
    const QString zero(QChar(0));
    HeldRecords held;
    auto *record = held.record(new VideoControlOSD);
    auto *source = held.source(new SourceData);
    source->setContent(QStringLiteral("Live") + zero + QStringLiteral("Hall 3") + zero);
    QFont font(QStringLiteral("Dejà") + zero + QStringLiteral("Vu"));
    font.setStyleName(zero + QStringLiteral("Bold"));
    source->setTextFont(font);
    OsdFile::Contents contents;
    OsdFileError error;
    QVERIFY2(OsdFile::decode(encoded({record}, {source}), &contents, &error), qPrintable(error.message()));
    QCOMPARE(contents.sources().at(0)->getContent(), source->getContent());
    QCOMPARE(contents.sources().at(0)->getTextFont().family(), font.family());
    QCOMPARE(contents.sources().at(0)->getTextFont().styleName(), font.styleName());
}

// A picture record of 1 x 1 pixel and no source, byte for byte as docs/osd-file-format.md lays it
// out. A change here is a change of the file format and needs a new format version.
void TestOsdFile::layoutIsTheDocumentedOne()
{
    HeldRecords held;
    auto *r = held.record(new VideoControlOSD);
    r->setImage(QByteArray::fromHex("0a0b0c"));
    r->setSize(QSize(1, 1));
    r->setCompletionImageWidth(1);
    r->setOSDFileLength(3);
    r->setLocation(QPoint(-2, 300));
    r->setCutImageSize(QRect(1, 2, 3, 4));
    r->setIsCanEnableCut(true);
    r->setIsAvailable(true);
    r->setRed(255);
    r->setSelectColor(QColor(1, 2, 3));
    r->setIsSelectColor(true);
    QByteArray expected = QByteArray::fromHex("424c4f53440d0a1a" // magic
                                              "0100"             // version
                                              "0000"             // header flags
                                              "5f000000"         // file length 95
                                              "01000000"         // record count
                                              "0e"               // flags: can cut, available, fill on
                                              "01000000"         // width
                                              "01000000"         // height
                                              "01000000"         // completion width
                                              "03000000"         // OSD file length
                                              "feffffff"         // x
                                              "2c010000"         // y
                                              "01000000"         // cut left
                                              "02000000"         // cut top
                                              "03000000"         // cut right
                                              "05000000"         // cut bottom
                                              "ff000000"         // red
                                              "ffffffff"         // green
                                              "ffffffff"         // blue
                                              "01"               // colour spec: RGB
                                              "ffff01010202030300"
                                              "00"       // alpha, r, g, b, pad
                                              "03000000" // pixel data length
                                              "0a0b0c");
    const quint32 crc = Checksum::crc32(expected.constData(), expected.size());
    expected.append(char(crc & 0xFF)).append(char(crc >> 8)).append(char(crc >> 16)).append(char(crc >> 24));
    QCOMPARE(encoded({r}, {nullptr}).toHex(), expected.toHex());
}

void TestOsdFile::everyTruncationIsRefused()
{
    QRandomGenerator rng(99);
    HeldRecords held;
    const QList<VideoControlOSD *> records{randomRecord(rng, held), randomRecord(rng, held)};
    const QList<SourceData *> sources{nullptr, randomSource(rng, held)};
    const QByteArray bytes = encoded(records, sources);
    for (int n = 0; n < bytes.size(); ++n) {
        OsdFile::Contents contents;
        OsdFileError error;
        QVERIFY2(!OsdFile::decode(bytes.left(n), &contents, &error), qPrintable(QString::number(n)));
        QVERIFY(error.isError());
        QCOMPARE(contents.count(), 0);
        QCOMPARE(contents.sources().size(), 0);
    }
    // The whole file still reads.
    OsdFile::Contents contents;
    OsdFileError error;
    QVERIFY2(OsdFile::decode(bytes, &contents, &error), qPrintable(error.message()));
}

void TestOsdFile::everyByteFlipIsRefused()
{
    QRandomGenerator rng(5);
    HeldRecords held;
    const QByteArray bytes =
        encoded({randomRecord(rng, held), randomRecord(rng, held)}, {randomSource(rng, held), nullptr});
    for (int i = 0; i < bytes.size(); ++i) {
        for (const uchar mask : {uchar(0x01), uchar(0x80), uchar(0xFF)}) {
            QByteArray damaged = bytes;
            damaged[i] = char(uchar(damaged[i]) ^ mask);
            OsdFile::Contents contents;
            OsdFileError error;
            QVERIFY2(!OsdFile::decode(damaged, &contents, &error),
                     qPrintable(QStringLiteral("offset %1 mask %2").arg(i).arg(mask)));
            QVERIFY(error.isError());
            QCOMPARE(contents.count(), 0);
        }
    }
}

void TestOsdFile::writeAndReadFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("pic") << "items.pic";
    QTest::newRow("logo") << "items.logo";
    QTest::newRow("no extension") << "items";
}

void TestOsdFile::writeAndReadFiles()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QRandomGenerator rng(3);
    HeldRecords held;
    const QList<VideoControlOSD *> records{randomRecord(rng, held), randomRecord(rng, held)};
    const QList<SourceData *> sources{randomSource(rng, held), nullptr};
    const QString path = dir.filePath(name);
    OsdFileError error;
    QVERIFY2(OsdFile::write(path, records, sources, &error), qPrintable(error.message()));

    // Both extensions share one layout: the file is exactly the encoded bytes.
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), encoded(records, sources));
    file.close();

    OsdFile::Contents contents;
    QVERIFY2(OsdFile::read(path, &contents, &error), qPrintable(error.message()));
    QCOMPARE(contents.count(), 2);
    compareRecord(contents.records().at(1), records.at(1));
    compareSource(contents.sources().at(0), sources.at(0));
    QVERIFY(contents.sources().at(1) == nullptr);

    // Writing again replaces the file whole.
    QVERIFY(OsdFile::write(path, {}, {}, &error));
    QVERIFY(OsdFile::read(path, &contents, &error));
    QCOMPARE(contents.count(), 0);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{name});
}

void TestOsdFile::failedWriteLeavesExistingFile_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("kept");
    // Tests may run as root, for whom a read-only folder is writable; a path below a regular
    // file cannot be written by anybody.
    QTest::newRow("parent is a regular file") << "existing.pic/new.pic"
                                              << "existing.pic";
    QTest::newRow("target is a directory") << "folder.pic"
                                           << "folder.pic/inside.pic";
}

void TestOsdFile::failedWriteLeavesExistingFile()
{
    QFETCH(QString, target);
    QFETCH(QString, kept);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("folder.pic"));
    const QByteArray old = "old contents";
    for (const QString &name : {QStringLiteral("existing.pic"), QStringLiteral("folder.pic/inside.pic")}) {
        QFile f(dir.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(old);
    }
    HeldRecords held;
    auto *record = held.record(new VideoControlOSD);
    OsdFileError error;
    QVERIFY(!OsdFile::write(dir.filePath(target), {record}, {nullptr}, &error));
    QCOMPARE(error.code, OsdFileError::CannotCreate);
    QFile f(dir.filePath(kept));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), old);

    // A record that cannot be stored does not touch the file either.
    record->setSize(QSize(-7, -7));
    QVERIFY(!OsdFile::write(dir.filePath("existing.pic"), {record}, {nullptr}, &error));
    QFile existing(dir.filePath("existing.pic"));
    QVERIFY(existing.open(QIODevice::ReadOnly));
    QCOMPARE(existing.readAll(), old);
}

// Fonts take their defaults from the GUI application, as they do in the editor; no widgets needed.
int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    TestOsdFile test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_osdfile.moc"
