#include "interfaces/device/control.h"
#include "interfaces/device/osdfile.h"
#include "interfaces/model/datamode.h"
#include "interfaces/model/sourcedata.h"
#include "interfaces/model/videocontrolosd.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// A picture record of w x 1 pixels whose bytes all equal tag, so records can be told apart.
VideoControlOSD *pictureRecord(int w, char tag)
{
    auto *r = new VideoControlOSD;
    r->setImage(QByteArray(w * 3, tag));
    r->setSize(QSize(w, 1));
    r->setCompletionImageWidth(w);
    r->setOSDFileLength(w * 3);
    r->setLocation(QPoint(tag, -tag));
    r->setCutImageSize(QRect(0, 0, w, 1));
    r->setIsCanEnableCut(tag % 2);
    r->setIsAvailable(true);
    return r;
}

SourceData *textSource(const QString &text)
{
    auto *s = new SourceData;
    s->setContent(text);
    QFont font("DejaVu Sans", 14);
    font.setBold(true);
    font.setUnderline(true);
    s->setTextFont(font);
    s->setTextColor(QColor(250, 10, 20));
    return s;
}

// The data model's lists as tags (first pixel byte) and source texts ("-" for a picture item).
QStringList modelSummary()
{
    QStringList summary;
    const QList<VideoControlOSD *> records = DataMode::getInstance()->getOSDInfos();
    const QList<SourceData *> sources = DataMode::getInstance()->getSourcedatList();
    for (int i = 0; i < records.size(); ++i) {
        const QByteArray image = records.at(i)->image();
        const SourceData *s = i < sources.size() ? sources.at(i) : nullptr;
        summary << QStringLiteral("%1:%2")
                       .arg(image.isEmpty() ? '?' : image.at(0))
                       .arg(s ? s->getContent() : "-");
    }
    if (sources.size() != records.size())
        summary << QStringLiteral("sources %1").arg(sources.size());
    return summary;
}

// Sets the data model to the given records (tags) and sources and saves it.
bool saveModel(const QString &path, const QList<VideoControlOSD *> &records,
               const QList<SourceData *> &sources)
{
    DataMode::getInstance()->setOSDInfos(records);
    DataMode::getInstance()->setSourcedatList(sources);
    const bool ok = Control::getInstance()->savaOSDfile(path);
    DataMode::getInstance()->clearDataModel();
    return ok;
}

QString tr8(const char *s)
{
    return QString::fromUtf8(s);
}

} // namespace

class TestControl : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void saveAndLoadRoundTrip_data();
    void saveAndLoadRoundTrip();
    void severalFilesAppendInOrder();
    void failedLoadLeavesModelUnchanged_data();
    void failedLoadLeavesModelUnchanged();
    void saveRefusesUnequalLists();
    void failedSaveKeepsExistingFile();
    void preparedFilesLoadFromMemory();
    void badPreparedFileKeepsNothing();
    void discardedPreparationFreesRecords();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    int m_live = 0;
    QString path(const QString &name) const { return m_dir->filePath(name); }
    // a.pic: picture 'A', text "一"; b.logo: picture 'B'; c.pic: text "三"
    void writeSampleFiles();
};

void TestControl::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    DataMode::getInstance()->clearDataModel();
    Control::getInstance()->discardPrepared();
    m_live = SharedRecord::liveCount();
}

void TestControl::cleanup()
{
    DataMode::getInstance()->clearDataModel();
    Control::getInstance()->discardPrepared();
    QCOMPARE(SharedRecord::liveCount(), m_live);
}

void TestControl::writeSampleFiles()
{
    QVERIFY(saveModel(path("a.pic"), {pictureRecord(2, 'A'), pictureRecord(1, 'a')},
                      {nullptr, textSource(tr8("一"))}));
    QVERIFY(saveModel(path("b.logo"), {pictureRecord(3, 'B')}, {nullptr}));
    QVERIFY(saveModel(path("c.pic"), {pictureRecord(1, 'c')}, {textSource(tr8("三"))}));
    QCOMPARE(SharedRecord::liveCount(), m_live);
}

void TestControl::saveAndLoadRoundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("pic") << "round.pic";
    QTest::newRow("logo") << "round.logo";
}

void TestControl::saveAndLoadRoundTrip()
{
    QFETCH(QString, name);
    VideoControlOSD *picture = pictureRecord(4, 'P');
    picture->setCutImageSize(QRect(1, 0, 2, 1));
    picture->setSelectColor(QColor(9, 8, 7));
    picture->setIsSelectColor(true);
    VideoControlOSD *text = pictureRecord(2, 'T');
    text->setRed(5);
    text->setGreen(245);
    text->setBlue(235);
    SourceData *source = textSource(tr8("你好\nworld"));
    const QFont font = source->getTextFont();
    DataMode::getInstance()->setOSDInfos({picture, text});
    DataMode::getInstance()->setSourcedatList({nullptr, source});
    QVERIFY2(Control::getInstance()->savaOSDfile(path(name)),
             qPrintable(Control::getInstance()->errorString()));
    QVERIFY(Control::getInstance()->errorString().isEmpty());
    DataMode::getInstance()->clearDataModel();
    QCOMPARE(SharedRecord::liveCount(), m_live);

    QVERIFY2(Control::getInstance()->loadOSDfile(path(name)),
             qPrintable(Control::getInstance()->errorString()));
    const QList<VideoControlOSD *> records = DataMode::getInstance()->getOSDInfos();
    const QList<SourceData *> sources = DataMode::getInstance()->getSourcedatList();
    QCOMPARE(records.size(), 2);
    QCOMPARE(sources.size(), 2);
    QVERIFY(sources.at(0) == nullptr);
    QCOMPARE(records.at(0)->image(), QByteArray(12, 'P'));
    QCOMPARE(records.at(0)->size(), QSize(4, 1));
    QCOMPARE(records.at(0)->completionImageWidth(), 4);
    QCOMPARE(records.at(0)->location(), QPoint('P', -'P'));
    QCOMPARE(records.at(0)->CutImageSize(), QRect(1, 0, 2, 1));
    QCOMPARE(records.at(0)->IsCanEnableCut(), bool('P' % 2));
    QCOMPARE(records.at(0)->selectColor(), QColor(9, 8, 7));
    QVERIFY(records.at(0)->IsSelectColor());
    QCOMPARE(records.at(1)->red(), 5);
    QCOMPARE(records.at(1)->blue(), 235);
    QVERIFY(sources.at(1) != nullptr);
    QCOMPARE(sources.at(1)->getContent(), tr8("你好\nworld"));
    QCOMPARE(sources.at(1)->getTextFont(), font);
    QVERIFY(sources.at(1)->getTextFont().bold());
    QVERIFY(sources.at(1)->getTextFont().underline());
    QCOMPARE(sources.at(1)->getTextColor(), QColor(250, 10, 20));
    // The data model's lists are the only holders of what was loaded.
    QCOMPARE(records.at(0)->holderCount(), 1);
    QCOMPARE(sources.at(1)->holderCount(), 1);
}

void TestControl::severalFilesAppendInOrder()
{
    writeSampleFiles();
    // What the model already holds stays in front.
    DataMode::getInstance()->appendRecords({pictureRecord(1, 'x')}, {nullptr});
    for (const char *name : {"c.pic", "a.pic", "b.logo", "c.pic"})
        QVERIFY2(Control::getInstance()->loadOSDfile(path(name)),
                 qPrintable(Control::getInstance()->errorString()));
    QCOMPARE(modelSummary(), (QStringList{"x:-", tr8("c:三"), "A:-", tr8("a:一"), "B:-", tr8("c:三")}));
    // Loading a file twice gives separate records.
    const QList<VideoControlOSD *> records = DataMode::getInstance()->getOSDInfos();
    QVERIFY(records.at(1) != records.at(5));
}

void TestControl::failedLoadLeavesModelUnchanged_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<OsdFileError::Code>("code");
    QTest::newRow("missing") << "missing.pic" << QByteArray() << OsdFileError::FileNotFound;
    QTest::newRow("not an OSD file") << "text.pic" << QByteArray("hello") << OsdFileError::NotOsdFile;
    QTest::newRow("empty") << "empty.logo" << QByteArray("") << OsdFileError::Empty;
    QTest::newRow("damaged") << "damaged.pic" << QByteArray("flip") << OsdFileError::ChecksumMismatch;
    QTest::newRow("truncated") << "short.pic" << QByteArray("cut") << OsdFileError::Truncated;
}

void TestControl::failedLoadLeavesModelUnchanged()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(OsdFileError::Code, code);
    writeSampleFiles();
    if (content == "flip" || content == "cut") {
        QFile good(path("a.pic"));
        QVERIFY(good.open(QIODevice::ReadOnly));
        QByteArray bytes = good.readAll();
        if (content == "flip")
            bytes[40] = char(bytes.at(40) ^ 0x10);
        else
            bytes.chop(10);
        content = bytes;
    }
    if (!content.isNull()) {
        QFile f(path(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }

    QVERIFY(Control::getInstance()->loadOSDfile(path("b.logo")));
    const QList<VideoControlOSD *> before = DataMode::getInstance()->getOSDInfos();
    const int live = SharedRecord::liveCount();
    QVERIFY(!Control::getInstance()->loadOSDfile(path(name)));
    QCOMPARE(DataMode::getInstance()->getOSDInfos(), before);
    QCOMPARE(DataMode::getInstance()->getSourcedatList().size(), before.size());
    QCOMPARE(SharedRecord::liveCount(), live);
    // The message names the file and hands on the reader's reason.
    OsdFile::Contents contents;
    OsdFileError reason;
    QVERIFY(!OsdFile::read(path(name), &contents, &reason));
    QCOMPARE(reason.code, code);
    QCOMPARE(Control::getInstance()->errorString(),
             tr8("无法读取文件 ") + QDir::toNativeSeparators(path(name)) + ": " + reason.message());

    // The next success clears the message.
    QVERIFY(Control::getInstance()->loadOSDfile(path("c.pic")));
    QVERIFY(Control::getInstance()->errorString().isEmpty());
}

void TestControl::saveRefusesUnequalLists()
{
    DataMode::getInstance()->setOSDInfos({pictureRecord(1, 'a'), pictureRecord(1, 'b')});
    DataMode::getInstance()->setSourcedatList({nullptr});
    QVERIFY(!Control::getInstance()->savaOSDfile(path("unequal.pic")));
    QCOMPARE(Control::getInstance()->errorString(),
             tr8("无法保存文件 ") + QDir::toNativeSeparators(path("unequal.pic")) + ": " +
                 OsdFileError(OsdFileError::ListsDiffer, {2, 1}).message());
    QVERIFY(!QFile::exists(path("unequal.pic")));
}

void TestControl::failedSaveKeepsExistingFile()
{
    writeSampleFiles();
    QFile original(path("a.pic"));
    QVERIFY(original.open(QIODevice::ReadOnly));
    const QByteArray before = original.readAll();
    original.close();

    DataMode::getInstance()->setOSDInfos({pictureRecord(5, 'z')});
    DataMode::getInstance()->setSourcedatList({nullptr});
    // The file's parent is a regular file: nobody, not even root, can create it.
    QVERIFY(!Control::getInstance()->savaOSDfile(path("b.logo/new.pic")));
    QVERIFY(Control::getInstance()->errorString().contains(tr8("无法创建文件")));
    // A record that cannot be stored: the existing file is not replaced.
    DataMode::getInstance()->getOSDInfos().at(0)->setCompletionImageWidth(4);
    QVERIFY(!Control::getInstance()->savaOSDfile(path("a.pic")));
    const OsdFileError refused = OsdFileError(OsdFileError::PixelLengthMismatch, {15, 12}).atRecord(0);
    QVERIFY2(Control::getInstance()->errorString().endsWith(": " + refused.message()),
             qPrintable(Control::getInstance()->errorString()));
    QVERIFY(original.open(QIODevice::ReadOnly));
    QCOMPARE(original.readAll(), before);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

void TestControl::preparedFilesLoadFromMemory()
{
    writeSampleFiles();
    QVERIFY2(Control::getInstance()->prepareOSDfiles({path("a.pic"), path("c.pic")}),
             qPrintable(Control::getInstance()->errorString()));
    // Preparing leaves the data model alone.
    QVERIFY(DataMode::getInstance()->getOSDInfos().isEmpty());
    // The prepared contents are used even when the files have gone (or changed) since.
    QVERIFY(QFile::remove(path("a.pic")));
    QVERIFY(QFile::remove(path("c.pic")));
    QVERIFY(Control::getInstance()->loadOSDfile(path("c.pic")));
    // Another spelling of the same path finds the prepared file.
    QVERIFY(Control::getInstance()->loadOSDfile(m_dir->path() + "/./a.pic"));
    QVERIFY(Control::getInstance()->loadOSDfile(path("b.logo")));
    QCOMPARE(modelSummary(), (QStringList{tr8("c:三"), "A:-", tr8("a:一"), "B:-"}));
    // A prepared file is taken once; afterwards it is read from disk again.
    QVERIFY(!Control::getInstance()->loadOSDfile(path("a.pic")));
    QVERIFY(Control::getInstance()->errorString().endsWith(
        ": " + OsdFileError(OsdFileError::FileNotFound).message()));
}

void TestControl::badPreparedFileKeepsNothing()
{
    writeSampleFiles();
    QFile bad(path("bad.pic"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("BLOSD\r\n\x1a nonsense");
    bad.close();
    const int live = SharedRecord::liveCount();
    QVERIFY(!Control::getInstance()->prepareOSDfiles({path("a.pic"), path("bad.pic"), path("c.pic")}));
    const QString error = Control::getInstance()->errorString();
    QVERIFY2(error.startsWith(tr8("无法读取文件 ") + QDir::toNativeSeparators(path("bad.pic"))),
             qPrintable(error));
    QCOMPARE(SharedRecord::liveCount(), live);
    QVERIFY(DataMode::getInstance()->getOSDInfos().isEmpty());
    // Nothing was kept: a.pic is read from disk, so its removal is noticed.
    QVERIFY(QFile::remove(path("a.pic")));
    QVERIFY(!Control::getInstance()->loadOSDfile(path("a.pic")));
}

void TestControl::discardedPreparationFreesRecords()
{
    writeSampleFiles();
    QVERIFY(Control::getInstance()->prepareOSDfiles({path("a.pic"), path("b.logo")}));
    QCOMPARE(SharedRecord::liveCount(), m_live + 4); // three records and one source
    QVERIFY(Control::getInstance()->loadOSDfile(path("b.logo")));
    Control::getInstance()->discardPrepared();
    QCOMPARE(SharedRecord::liveCount(), m_live + 1); // b.logo's record, held by the data model
    // Preparing anew replaces what was kept before.
    QVERIFY(Control::getInstance()->prepareOSDfiles({path("a.pic")}));
    QVERIFY(Control::getInstance()->prepareOSDfiles({path("c.pic")}));
    QCOMPARE(SharedRecord::liveCount(), m_live + 1 + 2);
}

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    TestControl test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_control.moc"
