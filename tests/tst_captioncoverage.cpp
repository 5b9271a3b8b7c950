// Whether the installed fonts can draw the Chinese captions. CTest runs this twice: with the
// machine's fonts, and with a font set of DejaVu alone (BRISKLANE_LATIN_FONTS_ONLY), the fonts of
// a Debian machine where no Chinese font was installed.
#include "core/text/captioncoverage.h"

#include <QBuffer>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QtTest>

class TestCaptionCoverage : public QObject
{
    Q_OBJECT
private slots:
    void chineseCharacters_data();
    void chineseCharacters();
    void sourceTextsOfATranslationFile();
    void aFontWithoutChineseMissesItsCharacters();
    void theApplicationFontAgreesWithTheFontDatabase();
};

void TestCaptionCoverage::chineseCharacters_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no texts need nothing") << QStringList() << QString();
    QTest::newRow("Latin letters, digits and ASCII punctuation need no Chinese font")
        << QStringList{"Export 42: ok (*.pic)"} << QString();
    QTest::newRow("Latin between the ideographs is left out") << QStringList{"OSD截取开关"} << "截取开关";
    QTest::newRow("each character once, in the order it first appears")
        << QStringList{"图片图", "片文字"} << "图片文字";
    QTest::newRow("Chinese punctuation counts") << QStringList{"确定，取消。"} << "确定，取消。";
    QTest::newRow("fullwidth forms count") << QStringList{"（１）"} << "（１）";
    // The edges of the two punctuation blocks.
    QTest::newRow("U+2FFF, before the CJK punctuation, is left out") << QStringList{"\u2FFF"} << QString();
    QTest::newRow("U+3000 and U+303F, the first and last of it, count")
        << QStringList{"\u3000\u303F"} << "\u3000\u303F";
    QTest::newRow("U+3040, after it, is left out") << QStringList{"\u3040"} << QString();
    QTest::newRow("U+FEFF, before the fullwidth forms, is left out")
        << QStringList{QString(QChar(0xFEFF))} << QString();
    QTest::newRow("U+FF00 and U+FFEF, the first and last of them, count")
        << QStringList{"\uFF00\uFFEF"} << "\uFF00\uFFEF";
    QTest::newRow("U+FFF0, after them, is left out") << QStringList{"\uFFF0"} << QString();
    QTest::newRow("an ideograph outside the basic plane counts")
        << QStringList{QString::fromUcs4(U"a\U00020000")} << QString::fromUcs4(U"\U00020000");
}

void TestCaptionCoverage::chineseCharacters()
{
    QFETCH(QStringList, texts);
    QFETCH(QString, expected);
    QCOMPARE(CaptionCoverage::chineseCharacters(texts), expected);
}

void TestCaptionCoverage::sourceTextsOfATranslationFile()
{
    QByteArray ts = R"(<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="zh_CN">
<context>
    <name>A</name>
    <message><source>导入</source><translation>Import</translation></message>
    <message><source>&amp;格式</source><comment>菜单</comment><translation>&amp;Format</translation></message>
</context>
<context>
    <name>B</name>
    <message numerus="yes"><source>%n 个OSD</source>
        <translation><numerusform>%n OSD</numerusform><numerusform>%n OSDs</numerusform></translation></message>
</context>
</TS>
)";
    QBuffer buffer(&ts);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    // The sources only, as written: not the names, comments or translations.
    QCOMPARE(CaptionCoverage::sourceTexts(&buffer), (QStringList{"导入", "&格式", "%n 个OSD"}));
}

void TestCaptionCoverage::aFontWithoutChineseMissesItsCharacters()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    // The font alone, without the fonts Qt would fall back to.
    font.setStyleStrategy(QFont::NoFontMerging);
    if (QFontInfo(font).family() != QLatin1String("DejaVu Sans"))
        QSKIP("DejaVu Sans is not installed");
    QCOMPARE(CaptionCoverage::missing(font, QStringLiteral("图A片，")), QStringLiteral("图片，"));
    QCOMPARE(CaptionCoverage::missing(font, QStringLiteral("OSD")), QString());
}

void TestCaptionCoverage::theApplicationFontAgreesWithTheFontDatabase()
{
    // The writing systems the font database lists come from the fonts' own tables, not from the
    // glyph lookup the check makes: two ways to the same answer.
    const bool chineseFontInstalled = !QFontDatabase().families(QFontDatabase::SimplifiedChinese).isEmpty();
    const QString missing = CaptionCoverage::missingForApplication();
    if (qEnvironmentVariableIsSet("BRISKLANE_LATIN_FONTS_ONLY"))
        QVERIFY(!chineseFontInstalled);
    QVERIFY2(missing.isEmpty() == chineseFontInstalled, qPrintable(missing.left(20)));
    // The embedded captions are read: the toolbar's "图片" is among them.
    if (!chineseFontInstalled)
        QVERIFY(missing.contains(QStringLiteral("图")) && missing.contains(QStringLiteral("片")));
}

QTEST_MAIN(TestCaptionCoverage)
#include "tst_captioncoverage.moc"
