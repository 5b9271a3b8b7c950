#include "interfaces/device/osdfile.h"
#include "interfaces/model/sourcedata.h"
#include "interfaces/model/videocontrolosd.h"
#include "support/core/randomrecords.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <cstring>
#include <functional>

using Patch = std::function<void(QByteArray &)>;
using Setup = std::function<void(VideoControlOSD *)>;
Q_DECLARE_METATYPE(Patch)
Q_DECLARE_METATYPE(Setup)

using namespace TestSupport;
using Held = TestSupport::HeldRecords;

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

QByteArray encoded(const QList<VideoControlOSD *> &records, const QList<SourceData *> &sources)
{
    QByteArray bytes;
    QString error;
    if (!OsdFile::encode(records, sources, &bytes, &error))
        qWarning() << "encode failed:" << error;
    return bytes;
}

// Recomputes the length field and the checksum, so that a test reaches the field checks.
void reseal(QByteArray &bytes)
{
    qToLittleEndian(quint32(bytes.size()), bytes.data() + 12);
    const quint32 crc = OsdFile::crc32(bytes.constData(), bytes.size() - 4);
    qToLittleEndian(crc, bytes.data() + bytes.size() - 4);
}

void putU32(QByteArray &bytes, int offset, quint32 value)
{
    qToLittleEndian(value, bytes.data() + offset);
}

// Bit by bit, straight from the definition.
quint32 referenceCrc32(const QByteArray &data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (char c : data) {
        crc ^= uchar(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return ~crc;
}

} // namespace

class TestOsdFile : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_live = SharedRecord::liveCount(); }
    void cleanup() { QCOMPARE(SharedRecord::liveCount(), m_live); }

    void crc32MatchesDefinition();

    void roundTrip_data();
    void roundTrip();
    void fontRoundTrip_data();
    void fontRoundTrip();
    void colorRoundTrip_data();
    void colorRoundTrip();
    void neverSetRecordRoundTrips();

    void layoutIsTheDocumentedOne();

    void everyTruncationIsRefused();
    void everyByteFlipIsRefused();
    void hostileFieldsAreRefused_data();
    void hostileFieldsAreRefused();
    void refusedRecordsAreNotWritten_data();
    void refusedRecordsAreNotWritten();

    void writeAndReadFiles_data();
    void writeAndReadFiles();
    void failedWriteLeavesExistingFile_data();
    void failedWriteLeavesExistingFile();
    void unreadableFilesAreRefused();

private:
    int m_live = 0;
};

void TestOsdFile::crc32MatchesDefinition()
{
    QCOMPARE(OsdFile::crc32("123456789", 9), 0xCBF43926u);
    QCOMPARE(OsdFile::crc32("", 0), 0u);
    QRandomGenerator rng(7);
    for (int n = 0; n < 70; ++n) {
        const QByteArray data = randomBytes(rng, n);
        QCOMPARE(OsdFile::crc32(data.constData(), data.size()), referenceCrc32(data));
        // Continuing a checksum piece by piece gives the checksum of the whole.
        const int split = n / 3;
        const quint32 first = OsdFile::crc32(data.constData(), split);
        QCOMPARE(OsdFile::crc32(data.constData() + split, n - split, first), referenceCrc32(data));
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
    Held held;
    QList<VideoControlOSD *> records;
    QList<SourceData *> sources;
    for (int i = 0; i < count; ++i) {
        records.append(randomRecord(rng, held));
        sources.append(rng.bounded(2) ? randomSource(rng, held) : nullptr);
    }

    const QByteArray bytes = encoded(records, sources);
    QVERIFY(!bytes.isEmpty());
    OsdFile::Contents contents;
    QString error;
    QVERIFY2(OsdFile::decode(bytes, &contents, &error), qPrintable(error));
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
    Held held;
    auto *record = held.record(new VideoControlOSD);
    auto *source = held.source(new SourceData);
    source->setTextFont(font);
    OsdFile::Contents contents;
    QString error;
    QVERIFY2(OsdFile::decode(encoded({record}, {source}), &contents, &error), qPrintable(error));
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
    Held held;
    auto *record = held.record(new VideoControlOSD);
    record->setSelectColor(color);
    auto *source = held.source(new SourceData);
    source->setTextColor(color);
    OsdFile::Contents contents;
    QString error;
    QVERIFY2(OsdFile::decode(encoded({record}, {source}), &contents, &error), qPrintable(error));
    compareColor(contents.records().at(0)->selectColor(), color);
    compareColor(contents.sources().at(0)->getTextColor(), color);
}

void TestOsdFile::neverSetRecordRoundTrips()
{
    Held held;
    auto *record = held.record(new VideoControlOSD);
    auto *source = held.source(new SourceData);
    OsdFile::Contents contents;
    QString error;
    QVERIFY2(OsdFile::decode(encoded({record, record}, {nullptr, source}), &contents, &error),
             qPrintable(error));
    QCOMPARE(contents.count(), 2);
    compareRecord(contents.records().at(0), record);
    QCOMPARE(contents.records().at(0)->size(), QSize());
    QCOMPARE(contents.records().at(0)->red(), -1);
    QVERIFY(contents.sources().at(0) == nullptr);
    // The same record listed twice comes back as two records.
    QVERIFY(contents.records().at(0) != contents.records().at(1));
    compareSource(contents.sources().at(1), source);
}

// A picture record of 1 x 1 pixel and no source, byte for byte as docs/osd-file-format.md lays it
// out. A change here is a change of the file format and needs a new format version.
void TestOsdFile::layoutIsTheDocumentedOne()
{
    Held held;
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
    const quint32 crc = OsdFile::crc32(expected.constData(), expected.size());
    expected.append(char(crc & 0xFF)).append(char(crc >> 8)).append(char(crc >> 16)).append(char(crc >> 24));
    QCOMPARE(encoded({r}, {nullptr}).toHex(), expected.toHex());
}

void TestOsdFile::everyTruncationIsRefused()
{
    QRandomGenerator rng(99);
    Held held;
    const QList<VideoControlOSD *> records{randomRecord(rng, held), randomRecord(rng, held)};
    const QList<SourceData *> sources{nullptr, randomSource(rng, held)};
    const QByteArray bytes = encoded(records, sources);
    for (int n = 0; n < bytes.size(); ++n) {
        OsdFile::Contents contents;
        QString error;
        QVERIFY2(!OsdFile::decode(bytes.left(n), &contents, &error), qPrintable(QString::number(n)));
        QVERIFY(!error.isEmpty());
        QCOMPARE(contents.count(), 0);
        QCOMPARE(contents.sources().size(), 0);
    }
    // The whole file still reads.
    OsdFile::Contents contents;
    QVERIFY(OsdFile::decode(bytes, &contents, nullptr));
}

void TestOsdFile::everyByteFlipIsRefused()
{
    QRandomGenerator rng(5);
    Held held;
    const QByteArray bytes =
        encoded({randomRecord(rng, held), randomRecord(rng, held)}, {randomSource(rng, held), nullptr});
    for (int i = 0; i < bytes.size(); ++i) {
        for (const uchar mask : {uchar(0x01), uchar(0x80), uchar(0xFF)}) {
            QByteArray damaged = bytes;
            damaged[i] = char(uchar(damaged[i]) ^ mask);
            OsdFile::Contents contents;
            QString error;
            QVERIFY2(!OsdFile::decode(damaged, &contents, &error),
                     qPrintable(QStringLiteral("offset %1 mask %2").arg(i).arg(mask)));
            QVERIFY(!error.isEmpty());
            QCOMPARE(contents.count(), 0);
        }
    }
}

// A file of one text record with a 2 x 1 image; patches change it and reseal it with a correct
// length and checksum, so only the field checks stand between the file and the reader.
void TestOsdFile::hostileFieldsAreRefused_data()
{
    QTest::addColumn<Patch>("patch");
    QTest::addColumn<bool>("reseal");
    QTest::addColumn<QString>("reason");

    // Offsets: header 20 bytes; record fields from 20; pixel data length at 84, 6 pixel bytes at
    // 88; the text source from 94: content length, content "ab".
    const int rec = OsdFile::HeaderSize;
    const int source = rec + 68 + 6;
    const int family = source + 4 + 2 + 4;

    auto str = [](const char *s) { return QString::fromUtf8(s); };
    QTest::newRow("wrong magic") << Patch([](QByteArray &b) { b[0] = 'X'; }) << true << str("文件标识不符");
    QTest::newRow("text file") << Patch([](QByteArray &b) { b = "hello world, this is text"; }) << false
                               << str("文件标识不符");
    QTest::newRow("empty") << Patch([](QByteArray &b) { b.clear(); }) << false << str("文件为空");
    QTest::newRow("only the magic") << Patch([](QByteArray &b) { b.truncate(8); }) << false << str("截断");
    QTest::newRow("newer version") << Patch([](QByteArray &b) { b[8] = 2; }) << true
                                   << str("文件格式版本 2 不受支持");
    QTest::newRow("header flags") << Patch([](QByteArray &b) { b[11] = 1; }) << true << str("文件头标志位");
    QTest::newRow("bad checksum") << Patch([](QByteArray &b) { b[b.size() - 1] = char(b.back() ^ 1); })
                                  << false << str("校验和不符");
    QTest::newRow("declared longer") << Patch([](QByteArray &b) { putU32(b, 12, quint32(b.size() + 1)); })
                                     << false << str("文件已截断");
    QTest::newRow("declared huge") << Patch([](QByteArray &b) { putU32(b, 12, 0xFFFFFFFFu); }) << false
                                   << str("文件过大");
    QTest::newRow("trailing garbage")
        << Patch([](QByteArray &b) { b.append("xyz"); }) << false << str("多余数据");
    QTest::newRow("garbage after records, resealed")
        << Patch([](QByteArray &b) { b.insert(b.size() - 4, "xyz"); }) << true << str("多余数据");
    QTest::newRow("count huge") << Patch([](QByteArray &b) { putU32(b, 16, 0xFFFFFFFFu); }) << true
                                << str("记录数 4294967295 与文件大小不符");
    QTest::newRow("count one too many")
        << Patch([](QByteArray &b) { putU32(b, 16, 2); }) << true << str("第 2 条记录");
    QTest::newRow("count zero") << Patch([](QByteArray &b) { putU32(b, 16, 0); }) << true << str("多余数据");
    QTest::newRow("unknown record flag")
        << Patch([rec](QByteArray &b) { b[rec] = char(0x20); }) << true << str("标志位");
    QTest::newRow("negative width") << Patch([rec](QByteArray &b) { putU32(b, rec + 1, quint32(-5)); })
                                    << true << str("尺寸 -5×1 无效");
    QTest::newRow("enormous height") << Patch([rec](QByteArray &b) { putU32(b, rec + 5, 0x7FFFFFFF); })
                                     << true << str("尺寸 2×2147483647 无效");
    QTest::newRow("negative completion width")
        << Patch([rec](QByteArray &b) { putU32(b, rec + 9, quint32(-1)); }) << true << str("补齐宽度 -1");
    QTest::newRow("completion width not matching data")
        << Patch([rec](QByteArray &b) { putU32(b, rec + 9, 3); }) << true << str("像素数据长度 6 与尺寸不符");
    QTest::newRow("pixel length huge")
        << Patch([rec](QByteArray &b) { putU32(b, rec + 64, 0xFFFFFFF0u); }) << true << str("像素数据长度");
    QTest::newRow("pixels beyond the end") << Patch([rec](QByteArray &b) {
        putU32(b, rec + 5, 40); // height 40 wants 240 bytes
        putU32(b, rec + 64, 240);
    }) << true << str("像素数据超出文件末尾");
    QTest::newRow("key value out of range")
        << Patch([rec](QByteArray &b) { putU32(b, rec + 41, 256); }) << true << str("颜色值 (256");
    QTest::newRow("unknown colour model")
        << Patch([rec](QByteArray &b) { b[rec + 53] = 9; }) << true << str("填充色无效");
    QTest::newRow("invalid colour with components") << Patch([rec](QByteArray &b) {
        b[rec + 53] = 0;
        b[rec + 57] = 1;
    }) << true << str("填充色无效");
    QTest::newRow("text length huge") << Patch([source](QByteArray &b) { putU32(b, source, 0x7FFFFFFF); })
                                      << true << str("文字数据超出文件末尾");
    QTest::newRow("text not UTF-8") << Patch([source](QByteArray &b) { b[source + 4] = char(0xFF); }) << true
                                    << str("不是有效的UTF-8");
    QTest::newRow("overlong UTF-8") << Patch([source](QByteArray &b) {
        b[source + 4] = char(0xC0);
        b[source + 5] = char(0x80);
    }) << true << str("不是有效的UTF-8");
    QTest::newRow("UTF-8 surrogate") << Patch([source](QByteArray &b) {
        b.insert(source + 6, "\xED\xA0\x80");
        putU32(b, source, 5);
    }) << true << str("不是有效的UTF-8");
    QTest::newRow("UTF-8 cut short") << Patch([source](QByteArray &b) { b[source + 5] = char(0xE4); }) << true
                                     << str("不是有效的UTF-8");
    QTest::newRow("font name not UTF-8") << Patch([family](QByteArray &b) {
        b.insert(family + 4, "\xFE");
        putU32(b, family, 1);
    }) << true << str("字体名称不是有效的UTF-8");
    QTest::newRow("unknown font setting bits")
        << Patch([source](QByteArray &b) { putU32(b, source + 6, 0x80000000u); }) << true
        << str("字体设置位无效");
    QTest::newRow("family count huge") << Patch([family](QByteArray &b) {
        // Empty family (the test font's family is replaced by an empty one) and an empty style name.
        const quint32 familyLength = qFromLittleEndian<quint32>(b.constData() + family);
        b.remove(family + 4, int(familyLength));
        putU32(b, family, 0);
        putU32(b, family + 8, 0x40000000u);
    }) << true << str("字体名称个数");
}

void TestOsdFile::hostileFieldsAreRefused()
{
    QFETCH(Patch, patch);
    QFETCH(bool, reseal);
    QFETCH(QString, reason);

    Held held;
    auto *record = held.record(new VideoControlOSD);
    record->setImage(QByteArray::fromHex("010203040506"));
    record->setSize(QSize(2, 1));
    record->setCompletionImageWidth(2);
    auto *source = held.source(new SourceData);
    source->setContent("ab");
    source->setTextFont(QFont("DejaVu Sans", 12));
    QByteArray bytes = encoded({record}, {source});
    {
        OsdFile::Contents contents;
        QVERIFY(OsdFile::decode(bytes, &contents, nullptr));
    }
    patch(bytes);
    if (reseal)
        ::reseal(bytes);
    OsdFile::Contents contents;
    QString error;
    QVERIFY(!OsdFile::decode(bytes, &contents, &error));
    QVERIFY2(error.contains(reason), qPrintable(error));
    QCOMPARE(contents.count(), 0);
}

void TestOsdFile::refusedRecordsAreNotWritten_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QString>("reason");
    auto str = [](const char *s) { return QString::fromUtf8(s); };
    QTest::newRow("data shorter than the size") << Setup([](VideoControlOSD *r) {
        r->setSize(QSize(2, 2));
        r->setCompletionImageWidth(2);
        r->setImage(QByteArray(6, 'x'));
    }) << str("第 1 条记录：像素数据长度 6 与尺寸不符（应为 12）");
    QTest::newRow("data without a size")
        << Setup([](VideoControlOSD *r) { r->setImage("abc"); }) << str("像素数据长度 3");
    QTest::newRow("negative size") << Setup([](VideoControlOSD *r) { r->setSize(QSize(-3, 1)); })
                                   << str("尺寸 -3×1 无效");
    QTest::newRow("too wide") << Setup([](VideoControlOSD *r) {
        r->setSize(QSize(OsdFile::MaxDimension + 1, 0));
    }) << str("无效");
    QTest::newRow("key value") << Setup([](VideoControlOSD *r) { r->setBlue(300); }) << str("颜色值");
}

void TestOsdFile::refusedRecordsAreNotWritten()
{
    QFETCH(Setup, setup);
    QFETCH(QString, reason);
    Held held;
    auto *record = held.record(new VideoControlOSD);
    setup(record);
    QByteArray bytes = "old";
    QString error;
    QVERIFY(!OsdFile::encode({record}, {nullptr}, &bytes, &error));
    QVERIFY2(error.contains(reason), qPrintable(error));
    QVERIFY(bytes.isEmpty());

    // Lists of different length and null records are refused as well.
    QVERIFY(!OsdFile::encode({record}, {}, &bytes, &error));
    QVERIFY(error.contains(QString::fromUtf8("不一致")));
    QVERIFY(!OsdFile::encode({nullptr}, {nullptr}, &bytes, &error));
    QVERIFY(error.contains(QString::fromUtf8("记录为空")));
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
    Held held;
    const QList<VideoControlOSD *> records{randomRecord(rng, held), randomRecord(rng, held)};
    const QList<SourceData *> sources{randomSource(rng, held), nullptr};
    const QString path = dir.filePath(name);
    QString error;
    QVERIFY2(OsdFile::write(path, records, sources, &error), qPrintable(error));

    // Both extensions share one layout: the file is exactly the encoded bytes.
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), encoded(records, sources));
    file.close();

    OsdFile::Contents contents;
    QVERIFY2(OsdFile::read(path, &contents, &error), qPrintable(error));
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
    Held held;
    auto *record = held.record(new VideoControlOSD);
    QString error;
    QVERIFY(!OsdFile::write(dir.filePath(target), {record}, {nullptr}, &error));
    QVERIFY2(error.startsWith(QString::fromUtf8("无法创建文件")), qPrintable(error));
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

void TestOsdFile::unreadableFilesAreRefused()
{
    QTemporaryDir dir;
    OsdFile::Contents contents;
    QString error;
    QVERIFY(!OsdFile::read(dir.filePath("missing.pic"), &contents, &error));
    QCOMPARE(error, QString::fromUtf8("文件不存在"));
    QVERIFY(!OsdFile::read(dir.path(), &contents, &error));
    QCOMPARE(error, QString::fromUtf8("不是普通文件"));
    if (QFileInfo::exists("/dev/zero")) {
        QVERIFY(!OsdFile::read("/dev/zero", &contents, &error));
        QCOMPARE(error, QString::fromUtf8("不是普通文件"));
    }
    QFile f(dir.filePath("text.pic"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("not an OSD file at all");
    f.close();
    QVERIFY(!OsdFile::read(f.fileName(), &contents, &error));
    QVERIFY(error.contains(QString::fromUtf8("文件标识不符")));
}

// Fonts take their defaults from the GUI application, as they do in the editor; no widgets needed.
int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    TestOsdFile test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_osdfile.moc"
