// settings.ini that is garbage, holds absurd values, cannot be read or written, or is not a file
// at all: the text window still opens, with the defaults where nothing usable was found, and
// nothing crashes.
#include "core/settings/config.h"
#include "mainwindow/quillmere.h"
#include "support/core/settingsfolder.h"
#include "support/quillmereaccess.h"
#include "textexport/exporttextimage.h"
#include "widgets/styled/custommegbox.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QSettings>
#include <QTabWidget>
#include <QtTest>

#include <functional>

using Prepare = std::function<void(const QString &path)>;
Q_DECLARE_METATYPE(Prepare)

namespace {

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray randomBytes(quint32 seed, int size)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char(random.bounded(256));
    return bytes;
}

bool hasDefaults(const Config &c)
{
    return c.mainWindowGeometry.isEmpty() && c.mainWindowState.isEmpty() && c.maxRecentFiles == 10 &&
           c.recentFiles.isEmpty() && !c.showReadme && c.fontFamily == QLatin1String("CourierNew") &&
           c.fontSize == 12 && c.fontStyle == QLatin1String("Normal") && c.showLineNumber && !c.tabIndents &&
           !c.autoIndent && !c.backUnindent && c.spaceTabs && c.indentSize == 4 && c.tabSize == 4 &&
           !c.whitespaces && c.maxHistory == 0 && c.findHistory.isEmpty() && c.replaceHistory.isEmpty() &&
           !c.matchCase && !c.regExp;
}

} // namespace

class TestHostileSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void textWindowOpensWhateverTheFile_data();
    void textWindowOpensWhateverTheFile();
    void absurdValuesDoNotBreakTheWindow_data();
    void absurdValuesDoNotBreakTheWindow();
    void readOnlyFileIsLeftAlone();
    void unwritableFileWarnsOnce_data();
    void unwritableFileWarnsOnce();

private:
    // Opens the text window from a main window, checks that it works, and closes it again; the
    // window's Config is saved when the opening slot returns.
    void openTextWindow();
    QString settingsFile() const { return m_folder.file(); }

    TestSupport::SettingsFolder m_folder;
};

void TestHostileSettings::init()
{
    m_folder.clear();
}

void TestHostileSettings::openTextWindow()
{
    Quillmere w;
    w.setSettingsFolder(m_folder.path());
    w.slot_textButten();
    ExportTextImage *window = QuillmereTestAccess::textWindow(w);
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QString::fromUtf8("文本设置"));
    auto *tabs = window->findChild<QTabWidget *>();
    QVERIFY(tabs);
    auto *editor = qobject_cast<QPlainTextEdit *>(tabs->currentWidget());
    QVERIFY(editor);
    QTest::keyClicks(editor, QStringLiteral("OSD"));
    QCOMPARE(editor->toPlainText(), QStringLiteral("OSD"));
    window->close();
}

void TestHostileSettings::textWindowOpensWhateverTheFile_data()
{
    QTest::addColumn<Prepare>("prepare");
    QTest::addColumn<bool>("rewritten");

    QTest::newRow("binary garbage") << Prepare([](const QString &p) { writeFile(p, randomBytes(1, 4096)); })
                                    << true;
    QTest::newRow("binary garbage with NULs and section headers") << Prepare([](const QString &p) {
        QByteArray bytes = "[General]\n" + randomBytes(2, 512) + "\n[Editor]\nfontSize=";
        bytes += QByteArray(300, '\0') + "\n[" + randomBytes(3, 64) + "]\n=\n==\n[\n";
        writeFile(p, bytes);
    }) << true;
    QTest::newRow("invalid UTF-8 everywhere") << Prepare([](const QString &p) {
        writeFile(p, "[Gen\xff\xfe"
                     "eral]\nrecentFiles=\xc0\x80,\xed\xa0\x80\nfontFamily=\xf8\x88\x80\x80\x80\n");
    }) << true;
    QTest::newRow("eight megabytes of one line") << Prepare([](const QString &p) {
        writeFile(p, "[General]\nrecentFiles=" + QByteArray(8 << 20, 'x') + "\n");
    }) << true;
    QTest::newRow("a directory") << Prepare([](const QString &p) {
        QVERIFY(QDir().mkpath(p));
        writeFile(p + QStringLiteral("/inside.txt"), "kept");
    }) << false;
    if (QFileInfo(QStringLiteral("/dev/zero")).exists()) {
        // Reading it would never end.
        QTest::newRow("link to an endless device")
            << Prepare([](const QString &p) { QVERIFY(QFile::link(QStringLiteral("/dev/zero"), p)); })
            << false;
    }
    QTest::newRow("empty") << Prepare([](const QString &p) { writeFile(p, QByteArray()); }) << true;
}

void TestHostileSettings::textWindowOpensWhateverTheFile()
{
    QFETCH(Prepare, prepare);
    QFETCH(bool, rewritten);
    const QString path = settingsFile();
    prepare(path);
    const QFileInfo before(path);
    const bool wasDir = before.isDir();
    const bool wasLink = before.isSymLink();
    {
        // Nothing usable in there: every value is the default.
        Config config(m_folder.path());
        QVERIFY(hasDefaults(config));
        config.fontSize = 31; // must not end up anywhere but a real file
    }
    if (QFileInfo(path).isFile() && !wasLink)
        QVERIFY(QSettings(path, QSettings::IniFormat).value(QStringLiteral("Editor/fontSize")).toInt() == 31);

    openTextWindow();
    if (QTest::currentTestFailed())
        return;

    const QFileInfo after(path);
    QCOMPARE(after.isDir(), wasDir);
    QCOMPARE(after.isSymLink(), wasLink);
    if (wasDir)
        QCOMPARE(readFile(path + QStringLiteral("/inside.txt")), QByteArray("kept"));
    if (rewritten) {
        // The file now holds the settings in order, and the window opens from it again.
        QSettings settings(path, QSettings::IniFormat);
        QCOMPARE(settings.status(), QSettings::NoError);
        QCOMPARE(settings.value(QStringLiteral("Editor/fontFamily")).toString(),
                 QStringLiteral("CourierNew"));
        openTextWindow();
    }
}

void TestHostileSettings::absurdValuesDoNotBreakTheWindow_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("negative and zero numbers")
        << QByteArray("[General]\nmaxRecentFiles=-1\n[Editor]\nfontSize=-5\nindentSize=-4\ntabSize=0\n"
                      "[Search&Replace]\nmaxHistory=-100\n");
    QTest::newRow("huge numbers") << QByteArray(
        "[General]\nmaxRecentFiles=2147483647\n[Editor]\n"
        "fontSize=99999999999999\nindentSize=2147483647\ntabSize=1000000\n");
    QTest::newRow("words for numbers") << QByteArray("[General]\nmaxRecentFiles=many\nshowReadme=perhaps\n"
                                                     "[Editor]\nfontSize=big\ntabSize=@Variant(garbage)\n");
    QTest::newRow("window geometry and state that are garbage")
        << QByteArray("[General]\nmainWindowGeometry=@ByteArray(\\x1\\xd9\\xd0\\xcb\\0\\x3\\xff\\xff)\n"
                      "mainWindoState=@ByteArray(\\0\\0\\0\\xff\\0\\0\\0\\0\\xfd\\0\\0\\0\\x1)\n");
    QTest::newRow("odd font") << QByteArray("[Editor]\nfontFamily=\nfontStyle=Bold Italic Underline Blink\n");
    QByteArray manyNames = "[General]\nmaxRecentFiles=3\nrecentFiles=";
    for (int i = 0; i < 20000; ++i)
        manyNames += "name" + QByteArray::number(i) + ", ";
    QTest::newRow("twenty thousand recent names") << manyNames + "\n";
}

void TestHostileSettings::absurdValuesDoNotBreakTheWindow()
{
    QFETCH(QByteArray, content);
    writeFile(settingsFile(), content);
    openTextWindow();
    if (QTest::currentTestFailed())
        return;
    // The values went back as read (the window changes only the recent names), and read again.
    Config again(m_folder.path());
    QVERIFY(again.recentFiles.contains(QString::fromUtf8("文本编辑")));
    openTextWindow();
}

void TestHostileSettings::readOnlyFileIsLeftAlone()
{
    if (!TestSupport::permissionsApply())
        QSKIP("file permissions do not apply to this user");
    const QByteArray content = "[Editor]\nfontFamily=DejaVu Serif\nfontSize=14\n";
    writeFile(settingsFile(), content);
    QVERIFY(QFile(settingsFile()).setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    {
        Config config(m_folder.path());
        QCOMPARE(config.fontFamily, QStringLiteral("DejaVu Serif"));
        QCOMPARE(config.fontSize, 14);
    }
    openTextWindow();
    QCOMPARE(readFile(settingsFile()), content);

    // Not even readable: the defaults.
    QVERIFY(QFile(settingsFile()).setPermissions(QFileDevice::Permissions()));
    Config unreadable(m_folder.path());
    QVERIFY(hasDefaults(unreadable));
    openTextWindow();
}

void TestHostileSettings::unwritableFileWarnsOnce_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("warnings");
    QTest::newRow("writable file") << QStringLiteral("file") << 0;
    QTest::newRow("directory in its place") << QStringLiteral("directory") << 1;
    QTest::newRow("read-only file") << QStringLiteral("read-only") << 1;
}

// Reading at start-up, choosing a screen and opening the text window each find the file unwritable;
// the operator is told once, and can go on working without answering.
void TestHostileSettings::unwritableFileWarnsOnce()
{
    QFETCH(QString, kind);
    QFETCH(int, warnings);
    if (kind == QLatin1String("directory")) {
        QVERIFY(QDir().mkpath(settingsFile()));
    } else if (kind == QLatin1String("read-only")) {
        if (!TestSupport::permissionsApply())
            QSKIP("file permissions do not apply to this user");
        writeFile(settingsFile(), "[Screen]\nwidth=1280\nheight=720\n");
        QVERIFY(QFile(settingsFile()).setPermissions(QFileDevice::ReadOwner));
    }
    Quillmere w;
    w.setSettingsFolder(m_folder.path());
    w.setOutputScreenSize(QSize(3840, 2160));
    w.slot_textButten();
    QCoreApplication::processEvents();
    const QList<CustomMegBox *> boxes = w.findChildren<CustomMegBox *>(QStringLiteral("settingsNotWritable"));
    QCOMPARE(boxes.size(), warnings);
    if (warnings > 0) {
        QVERIFY(boxes.first()->isVisible());
        QVERIFY(!boxes.first()->isModal());
        QVERIFY2(boxes.first()->text().contains(QDir::toNativeSeparators(settingsFile())),
                 qPrintable(boxes.first()->text()));
    }
}

QTEST_MAIN(TestHostileSettings)
#include "tst_hostilesettings.moc"
