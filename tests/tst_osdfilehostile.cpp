// What the OSD file reader and writer refuse, and how each refusal is worded for the operator.
#include "interfaces/device/osdfile.h"
#include "support/core/heldrecords.h"
#include "support/core/osdfilebytes.h"
#include "support/core/osdfileinvariants.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMetaEnum>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <functional>

using OsdFileBytes::encoded;
using OsdFileBytes::putU32;
using Detail = QVector<qint64>;
using Patch = std::function<void(QByteArray &)>;
using Setup = std::function<void(VideoControlOSD *)>;
Q_DECLARE_METATYPE(Patch)
Q_DECLARE_METATYPE(Setup)
Q_DECLARE_METATYPE(OsdFileError)

namespace {

QString str(const char *s)
{
    return QString::fromUtf8(s);
}

// An empty detail in a table row means the numbers do not matter to it.
void compareError(const OsdFileError &actual, OsdFileError::Code code, int record, const Detail &detail)
{
    QCOMPARE(actual.code, code);
    QCOMPARE(actual.record, record);
    if (!detail.isEmpty())
        QCOMPARE(actual.detail, detail);
}

} // namespace

class TestOsdFileHostile : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_live = SharedRecord::liveCount(); }
    void cleanup() { QCOMPARE(SharedRecord::liveCount(), m_live); }

    void hostileFieldsAreRefused_data();
    void hostileFieldsAreRefused();
    void refusedRecordsAreNotWritten_data();
    void refusedRecordsAreNotWritten();
    void unreadableFilesAreRefused_data();
    void unreadableFilesAreRefused();
    void everyRefusalIsWorded_data();
    void everyRefusalIsWorded();

private:
    int m_live = 0;
};

// A file of one text record with a 2 x 1 image; patches change it and, where the row says so,
// reseal it with a correct length and checksum, so only the field checks stand between the file
// and the reader.
void TestOsdFileHostile::hostileFieldsAreRefused_data()
{
    QTest::addColumn<Patch>("patch");
    QTest::addColumn<bool>("reseal");
    QTest::addColumn<OsdFileError::Code>("code");
    QTest::addColumn<int>("record");
    QTest::addColumn<Detail>("detail");

    // Offsets: header 20 bytes; record fields from 20; pixel data length at 84, 6 pixel bytes at
    // 88; the text source from 94: content length, content "ab".
    const int rec = OsdFile::HeaderSize;
    const int source = rec + 68 + 6;
    const int family = source + 4 + 2 + 4;
    using E = OsdFileError;

    QTest::newRow("wrong magic is not an OSD file")
        << Patch([](QByteArray &b) { b[0] = 'X'; }) << true << E::NotOsdFile << -1 << Detail{};
    QTest::newRow("a text file is not an OSD file")
        << Patch([](QByteArray &b) { b = "hello world, this is text"; }) << false << E::NotOsdFile << -1
        << Detail{};
    QTest::newRow("no bytes is empty")
        << Patch([](QByteArray &b) { b.clear(); }) << false << E::Empty << -1 << Detail{};
    QTest::newRow("only the magic is a cut header")
        << Patch([](QByteArray &b) { b.truncate(8); }) << false << E::HeaderTruncated << -1 << Detail{8};
    QTest::newRow("a newer version is not supported")
        << Patch([](QByteArray &b) { b[8] = 2; }) << true << E::UnsupportedVersion << -1 << Detail{2, 1};
    QTest::newRow("header flags must be 0")
        << Patch([](QByteArray &b) { b[11] = 1; }) << true << E::BadHeaderFlags << -1 << Detail{};
    QTest::newRow("a wrong checksum is damage")
        << Patch([](QByteArray &b) { b[b.size() - 1] = char(b.back() ^ 1); }) << false << E::ChecksumMismatch
        << -1 << Detail{};
    QTest::newRow("stated longer than it is: truncated")
        << Patch([](QByteArray &b) { putU32(b, 12, quint32(b.size() + 1)); }) << false << E::Truncated << -1
        << Detail{};
    QTest::newRow("stated length above the limit")
        << Patch([](QByteArray &b) { putU32(b, 12, 0xFFFFFFFFu); }) << false << E::FileTooLarge << -1
        << Detail{0xFFFFFFFF, OsdFile::MaxInMemorySize};
    QTest::newRow("garbage after the checksum")
        << Patch([](QByteArray &b) { b.append("xyz"); }) << false << E::ExtraBytes << -1 << Detail{};
    QTest::newRow("garbage after the records, resealed")
        << Patch([](QByteArray &b) { b.insert(b.size() - 4, "xyz"); }) << true << E::BytesAfterRecords << -1
        << Detail{3};
    QTest::newRow("a huge record count does not fit")
        << Patch([](QByteArray &b) { putU32(b, 16, 0xFFFFFFFFu); }) << true << E::RecordCountMismatch << -1
        << Detail{0xFFFFFFFF};
    QTest::newRow("one record too many runs past the end in the second")
        << Patch([](QByteArray &b) { putU32(b, 16, 2); }) << true << E::DataPastEnd << 1 << Detail{};
    QTest::newRow("no records leaves bytes over")
        << Patch([](QByteArray &b) { putU32(b, 16, 0); }) << true << E::BytesAfterRecords << -1 << Detail{};
    QTest::newRow("an unknown record flag") << Patch([rec](QByteArray &b) { b[rec] = char(0x20); }) << true
                                            << E::BadRecordFlags << 0 << Detail{0x20};
    QTest::newRow("a negative width") << Patch([rec](QByteArray &b) { putU32(b, rec + 1, quint32(-5)); })
                                      << true << E::BadSize << 0 << Detail{-5, 1};
    QTest::newRow("an enormous height") << Patch([rec](QByteArray &b) { putU32(b, rec + 5, 0x7FFFFFFF); })
                                        << true << E::BadSize << 0 << Detail{2, 0x7FFFFFFF};
    QTest::newRow("a negative completion width")
        << Patch([rec](QByteArray &b) { putU32(b, rec + 9, quint32(-1)); }) << true << E::BadCompletionWidth
        << 0 << Detail{-1};
    QTest::newRow("a completion width the data does not match")
        << Patch([rec](QByteArray &b) { putU32(b, rec + 9, 3); }) << true << E::PixelLengthMismatch << 0
        << Detail{6, 9};
    QTest::newRow("a huge pixel length") << Patch([rec](QByteArray &b) { putU32(b, rec + 64, 0xFFFFFFF0u); })
                                         << true << E::PixelLengthMismatch << 0 << Detail{0xFFFFFFF0, 6};
    QTest::newRow("pixels beyond the end") << Patch([rec](QByteArray &b) {
        putU32(b, rec + 5, 40); // height 40 wants 240 bytes
        putU32(b, rec + 64, 240);
    }) << true << E::PixelDataPastEnd << 0 << Detail{};
    QTest::newRow("a key value out of range") << Patch([rec](QByteArray &b) { putU32(b, rec + 41, 256); })
                                              << true << E::BadKeyValues << 0 << Detail{256, -1, -1};
    QTest::newRow("an unknown colour model")
        << Patch([rec](QByteArray &b) { b[rec + 53] = 9; }) << true << E::BadFillColor << 0 << Detail{};
    QTest::newRow("an invalid colour with components") << Patch([rec](QByteArray &b) {
        b[rec + 53] = 0;
        b[rec + 57] = 1;
    }) << true << E::BadFillColor << 0 << Detail{};
    QTest::newRow("a huge text length runs past the end")
        << Patch([source](QByteArray &b) { putU32(b, source, 0x7FFFFFFF); }) << true << E::SourcePastEnd << 0
        << Detail{};
    QTest::newRow("text that is not UTF-8") << Patch([source](QByteArray &b) { b[source + 4] = char(0xFF); })
                                            << true << E::TextNotUtf8 << 0 << Detail{};
    QTest::newRow("overlong UTF-8") << Patch([source](QByteArray &b) {
        b[source + 4] = char(0xC0);
        b[source + 5] = char(0x80);
    }) << true << E::TextNotUtf8 << 0
                                    << Detail{};
    QTest::newRow("a UTF-8 surrogate") << Patch([source](QByteArray &b) {
        b.insert(source + 6, "\xED\xA0\x80");
        putU32(b, source, 5);
    }) << true << E::TextNotUtf8 << 0 << Detail{};
    QTest::newRow("UTF-8 cut short") << Patch([source](QByteArray &b) { b[source + 5] = char(0xE4); }) << true
                                     << E::TextNotUtf8 << 0 << Detail{};
    QTest::newRow("a font name that is not UTF-8") << Patch([family](QByteArray &b) {
        b.insert(family + 4, "\xFE");
        putU32(b, family, 1);
    }) << true << E::FontNameNotUtf8 << 0 << Detail{};
    QTest::newRow("unknown font setting bits")
        << Patch([source](QByteArray &b) { putU32(b, source + 6, 0x80000000u); }) << true
        << E::BadFontResolveMask << 0 << Detail{};
    QTest::newRow("a huge family count does not fit") << Patch([family](QByteArray &b) {
        // Empty family (the test font's family is replaced by an empty one) and an empty style name.
        const quint32 familyLength = qFromLittleEndian<quint32>(b.constData() + family);
        b.remove(family + 4, int(familyLength));
        putU32(b, family, 0);
        putU32(b, family + 8, 0x40000000u);
    }) << true << E::FontNameCountMismatch << 0 << Detail{0x40000000};
}

void TestOsdFileHostile::hostileFieldsAreRefused()
{
    QFETCH(Patch, patch);
    QFETCH(bool, reseal);
    QFETCH(OsdFileError::Code, code);
    QFETCH(int, record);
    QFETCH(Detail, detail);

    HeldRecords held;
    auto *r = held.record(new VideoControlOSD);
    r->setImage(QByteArray::fromHex("010203040506"));
    r->setSize(QSize(2, 1));
    r->setCompletionImageWidth(2);
    auto *source = held.source(new SourceData);
    source->setContent("ab");
    source->setTextFont(QFont("DejaVu Sans", 12));
    QByteArray bytes = encoded({r}, {source});
    {
        OsdFile::Contents contents;
        OsdFileError error;
        QVERIFY2(OsdFile::decode(bytes, &contents, &error), qPrintable(error.message()));
    }
    patch(bytes);
    if (reseal)
        bytes = OsdFileInvariants::resealed(bytes);
    OsdFile::Contents contents;
    OsdFileError error;
    QVERIFY(!OsdFile::decode(bytes, &contents, &error));
    compareError(error, code, record, detail);
    QCOMPARE(contents.count(), 0);
}

void TestOsdFileHostile::refusedRecordsAreNotWritten_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<int>("sources");
    QTest::addColumn<OsdFileError::Code>("code");
    QTest::addColumn<int>("record");
    QTest::addColumn<Detail>("detail");
    using E = OsdFileError;
    QTest::newRow("data shorter than the size") << Setup([](VideoControlOSD *r) {
        r->setSize(QSize(2, 2));
        r->setCompletionImageWidth(2);
        r->setImage(QByteArray(6, 'x'));
    }) << 1 << E::PixelLengthMismatch << 0 << Detail{6, 12};
    QTest::newRow("data without a size") << Setup([](VideoControlOSD *r) { r->setImage("abc"); }) << 1
                                         << E::PixelLengthMismatch << 0 << Detail{3, 0};
    QTest::newRow("a negative size") << Setup([](VideoControlOSD *r) { r->setSize(QSize(-3, 1)); }) << 1
                                     << E::BadSize << 0 << Detail{-3, 1};
    QTest::newRow("too wide") << Setup([](VideoControlOSD *r) {
        r->setSize(QSize(OsdFile::MaxDimension + 1, 0));
    }) << 1 << E::BadSize << 0 << Detail{OsdFile::MaxDimension + 1, 0};
    QTest::newRow("a key value out of range") << Setup([](VideoControlOSD *r) { r->setBlue(300); }) << 1
                                              << E::BadKeyValues << 0 << Detail{-1, -1, 300};
    QTest::newRow("lists of different length")
        << Setup([](VideoControlOSD *) {}) << 0 << E::ListsDiffer << -1 << Detail{1, 0};
    QTest::newRow("a null record") << Setup() << 1 << E::NullRecord << 0 << Detail{};
}

void TestOsdFileHostile::refusedRecordsAreNotWritten()
{
    QFETCH(Setup, setup);
    QFETCH(int, sources);
    QFETCH(OsdFileError::Code, code);
    QFETCH(int, record);
    QFETCH(Detail, detail);
    HeldRecords held;
    VideoControlOSD *r = nullptr;
    if (setup) {
        r = held.record(new VideoControlOSD);
        setup(r);
    }
    QList<SourceData *> sourceList;
    for (int k = 0; k < sources; ++k)
        sourceList.append(nullptr);
    QByteArray bytes = "old";
    OsdFileError error;
    QVERIFY(!OsdFile::encode({r}, sourceList, &bytes, &error));
    compareError(error, code, record, detail);
    QVERIFY(bytes.isEmpty());
}

void TestOsdFileHostile::unreadableFilesAreRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<OsdFileError::Code>("code");
    QTest::newRow("a missing file") << "missing.pic" << OsdFileError::FileNotFound;
    QTest::newRow("a folder") << "." << OsdFileError::NotRegularFile;
    if (QFileInfo::exists("/dev/zero"))
        QTest::newRow("a device") << "/dev/zero" << OsdFileError::NotRegularFile;
    QTest::newRow("a text file") << "text.pic" << OsdFileError::NotOsdFile;
}

void TestOsdFileHostile::unreadableFilesAreRefused()
{
    QFETCH(QString, name);
    QFETCH(OsdFileError::Code, code);
    QTemporaryDir dir;
    QFile text(dir.filePath("text.pic"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("not an OSD file at all");
    text.close();
    OsdFile::Contents contents;
    OsdFileError error;
    QVERIFY(!OsdFile::read(QDir(dir.path()).filePath(name), &contents, &error));
    QCOMPARE(error.code, code);
    QCOMPARE(error.record, -1);
}

// The one place that pins the wording: a row for every code.
void TestOsdFileHostile::everyRefusalIsWorded_data()
{
    QTest::addColumn<OsdFileError>("error");
    QTest::addColumn<QString>("text");
    using E = OsdFileError;
    QSet<int> worded;
    auto row = [&worded](const E &error, const char *text) {
        worded.insert(error.code);
        QTest::addRow("%s %d", QMetaEnum::fromType<E::Code>().valueToKey(error.code), worded.size())
            << error << str(text);
    };
    const qint64 limit = OsdFile::MaxTextSize;
    row(E::None, "");
    row(E::FileNotFound, "文件不存在");
    row(E::NotRegularFile, "不是普通文件");
    row(E::fromSystem(E::CannotOpen, "Permission denied"), "无法打开文件（Permission denied）");
    row({E::FileTooLarge, {5000000000, 4294967295}}, "文件过大（5000000000 字节，上限 4294967295 字节）");
    row({E::FileTooLarge, {-1, 2147483583}}, "文件过大（超过 2147483583 字节的上限）");
    row(E::Empty, "文件为空");
    row(E::NotOsdFile, "不是OSD文件（文件标识不符）");
    row({E::HeaderTruncated, {8}}, "文件已截断（只有 8 字节）");
    row({E::UnsupportedVersion, {2, 1}}, "文件格式版本 2 不受支持（支持版本 1）");
    row(E::BadHeaderFlags, "文件头标志位无效");
    row({E::Truncated, {100, 90}}, "文件已截断（应为 100 字节，实际 90 字节）");
    row({E::ExtraBytes, {100, 103}}, "文件末尾有多余数据（应为 100 字节，实际 103 字节）");
    row(E::ShrankWhileReading, "文件在读取时变短");
    row(E::fromSystem(E::ReadFailed, "Input/output error"), "读取失败（Input/output error）");
    row({E::RecordCountMismatch, {4294967295}}, "记录数 4294967295 与文件大小不符");
    row({E::BytesAfterRecords, {3}}, "记录之后有 3 字节多余数据");
    row(E::ChecksumMismatch, "文件已损坏（校验和不符）");
    row(E::OutOfMemory, "内存不足，无法读取文件");
    row(E(E::DataPastEnd).atRecord(1), "第 2 条记录：数据超出文件末尾");
    row(E(E::DataPastEnd), "数据超出文件末尾");
    row(E(E::BadRecordFlags, {0x20}).atRecord(0), "第 1 条记录：标志位 0x20 无效");
    row(E(E::BadSize, {-5, 1}).atRecord(0), "第 1 条记录：尺寸 -5×1 无效");
    row(E(E::BadCompletionWidth, {-1}).atRecord(2), "第 3 条记录：补齐宽度 -1 无效");
    row(E(E::BadKeyValues, {256, -1, 0}).atRecord(0), "第 1 条记录：颜色值 (256,-1,0) 无效");
    row(E(E::BadFillColor).atRecord(0), "第 1 条记录：填充色无效");
    row(E(E::PixelLengthMismatch, {6, 9}).atRecord(0), "第 1 条记录：像素数据长度 6 与尺寸不符（应为 9）");
    row(E(E::PixelDataPastEnd).atRecord(0), "第 1 条记录：像素数据超出文件末尾");
    row(E(E::PixelDataTooLarge, {3000000000, 2146435072}).atRecord(0),
        "第 1 条记录：像素数据过大（3000000000 字节，上限 2146435072 字节）");
    row(E(E::SourcePastEnd).atRecord(0), "第 1 条记录：文字数据超出文件末尾");
    row(E(E::TextTooLong, {-1, limit}).atRecord(0), "第 1 条记录：文字内容过长（上限 16777216 字节）");
    row(E(E::TextTooLong, {16777217, limit}).atRecord(0),
        "第 1 条记录：文字内容过长（16777217 字节，上限 16777216 字节）");
    row(E(E::TextNotUtf8).atRecord(0), "第 1 条记录：文字内容不是有效的UTF-8");
    row(E(E::FontNameTooLong, {limit}).atRecord(0), "第 1 条记录：字体名称过长（上限 16777216 字节）");
    row(E(E::FontNameNotUtf8).atRecord(0), "第 1 条记录：字体名称不是有效的UTF-8");
    row(E(E::FontNameCountMismatch, {7}).atRecord(0), "第 1 条记录：字体名称个数 7 与文件大小不符");
    row(E(E::BadFontResolveMask).atRecord(0), "第 1 条记录：字体设置位无效");
    row(E(E::BadFontSize).atRecord(0), "第 1 条记录：字号无效");
    row(E(E::BadFontWeight, {100}).atRecord(0), "第 1 条记录：字重 100 无效");
    row(E(E::BadFontStyle, {3}).atRecord(0), "第 1 条记录：字形 3 无效");
    row(E(E::BadFontStyleHint, {9}).atRecord(0), "第 1 条记录：字体类别 9 无效");
    row(E(E::BadFontStyleStrategy).atRecord(0), "第 1 条记录：字体匹配方式无效");
    row(E(E::BadFontStretch, {4001}).atRecord(0), "第 1 条记录：字体拉伸 4001 无效");
    row(E(E::BadCapitalization, {5}).atRecord(0), "第 1 条记录：大小写方式 5 无效");
    row(E(E::BadFontSpacing).atRecord(0), "第 1 条记录：字距无效");
    row(E(E::BadHintingPreference, {4}).atRecord(0), "第 1 条记录：字体微调方式 4 无效");
    row(E(E::BadFontFlags).atRecord(0), "第 1 条记录：字体标志位无效");
    row(E(E::BadTextColor).atRecord(0), "第 1 条记录：文字颜色无效");
    row({E::ListsDiffer, {2, 1}}, "记录数 2 与文字数据数 1 不一致");
    row(E(E::NullRecord).atRecord(0), "第 1 条记录：记录为空");
    row(E::fromSystem(E::CannotCreate, "Is a directory"), "无法创建文件（Is a directory）");
    row(E::fromSystem(E::WriteFailed, "No space left on device"), "写入失败（No space left on device）");
    row(E::NotStarted, "文件尚未开始写入");
    row({E::LengthBelowCount, {24, 3}}, "文件长度 24 容不下 3 条记录");
    row({E::MoreRecordsThanStated, {2}}, "记录多于文件头所写的 2 条");
    row(E(E::RecordPastStatedLength, {90, 200}).atRecord(2),
        "第 3 条记录：记录长度 90 字节，超出文件头所写的文件长度 200 字节");
    row({E::FewerRecordsThanStated, {2, 3}}, "只写了 2 条记录，文件头写的是 3 条");
    row({E::RecordsShortOfStatedLength, {176, 201}}, "记录共 176 字节，与文件头所写的文件长度 201 字节不符");
    row(E::Cancelled, "写入已取消");
    QCOMPARE(worded.size(), QMetaEnum::fromType<E::Code>().keyCount());
}

void TestOsdFileHostile::everyRefusalIsWorded()
{
    QFETCH(OsdFileError, error);
    QFETCH(QString, text);
    QCOMPARE(error.message(), text);
}

// Fonts take their defaults from the GUI application, as they do in the editor; no widgets needed.
int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    TestOsdFileHostile test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_osdfilehostile.moc"
