#include "core/text/captioncoverage.h"

#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QSet>
#include <QXmlStreamReader>

const char CaptionCoverage::captionsResource[] = ":/translations/captions.ts";

namespace {
bool needsChineseFont(uint c)
{
    // Latin letters, digits and ASCII punctuation are drawn by any font; these are not.
    return QChar::script(c) == QChar::Script_Han || (c >= 0x3000 && c <= 0x303F) ||
           (c >= 0xFF00 && c <= 0xFFEF);
}
} // namespace

QString CaptionCoverage::chineseCharacters(const QStringList &texts)
{
    QSet<uint> seen;
    QVector<uint> found;
    for (const QString &text : texts) {
        const QVector<uint> characters = text.toUcs4();
        for (uint c : characters) {
            if (needsChineseFont(c) && !seen.contains(c)) {
                seen.insert(c);
                found.append(c);
            }
        }
    }
    return QString::fromUcs4(found.constData(), found.size());
}

QStringList CaptionCoverage::sourceTexts(QIODevice *tsFile)
{
    QStringList texts;
    QXmlStreamReader reader(tsFile);
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == QLatin1String("source"))
            texts.append(reader.readElementText());
    }
    return texts;
}

QString CaptionCoverage::missing(const QFont &font, const QString &characters)
{
    // QFontMetrics asks the font together with its fallbacks (QRawFont would ask the first alone).
    const QFontMetrics metrics(font);
    QVector<uint> missed;
    const QVector<uint> all = characters.toUcs4();
    for (uint c : all) {
        if (!metrics.inFontUcs4(c))
            missed.append(c);
    }
    return QString::fromUcs4(missed.constData(), missed.size());
}

QString CaptionCoverage::missingForApplication()
{
    QFile file(QString::fromLatin1(captionsResource));
    // Linked into every executable with the translations; without it there is nothing to check.
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return missing(QGuiApplication::font(), chineseCharacters(sourceTexts(&file)));
}
