// Writes the seed corpus of fuzz_projectfile (fuzz/corpus/projectfile): small valid projects made
// with the project's own writer, one of each kind of entry.
#include "interfaces/model/videocontrolosd.h"
#include "interfaces/project/projectfile.h"
#include "interfaces/records/itemrecords.h"

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <cstdio>
#include <memory>

namespace {

QByteArray png(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "png");
    return bytes;
}

ProjectState::Entry entry(int id, OsdEntry::Kind kind, const QImage &image, bool original)
{
    ProjectState::Entry saved;
    saved.entry.id = id;
    saved.entry.number = id;
    saved.entry.kind = kind;
    saved.entry.source = image;
    if (original)
        saved.entry.original = png(image);
    saved.output.hasRecord = true;
    saved.output.record =
        ItemRecords::fieldsOf(*std::unique_ptr<VideoControlOSD>(ItemRecords::pictureRecord(image)));
    return saved;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_projectfile_seeds FOLDER\n");
        return 2;
    }
    QDir().mkpath(QString::fromLocal8Bit(argv[1]));
    QImage picture(8, 6, QImage::Format_RGB32);
    picture.fill(QColor(10, 200, 30));
    QImage text(12, 4, QImage::Format_RGB32);
    text.fill(Qt::white);

    ProjectState empty;
    ProjectState one;
    one.entries.append(entry(1, OsdEntry::Kind::Picture, picture, true));
    ProjectState mixed = one;
    ProjectState::Entry keyed = entry(2, OsdEntry::Kind::Text, text, false);
    keyed.entry.text.content = QStringLiteral("OSD");
    keyed.output.keyed = true;
    keyed.output.keyBegin = QColor(0, 0, 0);
    keyed.output.keyEnd = QColor(20, 20, 20);
    keyed.output.keyFill = QColor(255, 0, 0);
    keyed.entry.cut = QRect(1, 1, 4, 2);
    mixed.entries.append(keyed);
    ProjectState::Entry imported = entry(3, OsdEntry::Kind::Picture, picture, false);
    imported.entry.hasOriginal = false;
    imported.recordData = QByteArray(8 * 6 * 3, '\x11');
    mixed.entries.append(imported);
    mixed.current = 2;

    const std::pair<const char *, const ProjectState *> seeds[] = {
        {"empty.brisklane", &empty}, {"one-picture.brisklane", &one}, {"mixed.brisklane", &mixed}};
    for (const auto &seed : seeds) {
        ProjectFile::Error error;
        const QString file = QDir(QString::fromLocal8Bit(argv[1])).filePath(QLatin1String(seed.first));
        QFile::remove(file);
        if (!ProjectFile().save(file, *seed.second, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error.message()));
            return 1;
        }
        // The smallest pages, so that a seed is a few kilobytes the fuzzer can mutate page by page.
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("seed"));
            db.setDatabaseName(file);
            QSqlQuery query(db);
            if (!db.open() || !query.exec(QStringLiteral("PRAGMA page_size=512")) ||
                !query.exec(QStringLiteral("VACUUM")))
                return 1;
        }
        QSqlDatabase::removeDatabase(QStringLiteral("seed"));
    }
    return 0;
}
