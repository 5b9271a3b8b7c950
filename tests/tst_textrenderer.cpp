// Rendering text into the two-colour item image: measuring, line breaking, size, colours.
#include "core/pixels/cpufeatures.h"
#include "core/text/textrenderer.h"
#include "support/core/keyingreference.h"
#include "support/core/pictures.h"
#include "support/core/warnings.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QRandomGenerator>
#include <QSet>
#include <QtTest>

using TestSupport::colorsOf;

namespace {

// The binarisation as a plain per-pixel rule: a pixel that differs from the reference becomes the
// text colour, every other pixel the inverse colour.
QImage binarizeByPixel(const QImage &painted, const QColor &text, QRgb reference)
{
    QImage copy = painted.convertToFormat(QImage::Format_RGB32);
    const QRgb textRgb =
        0xFF000000u | (uint(text.red()) << 16) | (uint(text.green()) << 8) | uint(text.blue());
    const QRgb inverse = qRgb(255 - text.red(), 255 - text.green(), 255 - text.blue());
    for (int y = 0; y < painted.height(); ++y) {
        for (int x = 0; x < painted.width(); ++x)
            copy.setPixel(x, y, painted.pixel(x, y) != reference ? textRgb : inverse);
    }
    return copy;
}

// Paints text the way the item image is painted before binarisation.
QImage paintText(const QString &text, const QFont &font, const QColor &color, const QSize &size)
{
    QImage painted(size, QImage::Format_RGB32);
    const QColor background(255 - color.red(), 255 - color.green(), 255 - color.blue());
    QPainter painter(&painted);
    painter.setFont(font);
    painter.setPen(QPen(QBrush(color), 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.setBackground(QBrush(background));
    painter.fillRect(0, 0, size.width(), size.height(), background);
    painter.drawText(QRect(0, 0, size.width(), size.height() - 1), 0, text);
    return painted;
}

int countOf(const QImage &image, QRgb color)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == color ? 1 : 0;
    }
    return count;
}

QFont font(const QString &family, int size, bool bold = false, bool italic = false, bool underline = false)
{
    return TextRenderer::makeFont(family, QString::number(size), bold, italic, underline);
}

const QSize kRoomy(4000, 4000);

} // namespace

class TestTextRenderer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void makeFont_data();
    void makeFont();

    void oneLineFitsExactly_data();
    void oneLineFitsExactly();
    void linesThatFitGiveTheWidestLine();

    void wrappingBreaksAtTheLimit_data();
    void wrappingBreaksAtTheLimit();
    void brokenLineNeverChangesAnotherLine();
    void breakingKeepsCharactersWhole();
    void characterWiderThanTheLimitStaysOnItsLine();

    void heightIsCapped();
    void fallbackGlyphsAreDrawnWhole_data();
    void fallbackGlyphsAreDrawnWhole();
    void onlyLineBreaksGiveANullImage();
    void spacesAreRendered();

    void backgroundIsTheInverseColour_data();
    void backgroundIsTheInverseColour();
    void exactlyTwoColours_data();
    void exactlyTwoColours();

    void binarizeMatchesThePerPixelRule_data();
    void binarizeMatchesThePerPixelRule();
    void binarizeOnEveryLevel_data();
    void binarizeOnEveryLevel();
    void renderMatchesPaintingAndPerPixelRule_data();
    void renderMatchesPaintingAndPerPixelRule();
    void glyphAtTheTopLeftKeepsTheBackground();
};

void TestTextRenderer::initTestCase()
{
    TestSupport::failOnQtWarnings();
    const QStringList families = QFontDatabase().families();
    for (const char *family :
         {"DejaVu Sans", "DejaVu Sans Mono", "Liberation Serif", "Liberation Mono", "Noto Sans CJK SC"})
        QVERIFY2(families.contains(QLatin1String(family)), family);
}

void TestTextRenderer::makeFont_data()
{
    QTest::addColumn<QString>("sizeText");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<int>("pointSize");
    QTest::addColumn<int>("weight");

    const int defaultSize = QFont(QStringLiteral("DejaVu Sans")).pointSize();
    QTest::newRow("plain 30") << "30" << false << false << false << 30 << 50;
    QTest::newRow("bold italic underlined 24") << "24" << true << true << true << 24 << 75;
    QTest::newRow("emptied size keeps the default") << "" << false << false << false << defaultSize << 50;
    QTest::newRow("zero keeps the default") << "0" << true << false << false << defaultSize << 75;
    QTest::newRow("negative keeps the default") << "-1" << false << true << false << defaultSize << 50;
    QTest::newRow("not a number keeps the default") << "3x" << false << false << true << defaultSize << 50;
}

void TestTextRenderer::makeFont()
{
    QFETCH(QString, sizeText);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(bool, underline);
    QFETCH(int, pointSize);
    QFETCH(int, weight);

    const QFont f = TextRenderer::makeFont(QStringLiteral("DejaVu Sans"), sizeText, bold, italic, underline);
    QCOMPARE(f.family(), QStringLiteral("DejaVu Sans"));
    QCOMPARE(f.pointSize(), pointSize);
    QCOMPARE(f.weight(), weight);
    QCOMPARE(f.italic(), italic);
    QCOMPARE(f.underline(), underline);
}

void TestTextRenderer::oneLineFitsExactly_data()
{
    QTest::addColumn<QFont>("font");
    QTest::addColumn<QString>("text");

    QTest::newRow("sans abc") << font(QStringLiteral("DejaVu Sans"), 24) << QStringLiteral("abc");
    QTest::newRow("serif bold") << font(QStringLiteral("Liberation Serif"), 36, true)
                                << QStringLiteral("Hello OSD");
    QTest::newRow("mono italic") << font(QStringLiteral("DejaVu Sans Mono"), 28, false, true)
                                 << QStringLiteral("x = 42;");
    QTest::newRow("chinese") << font(QStringLiteral("Noto Sans CJK SC"), 26) << QStringLiteral("文本设置");
}

void TestTextRenderer::oneLineFitsExactly()
{
    QFETCH(QFont, font);
    QFETCH(QString, text);

    const QFontMetrics metrics(font);
    const TextRenderer::Result result = TextRenderer::render(text, font, QColor(2, 2, 2), kRoomy);
    QCOMPARE(result.text, text);
    QCOMPARE(result.wrapped, false);
    QCOMPARE(result.lineCount, 1);
    QCOMPARE(result.image.format(), QImage::Format_RGB32);
    QCOMPARE(result.image.width(), metrics.horizontalAdvance(text));
    QCOMPARE(result.image.height(), metrics.height() + metrics.leading());
}

void TestTextRenderer::linesThatFitGiveTheWidestLine()
{
    const QFont f = font(QStringLiteral("DejaVu Sans"), 24);
    const QFontMetrics metrics(f);
    const QString text = QStringLiteral("ab\nwide middle line\n\nc");
    const TextRenderer::Result result = TextRenderer::render(text, f, QColor(2, 2, 2), kRoomy);
    QCOMPARE(result.text, text);
    QCOMPARE(result.lineCount, 4);
    QCOMPARE(result.image.width(), metrics.horizontalAdvance(QStringLiteral("wide middle line")));
    QCOMPARE(result.image.height(), 4 * (metrics.height() + metrics.leading()));
}

void TestTextRenderer::wrappingBreaksAtTheLimit_data()
{
    QTest::addColumn<QFont>("font");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("limitText");

    QTest::newRow("one long line") << font(QStringLiteral("DejaVu Sans"), 24)
                                   << QStringLiteral("The quick brown fox jumps over the lazy dog")
                                   << QStringLiteral("The quick brown");
    QTest::newRow("long and short lines")
        << font(QStringLiteral("Liberation Serif"), 30, true)
        << QStringLiteral("short\nan overlong line of text\nok") << QStringLiteral("an overlong");
    QTest::newRow("chinese") << font(QStringLiteral("Noto Sans CJK SC"), 28)
                             << QStringLiteral("输入的信息为空不能发送文本") << QStringLiteral("输入的信息");
    QTest::newRow("italic underlined") << font(QStringLiteral("DejaVu Sans Mono"), 24, false, true, true)
                                       << QStringLiteral("0123456789abcdefghij") << QStringLiteral("0123456");
}

void TestTextRenderer::wrappingBreaksAtTheLimit()
{
    QFETCH(QFont, font);
    QFETCH(QString, text);
    QFETCH(QString, limitText);

    const QFontMetrics metrics(font);
    const int limit = metrics.horizontalAdvance(limitText) + 3;
    const TextRenderer::Result result = TextRenderer::render(text, font, QColor(2, 2, 2), QSize(limit, 4000));

    QVERIFY(result.wrapped);
    QCOMPARE(result.image.width(), limit);
    // Only line breaks were added, and only inside lines.
    QCOMPARE(QString(result.text).remove(QLatin1Char('\n')), QString(text).remove(QLatin1Char('\n')));
    const QStringList drawn = result.text.split(QLatin1Char('\n'));
    QVERIFY(drawn.size() > text.split(QLatin1Char('\n')).size());
    QCOMPARE(result.lineCount, drawn.size());
    QCOMPARE(result.image.height(), drawn.size() * (metrics.height() + metrics.leading()));

    // Every drawn line fits, and every segment of a broken line is as long as it can be.
    const QStringList original = text.split(QLatin1Char('\n'));
    int at = 0;
    for (const QString &line : original) {
        QString rest = line;
        do {
            const QString segment = drawn.at(at++);
            QVERIFY(!segment.isEmpty() || line.isEmpty());
            QVERIFY2(metrics.horizontalAdvance(segment) <= limit, qPrintable(segment));
            QVERIFY(rest.startsWith(segment));
            rest.remove(0, segment.size());
            if (!rest.isEmpty())
                QVERIFY2(metrics.horizontalAdvance(segment + rest.at(0)) > limit, qPrintable(segment));
        } while (!rest.isEmpty());
    }
    QCOMPARE(at, drawn.size());
}

void TestTextRenderer::brokenLineNeverChangesAnotherLine()
{
    // The second line contains the first one; breaking the first must leave the second to be
    // broken on its own, so every drawn line still fits.
    const QFont f = font(QStringLiteral("DejaVu Sans Mono"), 24);
    const QFontMetrics metrics(f);
    const int limit = metrics.horizontalAdvance(QStringLiteral("abcd"));
    const QString text = QStringLiteral("abcdef\nxabcdef\nabcdef");
    const TextRenderer::Result result = TextRenderer::render(text, f, QColor(2, 2, 2), QSize(limit, 4000));
    QCOMPARE(result.text, QStringLiteral("abcd\nef\nxabc\ndef\nabcd\nef"));
    QCOMPARE(result.lineCount, 6);
    QCOMPARE(result.image.height(), 6 * (metrics.height() + metrics.leading()));
}

void TestTextRenderer::breakingKeepsCharactersWhole()
{
    // U+1D400 and U+20000 are stored as surrogate pairs; e + U+0301 is one character of two
    // code units. A limit of one pixel puts each character on its own line.
    const QString bold = QString::fromUcs4(U"\U0001D400");
    const QString han = QString::fromUcs4(U"\U00020000");
    const QString accented = QStringLiteral("e\u0301");
    const QString line = bold + han + accented + bold;
    const QFont f = font(QStringLiteral("DejaVu Sans"), 24);
    const TextRenderer::Result result = TextRenderer::render(line, f, QColor(2, 2, 2), QSize(1, 4000));
    QCOMPARE(result.text,
             bold + QLatin1Char('\n') + han + QLatin1Char('\n') + accented + QLatin1Char('\n') + bold);
    QCOMPARE(result.lineCount, 4);
}

void TestTextRenderer::characterWiderThanTheLimitStaysOnItsLine()
{
    const QFont f = font(QStringLiteral("DejaVu Sans"), 48);
    const QFontMetrics metrics(f);
    const int limit = metrics.horizontalAdvance(QLatin1Char('W')) / 2;
    const TextRenderer::Result result =
        TextRenderer::render(QStringLiteral("WW"), f, QColor(2, 2, 2), QSize(limit, 4000));
    QCOMPARE(result.text, QStringLiteral("W\nW"));
    QCOMPARE(result.image.width(), limit);
    QCOMPARE(result.lineCount, 2);
}

void TestTextRenderer::fallbackGlyphsAreDrawnWhole_data()
{
    QTest::addColumn<QFont>("font");
    QTest::addColumn<QString>("text");
    // Liberation Mono has no Chinese: those characters come from a taller fallback font.
    const QString mixed = QStringLiteral("Hello OSD 通道一");
    QTest::newRow("Liberation Mono 24") << font(QStringLiteral("Liberation Mono"), 24) << mixed;
    QTest::newRow("Liberation Mono bold 48") << font(QStringLiteral("Liberation Mono"), 48, true) << mixed;
    QTest::newRow("two lines, Chinese in the second")
        << font(QStringLiteral("Liberation Mono"), 24) << QStringLiteral("Hello\n通道一 OSD");
    QTest::newRow("Latin only, as before")
        << font(QStringLiteral("Liberation Mono"), 24) << QStringLiteral("Hello OSD\ngjpqy");
}

void TestTextRenderer::fallbackGlyphsAreDrawnWhole()
{
    QFETCH(QFont, font);
    QFETCH(QString, text);
    const QColor color(2, 2, 2);
    const TextRenderer::Result result = TextRenderer::render(text, font, color, kRoomy);
    QVERIFY(!result.image.isNull());
    const int height = result.image.height();
    // The same text painted with room to spare below: nothing of it reaches the picture's last
    // row (blank, as always) or below, and above that the two are the same.
    const QImage tall = paintText(text, font, color, QSize(result.image.width(), height * 3));
    const QRgb background = qRgb(253, 253, 253);
    for (int y = height - 1; y < tall.height(); ++y)
        for (int x = 0; x < tall.width(); ++x)
            QVERIFY2(tall.pixel(x, y) == background,
                     qPrintable(QStringLiteral("drawn at %1,%2").arg(x).arg(y)));
    QCOMPARE(result.image, binarizeByPixel(tall.copy(0, 0, tall.width(), height), color, background));
    QVERIFY(height > result.lineCount * TextRenderer::lineHeight(QFontMetrics(font)) ||
            !text.contains(QChar(0x901A)));
    // The family's own metrics stay the least height.
    const QFontMetrics metrics(font);
    QVERIFY(height >= result.lineCount * TextRenderer::lineHeight(metrics));
    if (!text.contains(QChar(0x901A)))
        QCOMPARE(height, result.lineCount * TextRenderer::lineHeight(metrics));
}

void TestTextRenderer::heightIsCapped()
{
    const QFont f = font(QStringLiteral("DejaVu Sans"), 24);
    const QFontMetrics metrics(f);
    const int lineHeight = metrics.height() + metrics.leading();
    const int cap = 2 * lineHeight + 5;
    const QString text = QStringLiteral("first\nsecond\nthird");
    const TextRenderer::Result result = TextRenderer::render(text, f, QColor(2, 2, 2), QSize(4000, cap));
    QCOMPARE(result.lineCount, 3);
    QCOMPARE(result.text, text);
    QCOMPARE(result.image.height(), cap);
    QCOMPARE(result.image.width(), metrics.horizontalAdvance(QStringLiteral("second")));

    // The third line is cut where the image ends: above the last row the capped image is the
    // uncapped one, the last row is outside the drawing rectangle, and the uncapped image has text
    // further down.
    const TextRenderer::Result full = TextRenderer::render(text, f, QColor(2, 2, 2), kRoomy);
    const int width = result.image.width();
    QCOMPARE(full.image.size(), QSize(width, 3 * lineHeight));
    QCOMPARE(result.image.copy(0, 0, width, cap - 1), full.image.copy(0, 0, width, cap - 1));
    QCOMPARE(colorsOf(result.image.copy(0, cap - 1, width, 1)), QSet<QRgb>{qRgb(253, 253, 253)});
    QVERIFY(countOf(full.image.copy(0, cap, width, full.image.height() - cap), qRgb(2, 2, 2)) > 0);
}

void TestTextRenderer::onlyLineBreaksGiveANullImage()
{
    const QFont f = font(QStringLiteral("DejaVu Sans"), 24);
    const TextRenderer::Result result =
        TextRenderer::render(QStringLiteral("\n\n"), f, QColor(2, 2, 2), kRoomy);
    QVERIFY(result.image.isNull());
    QCOMPARE(result.lineCount, 3);
}

void TestTextRenderer::spacesAreRendered()
{
    const QFont f = font(QStringLiteral("DejaVu Sans"), 24);
    const QFontMetrics metrics(f);
    const TextRenderer::Result result =
        TextRenderer::render(QStringLiteral("   "), f, QColor(2, 2, 2), kRoomy);
    QVERIFY(!result.image.isNull());
    QCOMPARE(result.image.width(), metrics.horizontalAdvance(QStringLiteral("   ")));
    QCOMPARE(colorsOf(result.image), QSet<QRgb>{qRgb(253, 253, 253)});
}

void TestTextRenderer::backgroundIsTheInverseColour_data()
{
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("background");

    QTest::newRow("near black") << QColor(2, 2, 2) << QColor(253, 253, 253);
    QTest::newRow("white") << QColor(Qt::white) << QColor(Qt::black);
    QTest::newRow("red") << QColor(255, 0, 0) << QColor(0, 255, 255);
    QTest::newRow("translucent") << QColor(10, 100, 200, 40) << QColor(245, 155, 55);
}

void TestTextRenderer::backgroundIsTheInverseColour()
{
    QFETCH(QColor, text);
    QFETCH(QColor, background);

    const QFont f = font(QStringLiteral("DejaVu Sans"), 30);
    const TextRenderer::Result result = TextRenderer::render(QStringLiteral("Mg"), f, text, kRoomy);
    const QRgb textRgb = qRgb(text.red(), text.green(), text.blue());
    QCOMPARE(colorsOf(result.image), (QSet<QRgb>{textRgb, background.rgb()}));
    QVERIFY(countOf(result.image, background.rgb()) > countOf(result.image, textRgb));
    QCOMPARE(TextRenderer::inverseColor(text), background);
}

void TestTextRenderer::exactlyTwoColours_data()
{
    QTest::addColumn<QFont>("font");
    QTest::addColumn<QColor>("color");

    QTest::newRow("bold") << font(QStringLiteral("DejaVu Sans"), 30, true) << QColor(2, 2, 2);
    QTest::newRow("italic") << font(QStringLiteral("Liberation Serif"), 30, false, true)
                            << QColor(200, 30, 90);
    QTest::newRow("underlined") << font(QStringLiteral("DejaVu Sans"), 30, false, false, true)
                                << QColor(Qt::white);
    QTest::newRow("bold italic underlined chinese")
        << font(QStringLiteral("Noto Sans CJK SC"), 36, true, true, true) << QColor(0, 128, 0);
}

void TestTextRenderer::exactlyTwoColours()
{
    QFETCH(QFont, font);
    QFETCH(QColor, color);

    const QString text = QStringLiteral("Aa 文字 /\\ ~");
    const TextRenderer::Result result = TextRenderer::render(text, font, color, kRoomy);
    // Painting anti-aliases the glyph edges; the image that leaves holds only the two colours.
    const QImage painted = paintText(text, font, color, result.image.size());
    QVERIFY(colorsOf(painted).size() > 2);
    QCOMPARE(colorsOf(result.image), (QSet<QRgb>{qRgb(color.red(), color.green(), color.blue()),
                                                 TextRenderer::inverseColor(color).rgb()}));
}

void TestTextRenderer::binarizeMatchesThePerPixelRule_data()
{
    QTest::addColumn<QImage>("painted");
    QTest::addColumn<QColor>("text");

    const QColor grey(2, 2, 2);
    const QFont italic = font(QStringLiteral("Liberation Serif"), 40, true, true, true);
    QTest::newRow("anti-aliased text")
        << paintText(QStringLiteral("  Wavy ~ text"), italic, grey, QSize(300, 60)) << grey;
    QTest::newRow("coloured text") << paintText(QStringLiteral(" 文字"),
                                                font(QStringLiteral("Noto Sans CJK SC"), 30),
                                                QColor(20, 200, 90), QSize(80, 45))
                                   << QColor(20, 200, 90);

    // Noise around a background-coloured top-left pixel, in a format that is not RGB32.
    QImage noise(37, 23, QImage::Format_ARGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < noise.height(); ++y) {
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, random.bounded(3) == 0 ? qRgb(200, 55, 0) : 0xFF000000u | random.generate());
    }
    noise.setPixel(0, 0, qRgb(200, 55, 0));
    QTest::newRow("noise") << noise << QColor(55, 200, 255);
}

void TestTextRenderer::binarizeMatchesThePerPixelRule()
{
    QFETCH(QImage, painted);
    QFETCH(QColor, text);

    const QImage expected = binarizeByPixel(painted, text, painted.pixel(0, 0));
    const QImage actual = TextRenderer::binarize(painted, text, TextRenderer::inverseColor(text));
    QCOMPARE(actual.format(), QImage::Format_RGB32);
    QCOMPARE(actual, expected);
}

// The vector steps take 16 and 4 pixels: one pixel off the background at every place of runs
// around those steps, with the alpha byte ignored, on every level, with and without streaming
// stores, rows as one run and rows with padding.
void TestTextRenderer::binarizeOnEveryLevel_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("padded");
    for (int width : {1, 3, 4, 5, 15, 16, 17, 31, 32, 33}) {
        for (bool padded : {false, true})
            QTest::addRow("%d%s", width, padded ? " padded" : "") << width << padded;
    }
}

void TestTextRenderer::binarizeOnEveryLevel()
{
    QFETCH(int, width);
    QFETCH(bool, padded);
    const QColor text(20, 200, 90);
    const QColor background = TextRenderer::inverseColor(text);
    const CpuFeatures::Level levels[] = {CpuFeatures::Level::Portable, CpuFeatures::Level::Ssse3,
                                         CpuFeatures::Level::Avx2};
    for (CpuFeatures::Level level : levels) {
        if (CpuFeatures::detectedLevel() < level)
            continue;
        for (auto streaming : {CpuFeatures::Streaming::Never, CpuFeatures::Streaming::Always}) {
            const CpuFeatures::Limit limit(level, streaming);
            for (int at = 0; at < width; ++at) {
                QImage base(width, 2, QImage::Format_RGB32);
                base.fill(background);
                // Background pixels with another alpha byte stay background; the odd one differs
                // from it in the lowest bit of one channel only.
                auto *row = reinterpret_cast<quint32 *>(base.scanLine(1));
                for (int x = 0; x < width; ++x)
                    row[x] &= 0x00FFFFFFu | (quint32(x) << 24);
                row[at] ^= 1u << (8 * (at % 3));
                QByteArray buffer;
                const QImage painted = padded ? TestSupport::Keying::paddedCopy(base, &buffer) : base;
                const QImage actual = TextRenderer::binarize(painted, text, background);
                const QImage expected = binarizeByPixel(base, text, background.rgb());
                QVERIFY2(actual == expected, qPrintable(QStringLiteral("%1%2, pixel %3")
                                                            .arg(QLatin1String(CpuFeatures::name(level)))
                                                            .arg(streaming == CpuFeatures::Streaming::Always
                                                                     ? QStringLiteral(", streaming")
                                                                     : QString())
                                                            .arg(at)));
            }
        }
    }
}

void TestTextRenderer::renderMatchesPaintingAndPerPixelRule_data()
{
    QTest::addColumn<QFont>("font");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QSize>("maxSize");

    QTest::newRow("plain") << font(QStringLiteral("DejaVu Sans"), 24) << QStringLiteral(" plain text")
                           << kRoomy;
    QTest::newRow("bold italic underlined") << font(QStringLiteral("Liberation Serif"), 32, true, true, true)
                                            << QStringLiteral(" styled\n two lines") << kRoomy;
    QTest::newRow("wrapped and capped") << font(QStringLiteral("DejaVu Sans Mono"), 26)
                                        << QStringLiteral(" wrapped into a few lines") << QSize(150, 70);
}

void TestTextRenderer::renderMatchesPaintingAndPerPixelRule()
{
    QFETCH(QFont, font);
    QFETCH(QString, text);
    QFETCH(QSize, maxSize);

    const QColor color(120, 10, 240);
    const TextRenderer::Result result = TextRenderer::render(text, font, color, maxSize);
    const QImage painted = paintText(result.text, font, color, result.image.size());
    QCOMPARE(painted.pixel(0, 0), TextRenderer::inverseColor(color).rgb());
    QCOMPARE(result.image, binarizeByPixel(painted, color, painted.pixel(0, 0)));
}

void TestTextRenderer::glyphAtTheTopLeftKeepsTheBackground()
{
    // A painted image whose top-left pixel is already text: the background must stay the
    // background rather than trading places with the text.
    const QColor text(2, 2, 2);
    const QColor background = TextRenderer::inverseColor(text);
    QImage painted(20, 10, QImage::Format_RGB32);
    painted.fill(background);
    painted.setPixel(0, 0, qRgb(2, 2, 2));
    painted.setPixel(1, 0, qRgb(90, 90, 90));

    const QImage result = TextRenderer::binarize(painted, text, background);
    QCOMPARE(result.pixel(0, 0), qRgb(2, 2, 2));
    QCOMPARE(result.pixel(1, 0), qRgb(2, 2, 2));
    QCOMPARE(countOf(result, background.rgb()), 20 * 10 - 2);

    // The same through rendering: a full block reaches the top of its line.
    const QFont f = font(QStringLiteral("DejaVu Sans Mono"), 40);
    const TextRenderer::Result rendered = TextRenderer::render(QStringLiteral("\u2588 "), f, text, kRoomy);
    QVERIFY(paintText(rendered.text, f, text, rendered.image.size()).pixel(0, 0) != background.rgb());
    QVERIFY(countOf(rendered.image, background.rgb()) > countOf(rendered.image, qRgb(2, 2, 2)) / 4);
    QCOMPARE(rendered.image.pixel(rendered.image.width() - 1, rendered.image.height() / 2), background.rgb());
}

QTEST_MAIN(TestTextRenderer)
#include "tst_textrenderer.moc"
