#include "core/pixels/pictureloader.h"
#include "interfaces/model/videocontrolosd.h"
#include "mainwindow/quillmere.h"
#include "osditem/osditem.h"
#include "support/core/pngbytes.h"
#include "support/quillmereaccess.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <functional>

using Damage = std::function<void(QByteArray &)>;
Q_DECLARE_METATYPE(Damage)

namespace {

template <typename T> void putLittleEndian(QByteArray &bytes, int offset, T value)
{
    char b[sizeof(T)];
    qToLittleEndian(value, b);
    bytes.replace(offset, int(sizeof(T)), b, int(sizeof(T)));
}

template <typename T> void putBigEndian(QByteArray &bytes, int offset, T value)
{
    char b[sizeof(T)];
    qToBigEndian(value, b);
    bytes.replace(offset, int(sizeof(T)), b, int(sizeof(T)));
}

// A picture with detail everywhere, so that every part of the file matters to the decoder.
QImage testPicture(int width = 64, int height = 48)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 7) & 0xFF, (y * 11) & 0xFF, ((x ^ y) * 5) & 0xFF));
    }
    return image;
}

QByteArray encoded(const QImage &image, const char *format, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format, quality))
        QTest::qFail(qPrintable(QStringLiteral("cannot encode %1").arg(QLatin1String(format))), __FILE__,
                     __LINE__);
    return bytes;
}

// A PNG of nothing but a header stating the given size, a scrap of data and the end: what a
// decompression bomb looks like to whoever reads its header.
QByteArray pngHeaderOnly(quint32 width, quint32 height)
{
    // The decoder reads the header chunks up to the first data chunk before it states a size.
    return PngBytes::file({PngBytes::header(width, height), PngBytes::chunk("IDAT", QByteArray(16, 'x')),
                           PngBytes::chunk("IEND", QByteArray())});
}

// A real JPEG whose frame header is patched to state another size.
QByteArray jpegClaiming(quint16 width, quint16 height)
{
    QByteArray bytes = encoded(testPicture(16, 16), "jpg");
    const int sof = bytes.indexOf("\xFF\xC0");
    if (sof < 0) {
        QTest::qFail("no baseline frame header", __FILE__, __LINE__);
        return bytes;
    }
    putBigEndian(bytes, sof + 5, height);
    putBigEndian(bytes, sof + 7, width);
    return bytes;
}

QByteArray bmpClaiming(qint32 width, qint32 height)
{
    QByteArray bytes = encoded(testPicture(4, 4), "bmp");
    putLittleEndian(bytes, 18, width);
    putLittleEndian(bytes, 22, height);
    return bytes;
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        QTest::qFail(qPrintable(QStringLiteral("cannot write ") + file.fileName()), __FILE__, __LINE__);
    return file.fileName();
}

QStringList g_messages;
void recordMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    g_messages.append(message);
}

} // namespace

class TestPictureLoader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        QVERIFY(m_dir.isValid());
    }

    void goodPicturesLoad_data();
    void goodPicturesLoad();
    void oversizedHeadersAreRefusedBeforeDecoding_data();
    void oversizedHeadersAreRefusedBeforeDecoding();
    void damagedPicturesAreRefused_data();
    void damagedPicturesAreRefused();
    void filesThatAreNoPictures_data();
    void filesThatAreNoPictures();
    void topDownBmpLoads();
    void decoderWarningsAreTakenAndHandlerRestored();
    void pictureButtonRefusesWithReason_data();
    void pictureButtonRefusesWithReason();

private:
    QTemporaryDir m_dir;
};

void TestPictureLoader::goodPicturesLoad_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("exact");

    const QImage picture = testPicture();
    QTest::newRow("png") << encoded(picture, "png") << "a.png" << picture.size() << true;
    QTest::newRow("bmp 24 bit") << encoded(picture.convertToFormat(QImage::Format_RGB888), "bmp") << "a.bmp"
                                << picture.size() << true;
    QTest::newRow("bmp 32 bit with alpha") << encoded(picture.convertToFormat(QImage::Format_ARGB32), "bmp")
                                           << "b.bmp" << picture.size() << true;
    QTest::newRow("bmp odd width (row padding)")
        << encoded(testPicture(5, 3), "bmp") << "odd.bmp" << QSize(5, 3) << true;
    QTest::newRow("jpg") << encoded(picture, "jpg", 95) << "a.jpg" << picture.size() << false;
    QTest::newRow("jpeg with data after its end")
        << encoded(picture, "jpg", 95) + QByteArray("trailing bytes after the end marker") << "b.jpeg"
        << picture.size() << false;
    QTest::newRow("png under a bmp name")
        << encoded(picture, "png") << "png-really.bmp" << picture.size() << true;
    QTest::newRow("as wide as allowed") << encoded(testPicture(PictureLoader::MaxSide, 1), "png")
                                        << "wide.png" << QSize(PictureLoader::MaxSide, 1) << true;
}

void TestPictureLoader::goodPicturesLoad()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(bool, exact);
    QString reason = "untouched";
    const QString file = writeFile(m_dir, name, bytes);
    // The header's size is known before decoding, and it is the size the picture has.
    QCOMPARE(PictureLoader::statedSize(file), size);
    const QImage image = PictureLoader::load(file, &reason);
    QVERIFY2(!image.isNull(), qPrintable(reason));
    QCOMPARE(image.size(), size);
    const QImage expected = testPicture(size.width(), size.height());
    if (exact) {
        QCOMPARE(image.convertToFormat(QImage::Format_RGB32), expected);
    } else {
        // Lossy: close to the original on average.
        qint64 error = 0;
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x) {
                const QRgb a = image.pixel(x, y), b = expected.pixel(x, y);
                error += qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b));
            }
        }
        const double mean = double(error) / (3.0 * size.width() * size.height());
        QVERIFY2(mean < 12, qPrintable(QString::number(mean)));
    }
}

void TestPictureLoader::oversizedHeadersAreRefusedBeforeDecoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");

    const QString tooLarge = QString::fromUtf8("超过上限");
    QTest::newRow("png 100000 x 100000") << pngHeaderOnly(100000, 100000) << "bomb.png"
                                         << "100000×100000 " + tooLarge;
    QTest::newRow("png one pixel too wide") << pngHeaderOnly(PictureLoader::MaxSide + 1, 1) << "wide.png"
                                            << "16385×1 " + tooLarge;
    QTest::newRow("png one pixel too high") << pngHeaderOnly(1, PictureLoader::MaxSide + 1) << "high.png"
                                            << "1×16385 " + tooLarge;
    QTest::newRow("png too many pixels") << pngHeaderOnly(8193, 8192) << "area.png"
                                         << "8193×8192 " + tooLarge;
    // Beyond what the PNG decoder itself accepts in a header.
    QTest::newRow("png largest 31-bit size")
        << pngHeaderOnly(0x7FFFFFFF, 0x7FFFFFFF) << "max.png" << QString::fromUtf8("读不出图片尺寸");
    QTest::newRow("jpeg 65000 x 65000") << jpegClaiming(65000, 65000) << "bomb.jpg"
                                        << "65000×65000 " + tooLarge;
    QTest::newRow("bmp one pixel too wide") << bmpClaiming(PictureLoader::MaxSide + 1, 1) << "wide.bmp"
                                            << "16385×1 " + tooLarge;
    QTest::newRow("bmp top-down 20000 high") << bmpClaiming(4, -20000) << "high.bmp"
                                             << "4×20000 " + tooLarge;
    // Beyond what the BMP decoder itself accepts in a header.
    QTest::newRow("bmp 1000000 x 1000000")
        << bmpClaiming(1000000, 1000000) << "bomb.bmp" << QString::fromUtf8("读不出图片尺寸");
}

void TestPictureLoader::oversizedHeadersAreRefusedBeforeDecoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(QString, reason);
    const QString path = writeFile(m_dir, name, bytes);
    QString why;
    const QImage image = PictureLoader::load(path, &why);
    QVERIFY(image.isNull());
    QVERIFY2(why.contains(reason), qPrintable(why));
}

void TestPictureLoader::damagedPicturesAreRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");

    const QImage picture = testPicture();
    const QByteArray png = encoded(picture, "png");
    const QByteArray jpg = encoded(picture, "jpg", 95);
    const QByteArray bmp = encoded(picture, "bmp");
    auto scribbled = [](QByteArray bytes) {
        for (int i = bytes.size() / 2; i < bytes.size() / 2 + 40; ++i)
            bytes[i] = char(0x5A);
        return bytes;
    };
    for (const double part : {0.9, 0.5, 0.2}) {
        const QString percent = QString::number(int(part * 100)) + "%";
        QTest::addRow("png cut to %s", qPrintable(percent)) << png.left(int(png.size() * part)) << "cut.png";
        QTest::addRow("jpg cut to %s", qPrintable(percent)) << jpg.left(int(jpg.size() * part)) << "cut.jpg";
        QTest::addRow("bmp cut to %s", qPrintable(percent)) << bmp.left(int(bmp.size() * part)) << "cut.bmp";
    }
    QTest::newRow("bmp one byte short") << bmp.left(bmp.size() - 1) << "short.bmp";
    // Uncompressed rows are counted whatever the header's data size (here 1 byte) says.
    QByteArray understated = bmp.left(bmp.size() - 1);
    understated.replace(34, 4, QByteArray::fromHex("01000000"));
    QTest::newRow("bmp one byte short, data size understated") << understated << "understated.bmp";
    QTest::newRow("png scribbled over") << scribbled(png) << "scribbled.png";
    QTest::newRow("jpg scribbled over") << scribbled(jpg) << "scribbled.jpg";
}

void TestPictureLoader::damagedPicturesAreRefused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QString reason;
    const QImage image = PictureLoader::load(writeFile(m_dir, name, bytes), &reason);
    QVERIFY(image.isNull());
    QVERIFY2(reason.contains(QString::fromUtf8("已损坏或不完整")), qPrintable(reason));
}

void TestPictureLoader::filesThatAreNoPictures_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << m_dir.filePath("missing.png") << QString::fromUtf8("文件不存在");
    QTest::newRow("directory") << m_dir.path() << QString::fromUtf8("不是普通文件");
    QTest::newRow("text") << writeFile(m_dir, "text.png", "this is not a picture at all")
                          << QString::fromUtf8("无法识别的图片格式");
    QTest::newRow("empty") << writeFile(m_dir, "empty.jpg", QByteArray())
                           << QString::fromUtf8("无法识别的图片格式");
    QTest::newRow("png zero wide") << writeFile(m_dir, "zero.png", pngHeaderOnly(0, 10))
                                   << QString::fromUtf8("图片数据已损坏或不完整（读不出图片尺寸");
}

void TestPictureLoader::filesThatAreNoPictures()
{
    QFETCH(QString, path);
    QFETCH(QString, reason);
    QString why;
    QVERIFY(PictureLoader::load(path, &why).isNull());
    QVERIFY2(why.startsWith(reason), qPrintable(why));
    QVERIFY(!PictureLoader::statedSize(path).isValid());
}

// Rows stored top to bottom: the header states a negative height.
void TestPictureLoader::topDownBmpLoads()
{
    const QImage picture = testPicture(6, 5);
    QByteArray bytes = encoded(picture, "bmp");
    putLittleEndian(bytes, 22, qint32(-5));
    QString reason;
    const QString file = writeFile(m_dir, "topdown.bmp", bytes);
    QCOMPARE(PictureLoader::statedSize(file), QSize(6, 5));
    const QImage image = PictureLoader::load(file, &reason);
    QVERIFY2(!image.isNull(), qPrintable(reason));
    QCOMPARE(image.convertToFormat(QImage::Format_RGB32), picture.mirrored());
}

void TestPictureLoader::decoderWarningsAreTakenAndHandlerRestored()
{
    const QByteArray jpg = encoded(testPicture(), "jpg", 95);
    const QString path = writeFile(m_dir, "warn.jpg", jpg.left(jpg.size() / 2));
    g_messages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(recordMessage);
    QString reason;
    const bool refused = PictureLoader::load(path, &reason).isNull();
    qWarning("after loading");
    qInstallMessageHandler(previous);
    QVERIFY(refused);
    // The decoder's complaint became the reason instead of a stray warning; other messages go on
    // to whoever handled them before.
    QVERIFY2(reason.contains("JPEG"), qPrintable(reason));
    QCOMPARE(g_messages, QStringList{"after loading"});
}

void TestPictureLoader::pictureButtonRefusesWithReason_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    const QByteArray jpg = encoded(testPicture(), "jpg", 95);
    const QByteArray bmp = encoded(testPicture(), "bmp");
    QTest::newRow("bomb") << pngHeaderOnly(60000, 60000) << "bomb.png"
                          << QString::fromUtf8("图片尺寸 60000×60000 超过上限");
    QTest::newRow("cut jpg") << jpg.left(jpg.size() / 2) << "cut.jpg" << QString::fromUtf8("已损坏或不完整");
    QTest::newRow("cut bmp") << bmp.left(bmp.size() - 10) << "cut.bmp" << QString::fromUtf8("已损坏或不完整");
}

// The main window's picture button goes through the loader: a refused file leaves the tab as it
// was and tells the operator why.
void TestPictureLoader::pictureButtonRefusesWithReason()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(QString, reason);
    Quillmere w;
    TestSupport::answerNextFileDialogWithFile(writeFile(m_dir, "good.png", encoded(testPicture(), "png")));
    w.slot_picturnButten();
    const QList<OSDItem *> before = QuillmereTestAccess::currentItems(w);
    QCOMPARE(before.size(), 1);
    QCOMPARE(before.first()->videoControlOSD()->size(), testPicture().size());
    const int records = SharedRecord::liveCount();

    const QString path = writeFile(m_dir, name, bytes);
    QStringList shown;
    TestSupport::answerNextFileDialogWithFile(path);
    TestSupport::answerNextModal(QStringLiteral("OK"), &shown);
    w.slot_picturnButten();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QCOMPARE(shown.value(0), QString::fromUtf8("错误提示"));
    const QString message = shown.join('\n');
    QVERIFY2(message.contains(QDir::toNativeSeparators(path)) && message.contains(reason),
             qPrintable(message));
    QCOMPARE(QuillmereTestAccess::currentItems(w), before);
    QCOMPARE(SharedRecord::liveCount(), records);
}

QTEST_MAIN(TestPictureLoader)
#include "tst_pictureloader.moc"
