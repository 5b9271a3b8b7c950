#include "cli/manifest.h"

#include "core/files/safefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSet>

#include <cmath>

namespace {

const QSet<QString> &knownKeys()
{
    static const QSet<QString> keys{
        QStringLiteral("picture"),   QStringLiteral("text"),  QStringLiteral("font"),
        QStringLiteral("size"),      QStringLiteral("bold"),  QStringLiteral("italic"),
        QStringLiteral("underline"), QStringLiteral("color"), QStringLiteral("maxSize"),
        QStringLiteral("at"),        QStringLiteral("cut"),   QStringLiteral("cutOn"),
        QStringLiteral("key")};
    return keys;
}

bool isInteger(const QJsonValue &value)
{
    if (!value.isDouble())
        return false;
    const double d = value.toDouble();
    return std::isfinite(d) && d == std::floor(d) && std::fabs(d) <= 1e9;
}

// An array of count whole numbers.
bool intArray(const QJsonValue &value, int count, QList<int> *numbers)
{
    if (!value.isArray() || value.toArray().size() != count)
        return false;
    numbers->clear();
    const QJsonArray array = value.toArray();
    for (const QJsonValue &v : array) {
        if (!isInteger(v))
            return false;
        numbers->append(int(v.toDouble()));
    }
    return true;
}

bool optionalBool(const QJsonObject &object, const QString &key, bool *target, QString *error)
{
    if (!object.contains(key))
        return true;
    if (!object.value(key).isBool()) {
        *error = QStringLiteral("\"%1\" must be true or false").arg(key);
        return false;
    }
    *target = object.value(key).toBool();
    return true;
}

bool parseKey(const QJsonValue &value, ItemSpec *item, QString *error)
{
    if (!value.isObject()) {
        *error = QStringLiteral("\"key\" must be an object");
        return false;
    }
    const QJsonObject key = value.toObject();
    for (auto it = key.begin(); it != key.end(); ++it) {
        static const QSet<QString> known{QStringLiteral("r"), QStringLiteral("g"), QStringLiteral("b"),
                                         QStringLiteral("fill"), QStringLiteral("fillOn")};
        if (!known.contains(it.key())) {
            *error = QStringLiteral("unknown key \"key.%1\"").arg(it.key());
            return false;
        }
    }
    const struct
    {
        const char *name;
        void (QColor::*set)(int);
    } channels[] = {{"r", &QColor::setRed}, {"g", &QColor::setGreen}, {"b", &QColor::setBlue}};
    for (const auto &channel : channels) {
        const QString name = QLatin1String(channel.name);
        if (!key.contains(name))
            continue;
        QList<int> range;
        if (!intArray(key.value(name), 2, &range) || range[0] < 0 || range[1] > 255 || range[0] > range[1]) {
            *error = QStringLiteral("\"key.%1\" must be [lo, hi] with 0 <= lo <= hi <= 255").arg(name);
            return false;
        }
        (item->keyBegin.*channel.set)(range[0]);
        (item->keyEnd.*channel.set)(range[1]);
    }
    if (key.contains(QStringLiteral("fill")) &&
        !Manifest::parseColor(key.value(QStringLiteral("fill")), &item->fill)) {
        *error = QStringLiteral("\"key.fill\" must be a colour \"#rrggbb\"");
        return false;
    }
    if (!optionalBool(key, QStringLiteral("fillOn"), &item->fillOn, error))
        return false;
    item->hasKey = true;
    return true;
}

} // namespace

bool Manifest::parseColor(const QJsonValue &value, QColor *color)
{
    static const QRegularExpression pattern(QStringLiteral("^#[0-9A-Fa-f]{6}$"));
    if (!value.isString() || !pattern.match(value.toString()).hasMatch())
        return false;
    *color = QColor(value.toString());
    return true;
}

QColor Manifest::textColorAsRendered(const QColor &chosen)
{
    if (chosen.red() == 0 && chosen.green() == 0 && chosen.blue() == 0)
        return QColor(2, 2, 2, 255);
    return QColor(chosen.red(), chosen.green(), chosen.blue(), 255);
}

bool Manifest::parseItem(const QJsonObject &object, const QString &baseDir, ItemSpec *item, QString *error)
{
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (!knownKeys().contains(it.key())) {
            *error = QStringLiteral("unknown key \"%1\"").arg(it.key());
            return false;
        }
    }
    const bool hasPicture = object.contains(QStringLiteral("picture"));
    const bool hasText = object.contains(QStringLiteral("text"));
    if (hasPicture == hasText) {
        *error = QStringLiteral("an item needs either \"picture\" or \"text\"");
        return false;
    }

    if (hasPicture) {
        const QJsonValue path = object.value(QStringLiteral("picture"));
        if (!path.isString() || path.toString().isEmpty()) {
            *error = QStringLiteral("\"picture\" must be a file name");
            return false;
        }
        item->picture = QDir(baseDir).filePath(path.toString());
        for (const char *textOnly : {"font", "size", "bold", "italic", "underline", "color", "maxSize"}) {
            if (object.contains(QLatin1String(textOnly))) {
                *error = QStringLiteral("\"%1\" belongs to text items").arg(QLatin1String(textOnly));
                return false;
            }
        }
    } else {
        item->isText = true;
        const QJsonValue text = object.value(QStringLiteral("text"));
        if (!text.isString()) {
            *error = QStringLiteral("\"text\" must be a string");
            return false;
        }
        // What the text window refuses to send.
        if (text.toString().isEmpty()) {
            *error = QCoreApplication::translate("ExportTextImage", "输入的信息为空不能发送文本!");
            return false;
        }
        // The text window keeps line ends as "\n".
        item->text = text.toString();
        item->text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        if (object.contains(QStringLiteral("font"))) {
            const QJsonValue font = object.value(QStringLiteral("font"));
            if (!font.isString() || font.toString().isEmpty()) {
                *error = QStringLiteral("\"font\" must be a font family name");
                return false;
            }
            item->family = font.toString();
        }
        if (object.contains(QStringLiteral("size"))) {
            const QJsonValue size = object.value(QStringLiteral("size"));
            if (!isInteger(size) || size.toDouble() < MinPointSize || size.toDouble() > MaxPointSize) {
                *error = QStringLiteral("\"size\" must be a whole number of points from %1 to %2")
                             .arg(MinPointSize)
                             .arg(MaxPointSize);
                return false;
            }
            item->pointSize = int(size.toDouble());
        }
        if (!optionalBool(object, QStringLiteral("bold"), &item->bold, error) ||
            !optionalBool(object, QStringLiteral("italic"), &item->italic, error) ||
            !optionalBool(object, QStringLiteral("underline"), &item->underline, error))
            return false;
        if (object.contains(QStringLiteral("color"))) {
            QColor chosen;
            if (!parseColor(object.value(QStringLiteral("color")), &chosen)) {
                *error = QStringLiteral("\"color\" must be a colour \"#rrggbb\"");
                return false;
            }
            item->textColor = textColorAsRendered(chosen);
        }
        if (object.contains(QStringLiteral("maxSize"))) {
            QList<int> size;
            if (!intArray(object.value(QStringLiteral("maxSize")), 2, &size) || size[0] < 1 || size[1] < 1 ||
                size[0] > 32768 || size[1] > 32768) {
                *error = QStringLiteral("\"maxSize\" must be [width, height], each from 1 to 32768");
                return false;
            }
            item->maxSize = QSize(size[0], size[1]);
        }
        // The editor cuts picture items only.
        for (const char *pictureOnly : {"cut", "cutOn"}) {
            if (object.contains(QLatin1String(pictureOnly))) {
                *error = QStringLiteral("\"%1\" belongs to picture items").arg(QLatin1String(pictureOnly));
                return false;
            }
        }
    }

    if (object.contains(QStringLiteral("at"))) {
        QList<int> at;
        if (!intArray(object.value(QStringLiteral("at")), 2, &at)) {
            *error = QStringLiteral("\"at\" must be [x, y] in whole pixels");
            return false;
        }
        item->at = QPointF(at[0], at[1]);
    }
    if (object.contains(QStringLiteral("cut"))) {
        QList<int> cut;
        if (!intArray(object.value(QStringLiteral("cut")), 4, &cut) || cut[2] < 1 || cut[3] < 1) {
            *error = QStringLiteral("\"cut\" must be [x, y, width, height] with a positive width and height");
            return false;
        }
        item->hasCut = true;
        item->cut = QRect(cut[0], cut[1], cut[2], cut[3]);
    }
    if (!optionalBool(object, QStringLiteral("cutOn"), &item->cutOn, error))
        return false;
    if (item->cutOn && !item->hasCut) {
        // The editor offers the cut view only once a window has been cut.
        *error = QStringLiteral("\"cutOn\" needs a \"cut\"");
        return false;
    }
    if (object.contains(QStringLiteral("key")) && !parseKey(object.value(QStringLiteral("key")), item, error))
        return false;
    return true;
}

bool Manifest::read(const QString &fileName, int firstIndex, QList<ItemSpec> *items, QString *error)
{
    // A pipe would keep the reader waiting.
    const QString problem = SafeFile::inputProblem(fileName);
    if (!problem.isEmpty()) {
        *error = problem;
        return false;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    // A manifest is a short list; anything this large is not one.
    if (file.size() > (qint64(64) << 20)) {
        *error = QStringLiteral("too large for a manifest");
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (document.isNull()) {
        *error = QStringLiteral("not valid JSON (%1 at byte %2)")
                     .arg(parseError.errorString())
                     .arg(parseError.offset);
        return false;
    }
    if (!document.isArray()) {
        *error = QStringLiteral("a manifest is a JSON array of items");
        return false;
    }
    const QString baseDir = QFileInfo(fileName).absolutePath();
    const QJsonArray array = document.array();
    for (int i = 0; i < array.size(); ++i) {
        ItemSpec item;
        item.origin = fileName;
        item.index = firstIndex + i;
        QString why;
        if (!array.at(i).isObject()) {
            why = QStringLiteral("an item is a JSON object");
        } else if (parseItem(array.at(i).toObject(), baseDir, &item, &why)) {
            items->append(item);
            continue;
        }
        *error = QStringLiteral("item %1: %2").arg(firstIndex + i).arg(why);
        return false;
    }
    return true;
}
