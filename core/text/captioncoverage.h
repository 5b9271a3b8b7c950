#pragma once

#include <QString>
#include <QStringList>

class QFont;
class QIODevice;

// Whether the installed fonts can draw the product's Chinese texts. Debian's default locale (C.UTF-8)
// asks for Chinese, and a machine with Latin fonts only would show a window of empty boxes.
class CaptionCoverage
{
public:
    // The characters of texts that only a Chinese font draws (Han ideographs, CJK and fullwidth
    // punctuation), each once, in the order they first appear.
    static QString chineseCharacters(const QStringList &texts);

    // The source texts of a Qt translation file (.ts): the product's captions as they are written.
    static QStringList sourceTexts(QIODevice *tsFile);

    // The characters of characters that font cannot draw, neither itself nor through the fonts Qt
    // falls back to (unless its style strategy forbids that). Needs a QGuiApplication.
    static QString missing(const QFont &font, const QString &characters);

    // missing() for the application's font and the Chinese characters of the product's own texts
    // (:/translations/captions.ts). Needs a QGuiApplication.
    static QString missingForApplication();

    // The translation file embedded with the translations, read by missingForApplication().
    static const char captionsResource[];
};
