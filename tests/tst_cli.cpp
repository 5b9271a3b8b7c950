// brisklane-cli, driven as a separate process: its exit codes and messages, and files that are the
// same as the editor's for the same inputs.
#include "interfaces/device/osdfile.h"
#include "interfaces/model/datamode.h"
#include "interfaces/model/sourcedata.h"
#include "interfaces/model/videocontrolosd.h"
#include "interfaces/records/itemrecords.h"
#include "mainwindow/quillmere.h"
#include "osditem/osditem.h"
#include "support/core/filesizelimit.h"
#include "support/core/heldrecords.h"
#include "support/core/pictures.h"
#include "support/quillmereaccess.h"
#include "support/testsupport.h"
#include "support/windowparts.h"
#include "textexport/exporttextimage.h"
#include "widgets/doubleslider.h"
#include "widgets/styled/checkboxex.h"

#include <QAction>
#include <QApplication>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <memory>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using A = QuillmereTestAccess;

namespace {

struct Run
{
    int code = -1;
    QString out;
    QString err;
};

// The tool speaks the language of its locale: it runs under the C locale (Chinese, the language its
// refusals are written in) unless a test names another, whatever the machine's locale is.
Run runProgram(const QString &program, const QStringList &arguments, const QString &workDir,
               const QString &locale = QStringLiteral("C.UTF-8"))
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), locale);
    // As in a pipeline or a container: no session, so Qt finds no runtime folder.
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    process.setProcessEnvironment(environment);
    if (!workDir.isEmpty())
        process.setWorkingDirectory(workDir);
    process.start(program, arguments);
    Run run;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.code = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

Run runCli(const QStringList &arguments, const QString &workDir = QString(),
           const QString &locale = QStringLiteral("C.UTF-8"))
{
    return runProgram(QStringLiteral(BRISKLANE_CLI), arguments, workDir, locale);
}

// The tool in a child process whose address space is held to kib KiB. AddressSanitizer reserves
// terabytes of address space for its shadow and cannot start under such a limit: its build runs the
// tool unlimited (the refusals are the same; the bound itself is checked by the plain build).
Run runCliInAddressSpace(qint64 kib, const QStringList &arguments, const QString &workDir)
{
#if defined(__SANITIZE_ADDRESS__)
    kib = -1;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    kib = -1;
#endif
#endif
    if (kib < 0)
        return runCli(arguments, workDir);
    return runProgram(QStringLiteral("/bin/sh"),
                      QStringList{QStringLiteral("-c"),
                                  QStringLiteral("ulimit -v %1 && exec \"$0\" \"$@\"").arg(kib),
                                  QStringLiteral(BRISKLANE_CLI)} +
                          arguments,
                      workDir);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A 24-bit BMP written byte by byte (rows bottom-up, padded to four bytes), with the BGR bytes of
// its pixels top-down: what a packed record must hold, known without any decoder.
QByteArray handMadeBmp(int width, int height, QByteArray *bgrTopDown)
{
    const int stride = (width * 3 + 3) / 4 * 4;
    QByteArray bmp(54 + stride * height, '\0');
    auto *p = reinterpret_cast<uchar *>(bmp.data());
    p[0] = 'B';
    p[1] = 'M';
    qToLittleEndian<quint32>(quint32(bmp.size()), p + 2);
    qToLittleEndian<quint32>(54, p + 10);
    qToLittleEndian<quint32>(40, p + 14);
    qToLittleEndian<qint32>(width, p + 18);
    qToLittleEndian<qint32>(height, p + 22);
    qToLittleEndian<quint16>(1, p + 26);
    qToLittleEndian<quint16>(24, p + 28);
    bgrTopDown->clear();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const char bgr[3] = {char(x * 40 + y), char(y * 70 + 3), char(x * y * 13 + 200)};
            bgrTopDown->append(bgr, 3);
            memcpy(p + 54 + (height - 1 - y) * stride + x * 3, bgr, 3);
        }
    }
    return bmp;
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();

    void exitCodesAndMessages_data();
    void exitCodesAndMessages();
    void refusalsFollowTheLanguage_data();
    void refusalsFollowTheLanguage();
    void refusedPackWritesNothing();
    void packEqualsEditorExport();
    void infoJsonListsEditorRecords();
    void extractGivesSourcePixels();
    void packedPixelsAreTheDecodedBgrBytes_data();
    void packedPixelsAreTheDecodedBgrBytes();
    void checkReportsEveryDamagedFile();
    void writesPastTheFileSizeLimitFail_data();
    void writesPastTheFileSizeLimitFail();
    void extractRefusesPicturesMadeUpFromLittle();

private:
    // Makes the editor's file from the inputs of m_manifest through the window; once.
    QString editorExport();

    QTemporaryDir m_dir;
    QString m_editorFile;
    QList<OSDItem *> m_editorItems;
    std::unique_ptr<Quillmere> m_editor;
};

void TestCli::initTestCase()
{
    TestSupport::failOnQtWarnings();
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QVERIFY(m_dir.isValid());
    QVERIFY(TestSupport::numberedPicture(300, 200).save(m_dir.filePath(QStringLiteral("a.png"))));
    QImage translucent = TestSupport::numberedPicture(90, 70).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < translucent.height(); ++y)
        for (int x = 0; x < translucent.width(); ++x)
            translucent.setPixelColor(x, y, QColor(x * 2, y * 3, 77, (x * 7 + y) % 256));
    QVERIFY(translucent.save(m_dir.filePath(QStringLiteral("b.png"))));
    writeFile(m_dir.filePath(QStringLiteral("notapicture.png")), "no picture here");
    QDir(m_dir.path()).mkpath(QStringLiteral("existing"));
    writeFile(m_dir.filePath(QStringLiteral("existing/000.png")), "x");
#ifdef Q_OS_UNIX
    // Names that stand for something other than a regular file.
    for (const char *pipe : {"pipe.pic", "pipe.png", "pipe.json"})
        QCOMPARE(mkfifo(QFile::encodeName(m_dir.filePath(QLatin1String(pipe))).constData(), 0600), 0);
    QVERIFY(QFile::link(m_dir.filePath(QStringLiteral("a.png")), m_dir.filePath(QStringLiteral("link.pic"))));
    QDir(m_dir.path()).mkpath(QStringLiteral("dangling"));
    QVERIFY(QFile::link(m_dir.filePath(QStringLiteral("nowhere")),
                        m_dir.filePath(QStringLiteral("dangling/000.png"))));
#endif
    // A text with a zero, an escape sequence and a bell in it.
    writeFile(m_dir.filePath(QStringLiteral("ctl.json")),
              R"([{"text": "Live\u0000Hall 3\u001b[31m\u0007"}])");
    QCOMPARE(runCli({QStringLiteral("pack"), QStringLiteral("-o"), QStringLiteral("ctl.pic"),
                     QStringLiteral("ctl.json")},
                    m_dir.path())
                 .code,
             0);
    // The item as the editor makes it below: cut and keyed picture, text, translucent picture.
    writeFile(m_dir.filePath(QStringLiteral("items.json")), R"([
        {"picture": "a.png", "at": [5, 7], "cut": [10, 20, 100, 70], "cutOn": true,
         "key": {"r": [0, 128], "fill": "#00ff00", "fillOn": true}},
        {"text": "Brisklane draws this line wide enough to be broken by the window\nand a second line",
         "font": "DejaVu Sans", "size": 32, "bold": true, "italic": true, "color": "#ff0000"},
        {"picture": "b.png"}
    ])");
}

void TestCli::cleanupTestCase()
{
    m_editor.reset();
}

void TestCli::exitCodesAndMessages_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("said");

    QTest::newRow("help lists the commands") << QStringList{"--help"} << 0 << "extract";
    for (const char *command : {"info", "check", "pack", "extract"})
        QTest::addRow("%s has its own help", command) << QStringList{command, "--help"} << 0 << "Usage:";
    QTest::newRow("version") << QStringList{"--version"} << 0 << "brisklane-cli 1.0.0";
    QTest::newRow("an unknown command is a usage error")
        << QStringList{"frobnicate"} << 2 << "unknown command";
    QTest::newRow("an unknown option is a usage error")
        << QStringList{"info", "--frob", "x.pic"} << 2 << "frob";
    QTest::newRow("pack without output is a usage error") << QStringList{"pack", "a.png"} << 2 << "-o";
    QTest::newRow("pack into a name that is no OSD file is a usage error")
        << QStringList{"pack", "-o", "out.txt", "a.png"} << 2 << ".pic or .logo";
    QTest::newRow("pack of a picture succeeds")
        << QStringList{"pack", "-o", "ok.pic", "a.png"} << 0 << "ok.pic: 1 record\n";
    QTest::newRow("check counts one record")
        << QStringList{"check", "ok.pic"} << 0 << "ok.pic: ok (1 record)\n";
    QTest::newRow("--help-all is help too") << QStringList{"check", "--help-all"} << 0 << "Usage:";
    QTest::newRow("--help-all is help and nothing else")
        << QStringList{"extract", "--help-all", "ok.pic", "-o", "helped"} << 0 << "Usage:";
    QTest::newRow("info escapes a text's control characters")
        << QStringList{"info", "ctl.pic"} << 0 << R"(text "Live\x00Hall 3\x1b[31m\x07")";
    QTest::newRow("a file that is no picture is refused with the loader's reason")
        << QStringList{"pack", "-o", "x.pic", "notapicture.png"} << 1 << "无法识别的图片格式";
    QTest::newRow("a missing picture is refused, named once")
        << QStringList{"pack", "-o", "x.pic", "gone.png"} << 1 << "gone.png: item 0: 文件不存在";
    QTest::newRow("more items than the editor allows are refused")
        << (QStringList{"pack", "-o", "x.pic"} + QVector<QString>(51, "a.png").toList()) << 1
        << "限制OSD数量为50";
    QTest::newRow("an output in a missing folder is refused")
        << QStringList{"pack", "-o", "missing/x.pic", "a.png"} << 1 << "missing";
    QTest::newRow("info of a missing file is refused") << QStringList{"info", "gone.pic"} << 1 << "gone.pic";
    QTest::newRow("extract over existing pictures is refused")
        << QStringList{"extract", "ok.pic", "-o", "existing"} << 1 << "already exists";
    QTest::newRow("extract with force overwrites")
        << QStringList{"extract", "ok.pic", "-o", "existing", "--force"} << 0 << "000.png";
#ifdef Q_OS_UNIX
    QTest::newRow("pack into a pipe is refused")
        << QStringList{"pack", "-o", "pipe.pic", "a.png"} << 1 << "不是普通文件（管道";
    QTest::newRow("pack through a symbolic link is refused")
        << QStringList{"pack", "-o", "link.pic", "a.png"} << 1 << "是符号链接";
    QTest::newRow("a pipe as a picture is refused unread")
        << QStringList{"pack", "-o", "x.pic", "pipe.png"} << 1 << "pipe.png: item 0: 不是普通文件";
    QTest::newRow("a pipe as a manifest is refused unread")
        << QStringList{"pack", "-o", "x.pic", "pipe.json"} << 1 << "pipe.json: 不是普通文件";
    QTest::newRow("check of a pipe is refused unread")
        << QStringList{"check", "pipe.pic"} << 1 << "不是普通文件";
    QTest::newRow("extract through a dangling link is refused")
        << QStringList{"extract", "ok.pic", "-o", "dangling"} << 1 << "already exists";
    QTest::newRow("extract with force does not write through a link either")
        << QStringList{"extract", "ok.pic", "-o", "dangling", "--force"} << 1 << "是符号链接";
#endif

    const struct
    {
        const char *sentence;
        const char *item;
        const char *reason;
    } manifests[] = {
        {"a key range above 255 is refused", R"({"picture": "a.png", "key": {"g": [0, 256]}})", "key.g"},
        {"a key range with low above high is refused", R"({"picture": "a.png", "key": {"b": [9, 3]}})",
         "key.b"},
        {"a cut outside the picture is refused", R"({"picture": "a.png", "cut": [250, 0, 100, 100]})",
         "not inside"},
        {"a cut under the editor's minimum is refused", R"({"picture": "a.png", "cut": [0, 0, 63, 100]})",
         "smallest"},
        {"a cut switch without a cut is refused", R"({"picture": "a.png", "cutOn": true})",
         "needs a \"cut\""},
        {"a cut of a text item is refused", R"({"text": "x", "cut": [0, 0, 64, 64]})", "picture items"},
        {"an empty text is refused as the window refuses it", R"({"text": ""})",
         "输入的信息为空不能发送文本!"},
        {"a text of line breaks only is refused", R"({"text": "\n\n"})", "输入的信息为空不能发送文本!"},
        {"a size the text window does not take is refused", R"({"text": "x", "size": 12})", "\"size\""},
        {"an unknown key is refused", R"({"picture": "a.png", "cuton": true})", "unknown key"},
        {"a colour that is not #rrggbb is refused", R"({"text": "x", "color": "red"})", "\"color\""},
    };
    for (const auto &manifest : manifests) {
        const QString name =
            QStringLiteral("m%1.json").arg(QString::number(qHash(QLatin1String(manifest.sentence))));
        writeFile(m_dir.filePath(name), QByteArray("[") + manifest.item + "]");
        QTest::newRow(manifest.sentence)
            << QStringList{"pack", "-o", "x.pic", name} << 1 << QString::fromUtf8(manifest.reason);
    }
}

void TestCli::exitCodesAndMessages()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    QFETCH(QString, said);
    const Run run = runCli(arguments, m_dir.path());
    QCOMPARE(run.code, code);
    // Results on stdout; refusals and usage errors on stderr.
    QVERIFY2((code == 0 ? run.out : run.err).contains(said), qPrintable(run.out + run.err));
    if (code != 0)
        QVERIFY2(!run.err.trimmed().isEmpty() && run.out.isEmpty(), qPrintable(run.out));
    else
        QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
}

void TestCli::refusalsFollowTheLanguage_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("said");
    const QStringList missing{"pack", "-o", "x.pic", "gone.png"};
    QTest::newRow("an English locale")
        << "en_US.UTF-8" << missing << 1 << "gone.png: item 0: the file does not exist";
    QTest::newRow("a locale without a translation")
        << "de_DE.UTF-8" << missing << 1 << "the file does not exist";
    QTest::newRow("a Chinese locale") << "zh_CN.UTF-8" << missing << 1 << "gone.png: item 0: 文件不存在";
    QTest::newRow("--lang zh over an English locale")
        << "en_US.UTF-8" << QStringList{"--lang", "zh"} + missing << 1 << "文件不存在";
    QTest::newRow("--lang=en over the C locale")
        << "C.UTF-8" << QStringList{"--lang=en"} + missing << 1 << "the file does not exist";
    QTest::newRow("the editor's limit in English")
        << "en_US.UTF-8" << (QStringList{"pack", "-o", "x.pic"} + QVector<QString>(51, "a.png").toList()) << 1
        << "51 items: At most 50 OSDs";
    QTest::newRow("an unknown --lang is a usage error")
        << "C.UTF-8" << QStringList{"--lang", "fr", "check", "ok.pic"} << 2 << "--lang takes zh or en";
}

void TestCli::refusalsFollowTheLanguage()
{
    QFETCH(QString, locale);
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    QFETCH(QString, said);
    const Run run = runCli(arguments, m_dir.path(), locale);
    QCOMPARE(run.code, code);
    QVERIFY2(run.err.contains(said), qPrintable(run.err));
}

void TestCli::refusedPackWritesNothing()
{
    const QString target = m_dir.filePath(QStringLiteral("kept.pic"));
    writeFile(target, "old contents");
    const Run run =
        runCli({QStringLiteral("pack"), QStringLiteral("-o"), target, m_dir.filePath(QStringLiteral("a.png")),
                m_dir.filePath(QStringLiteral("notapicture.png"))});
    QCOMPARE(run.code, 1);
    QVERIFY(run.err.contains(QStringLiteral("item 1")));
    QCOMPARE(readFile(target), QByteArray("old contents"));
}

QString TestCli::editorExport()
{
    if (!m_editorFile.isEmpty())
        return m_editorFile;
    m_editor.reset(new Quillmere);
    Quillmere *w = m_editor.get();
    w->setSettingsFolder(m_dir.path());
    w->show();
    if (!QTest::qWaitForWindowExposed(w))
        return QString();

    // A picture, keyed with the red slider, cut and shown in its cut view, at (5, 7).
    TestSupport::answerNextFileDialogWithFile(m_dir.filePath(QStringLiteral("a.png")));
    w->slot_picturnButten();
    OSDItem *picture = A::currentItems(*w).value(0);
    A::setSelectColor(*w, QColor(0, 255, 0));
    TestSupport::propertyPanel(*w)->selectColorCheck()->setChecked(true);
    TestSupport::propertyPanel(*w)->slider(0)->moveMaxHandle(128);
    picture->slot_applyCutImage(QImage(), QRect(10, 20, 100, 70));
    picture->slot_selectShowArea();
    picture->setPos(5.6, 7.2);

    // A text from the text window, at its default size limit, in a tab of its own.
    w->on_notifyAddTable(0);
    w->slot_textButten();
    ExportTextImage *window = A::textWindow(*w);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(32);
    font.setBold(true);
    font.setItalic(true);
    window->loadText(QColor(255, 0, 0), font,
                     QStringLiteral("Brisklane draws this line wide enough to be broken by the window\n"
                                    "and a second line"));
    const QList<QAction *> actions = window->findChildren<QAction *>();
    for (QAction *action : actions)
        if (action->text() == QStringLiteral("发送到硬件"))
            action->trigger();
    OSDItem *text = A::currentItems(*w).value(0);

    w->on_notifyAddTable(0);
    TestSupport::answerNextFileDialogWithFile(m_dir.filePath(QStringLiteral("b.png")));
    w->slot_picturnButten();
    OSDItem *translucent = A::currentItems(*w).value(0);

    m_editorItems = {picture, text, translucent};
    if (!picture || !text || !translucent || text->isPicture())
        return QString();
    m_editorFile = m_dir.filePath(QStringLiteral("editor.pic"));
    TestSupport::answerNextFileDialogWithFile(m_editorFile);
    w->slot_outputButten();
    return m_editorFile;
}

void TestCli::packEqualsEditorExport()
{
    const QString editorFile = editorExport();
    QVERIFY(!editorFile.isEmpty());
    // The tool's default text limit is the one the window gets in a main window of default size,
    // and the text is long enough to be broken there.
    QCOMPARE(A::textWindow(*m_editor)->maxImageSize(), ItemRecords::defaultTextMaxSize());
    QCOMPARE(m_editorItems.at(1)->image().width(), ItemRecords::defaultTextMaxSize().width());
    const Run run = runCli({QStringLiteral("pack"), QStringLiteral("-o"), QStringLiteral("cli.pic"),
                            QStringLiteral("items.json")},
                           m_dir.path());
    QCOMPARE(run.code, 0);
    const QByteArray editorBytes = readFile(editorFile);
    QVERIFY(editorBytes.size() > 300 * 200 * 3);
    QVERIFY(readFile(m_dir.filePath(QStringLiteral("cli.pic"))) == editorBytes);
}

void TestCli::infoJsonListsEditorRecords()
{
    const QString editorFile = editorExport();
    QVERIFY(!editorFile.isEmpty());
    const Run run = runCli({QStringLiteral("info"), QStringLiteral("--json"), editorFile});
    QCOMPARE(run.code, 0);
    const QJsonArray files = QJsonDocument::fromJson(run.out.toUtf8()).array();
    QCOMPARE(files.size(), 1);
    QCOMPARE(files.at(0)[QStringLiteral("file")].toString(), editorFile);
    const QJsonArray records = files.at(0)[QStringLiteral("records")].toArray();
    QCOMPARE(records.size(), m_editorItems.size());
    for (int i = 0; i < records.size(); ++i) {
        const QJsonObject r = records.at(i).toObject();
        const OSDItem *item = m_editorItems.at(i);
        const VideoControlOSD *record = item->videoControlOSD();
        QCOMPARE(r[QStringLiteral("index")].toInt(), i);
        QCOMPARE(r[QStringLiteral("kind")].toString(), item->isPicture() ? "picture" : "text");
        QCOMPARE(QSize(r[QStringLiteral("width")].toInt(), r[QStringLiteral("height")].toInt()),
                 item->image().size());
        QCOMPARE(r[QStringLiteral("completionWidth")].toInt(), item->image().width());
        // Whole pixels, truncated.
        QCOMPARE(QPoint(r[QStringLiteral("x")].toInt(), r[QStringLiteral("y")].toInt()),
                 QPoint(int(item->pos().x()), int(item->pos().y())));
        const QJsonArray cut = r[QStringLiteral("cut")].toArray();
        QCOMPARE(r[QStringLiteral("cut")].isNull(), !item->hasCut());
        if (item->hasCut())
            QCOMPARE(QRect(cut[0].toInt(), cut[1].toInt(), cut[2].toInt(), cut[3].toInt()), item->cutRect());
        QCOMPARE(r[QStringLiteral("cutOn")].toBool(), item->isShowCutArea());
        QCOMPARE(r[QStringLiteral("fill")].toString(), record->selectColor().name());
        QCOMPARE(r[QStringLiteral("fillOn")].toBool(), record->IsSelectColor());
        QCOMPARE(r.contains(QStringLiteral("text")), !item->isPicture());
        if (const SourceData *source = item->sourceData()) {
            QCOMPARE(r[QStringLiteral("text")].toString(), source->getContent());
            QVERIFY(source->getContent().contains(QLatin1Char('\n')));
            const QJsonObject font = r[QStringLiteral("font")].toObject();
            QCOMPARE(font[QStringLiteral("family")].toString(), source->getTextFont().family());
            QCOMPARE(font[QStringLiteral("pointSize")].toInt(), 32);
            QVERIFY(font[QStringLiteral("bold")].toBool() && font[QStringLiteral("italic")].toBool());
            QVERIFY(!font[QStringLiteral("underline")].toBool());
            QCOMPARE(r[QStringLiteral("color")].toString(), QStringLiteral("#ff0000"));
        }
    }
}

void TestCli::extractGivesSourcePixels()
{
    const QString packed = m_dir.filePath(QStringLiteral("extract.pic"));
    writeFile(m_dir.filePath(QStringLiteral("cut.json")),
              R"([{"picture": "a.png", "cut": [30, 40, 64, 80]}])");
    QCOMPARE(runCli({QStringLiteral("pack"), QStringLiteral("-o"), packed, QStringLiteral("cut.json")},
                    m_dir.path())
                 .code,
             0);
    const QString out = m_dir.filePath(QStringLiteral("extracted"));
    const Run run = runCli({QStringLiteral("extract"), packed, QStringLiteral("-o"), out});
    QCOMPARE(run.code, 0);
    const QImage source(m_dir.filePath(QStringLiteral("a.png")));
    QVERIFY(TestSupport::samePixels(QImage(out + QStringLiteral("/000.png")), source));
    QVERIFY(
        TestSupport::samePixels(QImage(out + QStringLiteral("/000-cut.png")), source.copy(30, 40, 64, 80)));
}

void TestCli::writesPastTheFileSizeLimitFail_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("kept");
    // QFileDevice buffers 16 KiB: a file below that reaches the disk only with the last flush.
    QTest::newRow("pack of a file smaller than one write buffer")
        << QStringList{"pack", "-o", "fs.pic", "small.png"} << "fs.pic";
    QTest::newRow("pack of a file larger than one write buffer")
        << QStringList{"pack", "-o", "fs.pic", "large.png"} << "fs.pic";
    QTest::newRow("extract") << QStringList{"extract", "large.pic", "-o", "limited", "--force"}
                             << "limited/000.png";
}

void TestCli::writesPastTheFileSizeLimitFail()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, kept);
    QTemporaryDir dir;
    QVERIFY(TestSupport::randomPicture(60, 40, 1).save(dir.filePath(QStringLiteral("small.png"))));
    QVERIFY(TestSupport::randomPicture(200, 100, 2).save(dir.filePath(QStringLiteral("large.png"))));
    QCOMPARE(runCli({QStringLiteral("pack"), QStringLiteral("-o"), QStringLiteral("large.pic"),
                     QStringLiteral("large.png")},
                    dir.path())
                 .code,
             0);
    QDir(dir.path()).mkpath(QStringLiteral("limited"));
    writeFile(dir.filePath(kept), "earlier");
    const auto entries = [&dir] {
        QStringList all;
        QDirIterator it(dir.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            all.append(it.next());
        all.sort();
        return all;
    };
    const QStringList before = entries();

    Run run;
    {
        TestSupport::FileSizeLimit limit(4096);
        if (!limit.isSet())
            QSKIP("no file-size limit on this system");
        run = runCli(arguments, dir.path());
    }
    QCOMPARE(run.code, 1);
    QVERIFY2(run.err.contains(TestSupport::FileSizeLimit::reason()), qPrintable(run.err));
    QCOMPARE(readFile(dir.filePath(kept)), QByteArray("earlier"));
    QCOMPARE(entries(), before);
}

void TestCli::extractRefusesPicturesMadeUpFromLittle()
{
#ifndef Q_OS_UNIX
    QSKIP("the address space is limited through the shell");
#else
    // 50 records of 16384 x 16384 pixels, each row holding one: 2.4 MB that the format accepts,
    // and 50 GiB once unpacked.
    HeldRecords held;
    QList<VideoControlOSD *> records;
    QList<SourceData *> sources;
    for (int i = 0; i < 50; ++i) {
        auto *record = held.record(new VideoControlOSD);
        record->setImage(QByteArray(16384 * 3, char(i)));
        record->setSize(QSize(16384, 16384));
        record->setCompletionImageWidth(1);
        records.append(record);
        sources.append(nullptr);
    }
    QTemporaryDir dir;
    OsdFileError error;
    QVERIFY2(OsdFile::write(dir.filePath(QStringLiteral("hostile.pic")), records, sources, &error),
             qPrintable(error.message()));
    QCOMPARE(runCli({QStringLiteral("check"), QStringLiteral("hostile.pic")}, dir.path()).code, 0);

    const Run run = runCliInAddressSpace(2 << 20,
                                         {QStringLiteral("extract"), QStringLiteral("hostile.pic"),
                                          QStringLiteral("-o"), QStringLiteral("out")},
                                         dir.path());
    QCOMPARE(run.code, 1);
    QCOMPARE(run.err.count(QStringLiteral("not written")), 50);
    QVERIFY2(run.err.contains(QStringLiteral("record 049 is refused: its 16384x16384 picture")),
             qPrintable(run.err));
    QCOMPARE(QDir(dir.filePath(QStringLiteral("out"))).entryList(QDir::Files), QStringList());
#endif
}

void TestCli::packedPixelsAreTheDecodedBgrBytes_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QByteArray>("bgr");

    QByteArray bgr;
    const QString bmp = m_dir.filePath(QStringLiteral("hand.bmp"));
    writeFile(bmp, handMadeBmp(5, 3, &bgr));
    QTest::newRow("a BMP written by hand holds its own bytes") << bmp << bgr;

    const QString convert = QStandardPaths::findExecutable(QStringLiteral("convert"));
    if (!convert.isEmpty()) {
        QProcess magick;
        magick.start(convert, {m_dir.filePath(QStringLiteral("a.png")), QStringLiteral("bgr:-")});
        QVERIFY(magick.waitForFinished(60000));
        QTest::newRow("a PNG holds what ImageMagick decodes")
            << m_dir.filePath(QStringLiteral("a.png")) << magick.readAllStandardOutput();
    }
}

void TestCli::packedPixelsAreTheDecodedBgrBytes()
{
    QFETCH(QString, picture);
    QFETCH(QByteArray, bgr);
    const QString packed = m_dir.filePath(QStringLiteral("bytes.pic"));
    QCOMPARE(runCli({QStringLiteral("pack"), QStringLiteral("-o"), packed, picture}).code, 0);
    OsdFile::Contents contents;
    OsdFileError error;
    QVERIFY2(OsdFile::read(packed, &contents, &error), qPrintable(error.message()));
    QCOMPARE(contents.count(), 1);
    QVERIFY(!bgr.isEmpty());
    QVERIFY(contents.records().first()->image() == bgr);
}

void TestCli::checkReportsEveryDamagedFile()
{
    const QDir corpus(QFINDTESTDATA("../fuzz/corpus/osdfile"));
    QStringList files;
    const QStringList seeds = corpus.entryList(QDir::Files, QDir::Name);
    for (const QString &seed : seeds)
        files.append(corpus.filePath(seed));
    QVERIFY(files.size() >= 5);

    // Hostile files: every seed cut short and with one flipped byte; a folder; nothing at all.
    const QByteArray whole = readFile(corpus.filePath(QStringLiteral("mixed.pic")));
    QVERIFY(whole.size() > 100);
    for (int length : {0, 7, 12, 19, 20, 67, whole.size() / 2, whole.size() - 1}) {
        files.append(m_dir.filePath(QStringLiteral("cut%1.pic").arg(length)));
        writeFile(files.last(), whole.left(length));
    }
    QByteArray flipped = whole;
    flipped[40] = char(flipped[40] ^ 0x10);
    files.append(m_dir.filePath(QStringLiteral("flipped.pic")));
    writeFile(files.last(), flipped);
    QByteArray huge = whole;
    qToLittleEndian<quint32>(0x7FFFFFFF, huge.data() + 16);
    files.append(m_dir.filePath(QStringLiteral("hugecount.pic")));
    writeFile(files.last(), huge);
    files << m_dir.path() << m_dir.filePath(QStringLiteral("nothing.pic"));

    const Run run = runCli(QStringList{QStringLiteral("check")} + files);
    bool anyRefused = false;
    for (const QString &file : qAsConst(files)) {
        OsdFile::Contents contents;
        OsdFileError reason;
        const QString shown = QDir::toNativeSeparators(file);
        if (OsdFile::read(file, &contents, &reason)) {
            QVERIFY2(run.out.contains(QStringLiteral("%1: ok (%2 record%3)")
                                          .arg(shown)
                                          .arg(contents.count())
                                          .arg(contents.count() == 1 ? "" : "s")),
                     qPrintable(file));
        } else {
            anyRefused = true;
            QVERIFY2(run.err.contains(shown + QStringLiteral(": ") + reason.message()),
                     qPrintable(file + run.err));
        }
    }
    QVERIFY(anyRefused);
    QCOMPARE(run.code, 1);
}

QTEST_MAIN(TestCli)
#include "tst_cli.moc"
