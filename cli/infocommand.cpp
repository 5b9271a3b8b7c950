#include "cli/infocommand.h"

#include "cli/checkcommand.h"
#include "cli/projectitems.h"
#include "interfaces/device/osdfile.h"
#include "interfaces/model/sharedrecord.h"
#include "interfaces/model/sourcedata.h"
#include "interfaces/model/videocontrolosd.h"
#include "interfaces/project/projectfile.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// A stored cut window: one with an area. QRect() is the record's "no cut".
bool hasCut(const VideoControlOSD *record)
{
    return !record->CutImageSize().isEmpty();
}

// A file's text as one line that a terminal shows as it is: quotes and backslashes escaped, and
// every control or formatting character (escape sequences, bells, zeros, direction overrides) as
// a visible escape instead of reaching the terminal.
QString quoted(const QString &text)
{
    QString line = QStringLiteral("\"");
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (c == QLatin1Char('\\') || c == QLatin1Char('"')) {
            line += QLatin1Char('\\');
            line += c;
        } else if (c == QLatin1Char('\n')) {
            line += QLatin1String("\\n");
        } else if (c == QLatin1Char('\r')) {
            line += QLatin1String("\\r");
        } else if (c == QLatin1Char('\t')) {
            line += QLatin1String("\\t");
        } else if (u < 0x20 || (u >= 0x7F && u < 0xA0)) {
            line += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
        } else if (c.category() == QChar::Other_Format || u == 0x2028 || u == 0x2029) {
            line += QStringLiteral("\\u%1").arg(u, 4, 16, QLatin1Char('0'));
        } else {
            line += c;
        }
    }
    return line + QLatin1Char('"');
}

QString onOff(bool on)
{
    return on ? QStringLiteral("on") : QStringLiteral("off");
}

} // namespace

QString InfoCommand::summary() const
{
    return QStringLiteral("Lists the records of OSD files (.pic, .logo), or of the OSD file a project "
                          "(.brisklane) exports to: kind, size, completion width, location, cut window and "
                          "switch, fill colour and switch, and the text and font of text items.");
}

void InfoCommand::describe(QCommandLineParser &parser) const
{
    parser.addOption(QCommandLineOption(QStringLiteral("json"), QStringLiteral("Print one JSON document.")));
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("OSD files and projects to list."),
                                 QStringLiteral("FILE..."));
}

QString InfoCommand::recordLine(int index, const VideoControlOSD *record, const SourceData *source)
{
    const QRect cut = record->CutImageSize();
    QString line = QStringLiteral("%1 %2 %3x%4 completion %5 at %6,%7")
                       .arg(index, 3, 10, QLatin1Char('0'))
                       .arg(source ? QStringLiteral("text") : QStringLiteral("picture"))
                       .arg(record->size().width())
                       .arg(record->size().height())
                       .arg(record->completionImageWidth())
                       .arg(record->location().x())
                       .arg(record->location().y());
    line +=
        hasCut(record)
            ? QStringLiteral(" cut %1,%2,%3x%4").arg(cut.x()).arg(cut.y()).arg(cut.width()).arg(cut.height())
            : QStringLiteral(" cut none");
    line += QLatin1Char(' ') + onOff(record->IsCanEnableCut());
    line += QStringLiteral(" fill %1 %2").arg(record->selectColor().name(), onOff(record->IsSelectColor()));
    if (source) {
        const QFont font = source->getTextFont();
        line += QStringLiteral(" text %1 font %2 %3pt")
                    .arg(quoted(source->getContent()), quoted(font.family()))
                    .arg(font.pointSize());
        if (font.bold())
            line += QStringLiteral(" bold");
        if (font.italic())
            line += QStringLiteral(" italic");
        if (font.underline())
            line += QStringLiteral(" underline");
        line += QStringLiteral(" color %1").arg(source->getTextColor().name());
    }
    return line;
}

QJsonObject InfoCommand::recordJson(int index, const VideoControlOSD *record, const SourceData *source)
{
    QJsonObject object{{QStringLiteral("index"), index},
                       {QStringLiteral("kind"), source ? QStringLiteral("text") : QStringLiteral("picture")},
                       {QStringLiteral("width"), record->size().width()},
                       {QStringLiteral("height"), record->size().height()},
                       {QStringLiteral("completionWidth"), record->completionImageWidth()},
                       {QStringLiteral("x"), record->location().x()},
                       {QStringLiteral("y"), record->location().y()},
                       {QStringLiteral("cutOn"), record->IsCanEnableCut()},
                       {QStringLiteral("fill"), record->selectColor().name()},
                       {QStringLiteral("fillOn"), record->IsSelectColor()}};
    const QRect cut = record->CutImageSize();
    object.insert(QStringLiteral("cut"),
                  hasCut(record) ? QJsonValue(QJsonArray{cut.x(), cut.y(), cut.width(), cut.height()})
                                 : QJsonValue(QJsonValue::Null));
    if (source) {
        const QFont font = source->getTextFont();
        object.insert(QStringLiteral("text"), source->getContent());
        object.insert(QStringLiteral("font"), QJsonObject{{QStringLiteral("family"), font.family()},
                                                          {QStringLiteral("pointSize"), font.pointSize()},
                                                          {QStringLiteral("bold"), font.bold()},
                                                          {QStringLiteral("italic"), font.italic()},
                                                          {QStringLiteral("underline"), font.underline()}});
        object.insert(QStringLiteral("color"), source->getTextColor().name());
    }
    return object;
}

int InfoCommand::execute(const QCommandLineParser &parser, const QStringList &positional)
{
    if (positional.isEmpty())
        return usageError(QStringLiteral("no file given"));
    const bool json = parser.isSet(QStringLiteral("json"));
    int code = Success;
    QJsonArray files;
    for (const QString &file : positional) {
        OsdFile::Contents contents;
        OsdFileError reason;
        if (CheckCommand::isProject(file)) {
            // The records the project exports to.
            ProjectState state;
            ProjectFile project;
            ProjectFile::Error error;
            if (!project.load(file, &state, &error)) {
                err(error.message());
                code = Refused;
                continue;
            }
            QList<VideoControlOSD *> records;
            QList<SourceData *> sources;
            ProjectItems::recordsOf(state, &records, &sources);
            for (int i = 0; i < records.size(); ++i) {
                contents.append(records[i], sources[i]);
                SharedRecord::release(records[i]);
                SharedRecord::release(sources[i]);
            }
        } else if (!OsdFile::read(file, &contents, &reason)) {
            err(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(file), reason.message()));
            code = Refused;
            continue;
        }
        QJsonArray records;
        for (int i = 0; i < contents.count(); ++i) {
            const VideoControlOSD *record = contents.records().at(i);
            const SourceData *source = contents.sources().at(i);
            if (json)
                records.append(recordJson(i, record, source));
            else if (positional.size() > 1)
                out(QDir::toNativeSeparators(file) + QStringLiteral(": ") + recordLine(i, record, source));
            else
                out(recordLine(i, record, source));
        }
        files.append(QJsonObject{{QStringLiteral("file"), file}, {QStringLiteral("records"), records}});
    }
    if (json)
        out(QString::fromUtf8(QJsonDocument(files).toJson(QJsonDocument::Indented)).trimmed());
    return code;
}
