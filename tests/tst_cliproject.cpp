// brisklane-cli with project files: a project made from a manifest exports to the very file that
// packing the manifest gives, and info and check take projects and refuse damaged ones.
#include "support/core/pictures.h"
#include "support/core/projects.h"
#include "support/core/toolprocess.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

namespace {

ToolProcess::Run cli(const QStringList &arguments, const QString &workDir)
{
    return ToolProcess::run(QStringLiteral(BRISKLANE_CLI), arguments, workDir);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString integrity(const QString &path)
{
    QString result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(QStringLiteral("PRAGMA integrity_check")) && query.next())
                result = query.value(0).toString();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));
    return result;
}

} // namespace

class TestCliProject : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void projectExportsAsPackingDirectly_data();
    void projectExportsAsPackingDirectly();
    void damagedProjectsAreRefused_data();
    void damagedProjectsAreRefused();
    void usageErrors_data();
    void usageErrors();

private:
    QTemporaryDir m_dir;
};

void TestCliProject::initTestCase()
{
    QVERIFY(m_dir.isValid());
    auto save = [this](const QImage &image, const char *name) {
        QVERIFY(image.save(m_dir.filePath(QLatin1String(name))));
    };
    save(TestSupport::randomPicture(300, 200, 1), "photo.jpg");
    save(TestSupport::patternPicture(400, 300), "logo.png");
    QImage translucent(120, 90, QImage::Format_ARGB32);
    translucent.fill(QColor(0, 200, 0, 90));
    save(translucent, "alpha.png");
    save(TestSupport::numberedPicture(64, 64), "small.bmp");
    QFile manifest(m_dir.filePath(QStringLiteral("overlay.json")));
    QVERIFY(manifest.open(QIODevice::WriteOnly));
    manifest.write(R"([
  {"text": "Live from Hall 3", "font": "DejaVu Sans", "size": 32, "bold": true, "color": "#ffffff", "at": [40, 20]},
  {"picture": "logo.png", "at": [1500, 40], "cut": [0, 0, 256, 128], "cutOn": true,
   "key": {"r": [0, 60], "g": [200, 255], "b": [0, 60], "fill": "#000000", "fillOn": true}},
  {"picture": "logo.png", "at": [10, 10]},
  {"picture": "alpha.png", "key": {"r": [0, 60], "g": [0, 255], "b": [0, 60], "fill": "#ff0000"}},
  {"picture": "photo.jpg", "at": [-5, 7], "cut": [10, 10, 100, 100]},
  {"text": "key me", "font": "DejaVu Sans", "color": "#102030",
   "key": {"r": [0, 255], "g": [0, 255], "b": [0, 20], "fill": "#00ff00", "fillOn": true}}
])");
}

void TestCliProject::projectExportsAsPackingDirectly_data()
{
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<int>("count");
    QTest::newRow("manifest") << QStringList{QStringLiteral("overlay.json")} << 6;
    QTest::newRow("pictures") << QStringList{QStringLiteral("small.bmp"), QStringLiteral("alpha.png"),
                                             QStringLiteral("photo.jpg")}
                              << 3;
}

void TestCliProject::projectExportsAsPackingDirectly()
{
    QFETCH(QStringList, inputs);
    QFETCH(int, count);
    const QString dir = m_dir.path();
    const ToolProcess::Run direct =
        cli(QStringList{QStringLiteral("pack"), QStringLiteral("-o"), QStringLiteral("direct.pic")} + inputs,
            dir);
    QCOMPARE(direct.code, 0);
    const ToolProcess::Run project = cli(
        QStringList{QStringLiteral("pack"), QStringLiteral("-o"), QStringLiteral("made.brisklane")} + inputs,
        dir);
    QVERIFY2(project.code == 0, qPrintable(project.err));
    QCOMPARE(integrity(m_dir.filePath(QStringLiteral("made.brisklane"))), QStringLiteral("ok"));
    const ToolProcess::Run exported = cli({QStringLiteral("pack"), QStringLiteral("-o"),
                                           QStringLiteral("exported.pic"), QStringLiteral("made.brisklane")},
                                          dir);
    QVERIFY2(exported.code == 0, qPrintable(exported.err));
    const QByteArray expected = readAll(m_dir.filePath(QStringLiteral("direct.pic")));
    QVERIFY(!expected.isEmpty());
    QVERIFY(readAll(m_dir.filePath(QStringLiteral("exported.pic"))) == expected);

    const ToolProcess::Run check = cli({QStringLiteral("check"), QStringLiteral("made.brisklane")}, dir);
    QCOMPARE(check.code, 0);
    QCOMPARE(check.out.trimmed(), QStringLiteral("made.brisklane: ok (project, %1 entries)").arg(count));
    // info lists the records the project exports to.
    const ToolProcess::Run infoProject = cli({QStringLiteral("info"), QStringLiteral("made.brisklane")}, dir);
    const ToolProcess::Run infoFile = cli({QStringLiteral("info"), QStringLiteral("direct.pic")}, dir);
    QCOMPARE(infoProject.code, 0);
    QCOMPARE(infoProject.out, infoFile.out);
    QCOMPARE(infoProject.out.count(QLatin1Char('\n')), count);
}

void TestCliProject::damagedProjectsAreRefused_data()
{
    QTest::addColumn<int>("keep");
    QTest::addColumn<QString>("reason");
    QTest::newRow("truncated") << 70000 << QStringLiteral("文件已截断");
    QTest::newRow("not sqlite") << 0 << QStringLiteral("不是 SQLite 数据库");
}

void TestCliProject::damagedProjectsAreRefused()
{
    QFETCH(int, keep);
    QFETCH(QString, reason);
    const QString dir = m_dir.path();
    QCOMPARE(cli({QStringLiteral("pack"), QStringLiteral("-o"), QStringLiteral("whole.brisklane"),
                  QStringLiteral("overlay.json")},
                 dir)
                 .code,
             0);
    QByteArray bytes = readAll(m_dir.filePath(QStringLiteral("whole.brisklane"))).left(keep);
    if (keep == 0)
        bytes = "plain text";
    QFile damaged(m_dir.filePath(QStringLiteral("damaged.brisklane")));
    QVERIFY(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write(bytes);
    damaged.close();
    for (const QString &command : {QStringLiteral("check"), QStringLiteral("info")}) {
        const ToolProcess::Run run = cli({command, QStringLiteral("damaged.brisklane")}, dir);
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.startsWith(QStringLiteral("damaged.brisklane: ")) && run.err.contains(reason),
                 qPrintable(run.err));
    }
    const ToolProcess::Run pack = cli({QStringLiteral("pack"), QStringLiteral("-o"),
                                       QStringLiteral("never.pic"), QStringLiteral("damaged.brisklane")},
                                      dir);
    QCOMPARE(pack.code, 1);
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("never.pic"))));
}

void TestCliProject::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("project with more inputs")
        << QStringList{QStringLiteral("pack"), QStringLiteral("-o"), QStringLiteral("x.pic"),
                       QStringLiteral("whole.brisklane"), QStringLiteral("logo.png")};
    QTest::newRow("project to project")
        << QStringList{QStringLiteral("pack"), QStringLiteral("-o"), QStringLiteral("x.brisklane"),
                       QStringLiteral("whole.brisklane")};
    QTest::newRow("unknown output") << QStringList{QStringLiteral("pack"), QStringLiteral("-o"),
                                                   QStringLiteral("x.png"), QStringLiteral("logo.png")};
}

void TestCliProject::usageErrors()
{
    QFETCH(QStringList, arguments);
    QCOMPARE(cli(arguments, m_dir.path()).code, 2);
}

QTEST_MAIN(TestCliProject)
#include "tst_cliproject.moc"
