#include "core/text/textrenderer.h"

#include "core/pixels/colorkeykernels.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QStringList>
#include <QTextBoundaryFinder>

#include <algorithm>

QFont TextRenderer::makeFont(const QString &family, const QString &sizeText, bool bold, bool italic,
                             bool underline)
{
    QFont font(family);
    bool ok = false;
    const int pointSize = sizeText.toInt(&ok, 10);
    if (ok && pointSize > 0)
        font.setPointSize(pointSize);
    font.setWeight(bold ? 75 : 50);
    font.setItalic(italic);
    font.setUnderline(underline);
    return font;
}

int TextRenderer::lineHeight(const QFontMetrics &metrics)
{
    return metrics.height() + metrics.leading();
}

QColor TextRenderer::inverseColor(const QColor &textColor)
{
    return QColor(255 - textColor.red(), 255 - textColor.green(), 255 - textColor.blue(), 255);
}

QString TextRenderer::breakLine(const QString &line, const QFontMetrics &metrics, int limit, int *breaks)
{
    // Segments grow by whole graphemes: cutting between the halves of a surrogate pair or between
    // a letter and its combining mark would corrupt the stored text.
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, line);
    QString broken;
    int count = 0;
    int start = 0;
    while (start < line.size()) {
        finder.setPosition(start);
        int end = finder.toNextBoundary();
        if (end < 0)
            end = line.size();
        // The first grapheme always belongs to the segment, however wide it is.
        while (end < line.size()) {
            finder.setPosition(end);
            int next = finder.toNextBoundary();
            if (next < 0)
                next = line.size();
            if (metrics.horizontalAdvance(line.mid(start, next - start)) > limit)
                break;
            end = next;
        }
        if (start > 0) {
            broken += QLatin1Char('\n');
            ++count;
        }
        broken += line.mid(start, end - start);
        start = end;
    }
    if (breaks)
        *breaks = count;
    return broken;
}

TextRenderer::Result TextRenderer::render(const QString &text, const QFont &font, const QColor &textColor,
                                          const QSize &maxSize)
{
    Result result;
    const QFontMetrics metrics(font);
    const int limit = maxSize.width();

    // The text is rebuilt line by line, so a broken line never alters another line that happens
    // to contain the same characters.
    const QStringList lines = text.split(QLatin1Char('\n'), Qt::KeepEmptyParts, Qt::CaseSensitive);
    QStringList drawnLines;
    drawnLines.reserve(lines.size());
    int widest = 0;
    for (const QString &line : lines) {
        ++result.lineCount;
        const int width = metrics.horizontalAdvance(line);
        if (width <= limit) {
            widest = std::max(widest, width);
            drawnLines << line;
            continue;
        }
        int breaks = 0;
        drawnLines << breakLine(line, metrics, limit, &breaks);
        result.lineCount += breaks;
        result.wrapped = true;
    }
    result.text = drawnLines.join(QLatin1Char('\n'));

    const int width = result.wrapped ? limit : widest;
    const int familyHeight = result.lineCount * lineHeight(metrics);
    if (width <= 0 || familyHeight <= 0 || maxSize.height() <= 0)
        return result;

    const QColor background = inverseColor(textColor);
    const auto paint = [&](int height) {
        QImage painted(width, height, QImage::Format_RGB32);
        QPainter painter(&painted);
        painter.setFont(font);
        painter.setPen(QPen(QBrush(textColor), 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        painter.setBackground(QBrush(background));
        painter.fillRect(0, 0, width, height, background);
        // The last row stays background, as it always has.
        painter.drawText(QRect(0, 0, width, height - 1), 0, result.text);
        return painted;
    };
    // A line is as tall as the tallest font drawn in it: characters the chosen family lacks come
    // from a fallback font (Chinese in a Latin font) that often reaches lower than the family's
    // lines. The text is drawn once with room to spare below to see how far it reaches.
    const int laidOut = metrics.boundingRect(QRect(0, 0, width, 1 << 24), 0, result.text).height();
    const QImage probe = paint(std::max(familyHeight, laidOut) + lineHeight(metrics));
    const QRgb backgroundRgb = background.rgb() | 0xFF000000u;
    int lowest = -1;
    for (int y = probe.height() - 1; y >= 0 && lowest < 0; --y) {
        const auto *row = reinterpret_cast<const QRgb *>(probe.constScanLine(y));
        if (std::any_of(row, row + width, [&](QRgb p) { return (p | 0xFF000000u) != backgroundRgb; }))
            lowest = y;
    }
    // Within the family's lines nothing changes (their last row stays background, as it always
    // has); past them the picture takes the rows drawn, and that one blank row below.
    const int height = std::min(maxSize.height(), lowest < familyHeight ? familyHeight : lowest + 2);
    const QImage painted = paint(height);
    result.image = binarize(painted, textColor, background);
    return result;
}

QImage TextRenderer::binarize(const QImage &painted, const QColor &textColor, const QColor &background)
{
    // The fill colour is the reference rather than a sample pixel: a glyph that reaches the
    // top-left corner must not swap text and background.
    const QRgb reference = 0xFF000000u | (background.rgb() & 0x00FFFFFFu);
    const QRgb textRgb = 0xFF000000u | (textColor.rgb() & 0x00FFFFFFu);
    const QImage source =
        painted.format() == QImage::Format_RGB32 ? painted : painted.convertToFormat(QImage::Format_RGB32);
    QImage out(source.size(), QImage::Format_RGB32);
    if (out.isNull())
        return out;
    const int width = source.width();
    // One compare per pixel, at copy speed: rows without padding are one run.
    if (source.bytesPerLine() == qint64(width) * 4 && out.bytesPerLine() == qint64(width) * 4) {
        ColorKeyKernels::binarizeRun(reinterpret_cast<const quint32 *>(source.constBits()),
                                     reinterpret_cast<quint32 *>(out.bits()), qint64(width) * source.height(),
                                     reference, textRgb);
        return out;
    }
    for (int y = 0; y < source.height(); ++y) {
        ColorKeyKernels::binarizeRun(reinterpret_cast<const quint32 *>(source.constScanLine(y)),
                                     reinterpret_cast<quint32 *>(out.scanLine(y)), width, reference, textRgb);
    }
    return out;
}
