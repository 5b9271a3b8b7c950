#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>

class QFontMetrics;

// Renders plain text into the two-colour image a text OSD item is made of: lines wider than the
// limit are broken, the background is the inverse of the text colour and anti-aliasing is removed,
// so the device can key the background away.
class TextRenderer
{
public:
    struct Result
    {
        // The text as drawn: the input with "\n" inserted where lines were broken.
        QString text;
        // Format_RGB32, exactly two colours; null when there is nothing to draw.
        QImage image;
        int lineCount = 0;
        bool wrapped = false;
    };

    // The font the window renders with: sizeText is read as a decimal point size and kept at the
    // font's default when it is not positive; weight 75 for bold, 50 otherwise.
    static QFont makeFont(const QString &family, const QString &sizeText, bool bold, bool italic,
                          bool underline);

    static Result render(const QString &text, const QFont &font, const QColor &textColor,
                         const QSize &maxSize);

    // Breaks line into segments no wider than limit (each at least one character, never splitting
    // a character made of several code units) joined by "\n"; *breaks receives the break count.
    static QString breakLine(const QString &line, const QFontMetrics &metrics, int limit, int *breaks);

    static int lineHeight(const QFontMetrics &metrics);
    static QColor inverseColor(const QColor &textColor);

    // Every pixel of painted that differs from the background becomes the text colour, every other
    // one the background colour (both opaque). Other formats are converted to Format_RGB32 first.
    static QImage binarize(const QImage &painted, const QColor &textColor, const QColor &background);
};
