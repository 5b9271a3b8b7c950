// The editor in English: its --lang option, the order of --lang and the setting, and the main
// window's captions and questions once the English translation is installed.
#include "app/applicationstylesheet.h"
#include "app/languageoption.h"
#include "core/settings/config.h"
#include "mainwindow/quillmere.h"
#include "support/core/englishtranslation.h"
#include "support/core/settingsfolder.h"
#include "support/testsupport.h"
#include "support/windowparts.h"
#include "widgets/customtoolbutton.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QStyle>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(LanguageChoice::Language)

class TestLanguage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void langOption_data();
    void langOption();
    void optionBeatsTheSetting_data();
    void optionBeatsTheSetting();
    void startsTheEditor_data();
    void startsTheEditor();
    void legibleLanguage_data();
    void legibleLanguage();

    void toolbarInEnglish_data();
    void toolbarInEnglish();
    void panelInEnglish_data();
    void panelInEnglish();
    void englishCaptionsFitTheirControls();
    void questionsInEnglish_data();
    void questionsInEnglish();
    void chineseWithoutTheTranslation();

private:
    std::unique_ptr<TestSupport::EnglishTranslation> m_english;
};

void TestLanguage::initTestCase()
{
    TestSupport::failOnQtWarnings();
    // The editor's own style sheet, so captions are measured in the fonts the operator sees.
    QVERIFY(ApplicationStyleSheet::apply(*qApp));
}

void TestLanguage::langOption_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("errorMentions");
    QTest::newRow("none") << QStringList{"brisklane"} << true << ""
                          << "";
    QTest::newRow("--lang en") << QStringList{"brisklane", "--lang", "en"} << true << "en"
                               << "";
    QTest::newRow("--lang=zh") << QStringList{"brisklane", "--lang=zh"} << true << "zh"
                               << "";
    QTest::newRow("unknown language") << QStringList{"brisklane", "--lang", "fr"} << false << "fr"
                                      << "\"fr\"";
    QTest::newRow("a locale is not a language code")
        << QStringList{"brisklane", "--lang", "en_US"} << false << "en_US"
        << "zh or en";
    QTest::newRow("no value") << QStringList{"brisklane", "--lang"} << false << ""
                              << "lang";
    QTest::newRow("unknown option") << QStringList{"brisklane", "--language", "en"} << false << ""
                                    << "language";
}

void TestLanguage::langOption()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, ok);
    QFETCH(QString, value);
    QFETCH(QString, errorMentions);
    const LanguageOption::Parsed parsed = LanguageOption::parse(arguments);
    QCOMPARE(parsed.ok, ok);
    if (ok)
        QCOMPARE(parsed.value, value);
    else
        QVERIFY2(parsed.error.contains(errorMentions), qPrintable(parsed.error));
}

void TestLanguage::optionBeatsTheSetting_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("setting");
    QTest::addColumn<LanguageChoice::Language>("expected");
    QTest::newRow("setting en") << QStringList{"brisklane"} << "en" << LanguageChoice::English;
    QTest::newRow("setting zh") << QStringList{"brisklane"} << "zh" << LanguageChoice::Chinese;
    QTest::newRow("--lang zh over setting en")
        << QStringList{"brisklane", "--lang", "zh"} << "en" << LanguageChoice::Chinese;
    QTest::newRow("--lang en over setting zh")
        << QStringList{"brisklane", "--lang", "en"} << "zh" << LanguageChoice::English;
}

void TestLanguage::optionBeatsTheSetting()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, setting);
    QFETCH(LanguageChoice::Language, expected);
    const TestSupport::SettingsFolder folder;
    {
        Config config(folder.path());
        config.language = setting;
    }
    const LanguageOption::Parsed parsed = LanguageOption::parse(arguments);
    QVERIFY(parsed.ok);
    QCOMPARE(LanguageOption::choose(parsed, folder.path()), expected);
}

void TestLanguage::startsTheEditor_data()
{
    // tst_commandline runs the help, the version and the usage errors in a child process.
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("files only") << QStringList{"brisklane", "a.pic"};
    QTest::newRow("Qt's own option, which only the application object takes")
        << QStringList{"brisklane", "-style", "fusion", "a.pic"};
}

void TestLanguage::startsTheEditor()
{
    QFETCH(QStringList, arguments);
    QCOMPARE(LanguageOption::answerBeforeStart(LanguageOption::parse(arguments)), -1);
}

void TestLanguage::legibleLanguage_data()
{
    QTest::addColumn<LanguageChoice::Language>("chosen");
    QTest::addColumn<bool>("optionGiven");
    QTest::addColumn<QString>("missing");
    QTest::addColumn<LanguageChoice::Language>("shown");
    QTest::addColumn<QString>("noticeMentions"); // empty: no notice
    const auto zh = LanguageChoice::Chinese;
    const auto en = LanguageChoice::English;
    QTest::newRow("Chinese without a font for it: English, and why")
        << zh << false << "图片" << en << "--lang zh|en";
    QTest::newRow("one character missing is enough") << zh << false << "图" << en << "fonts-noto-cjk";
    QTest::newRow("Chinese with the fonts for it, silently") << zh << false << "" << zh << "";
    QTest::newRow("--lang zh without a font for it is kept, with a warning")
        << zh << true << "图片" << zh << "fonts-noto-cjk";
    QTest::newRow("--lang zh with the fonts, silently") << zh << true << "" << zh << "";
    QTest::newRow("English needs no Chinese font") << en << false << "图片" << en << "";
    QTest::newRow("--lang en needs no Chinese font") << en << true << "图片" << en << "";
}

void TestLanguage::legibleLanguage()
{
    QFETCH(LanguageChoice::Language, chosen);
    QFETCH(bool, optionGiven);
    QFETCH(QString, missing);
    QFETCH(LanguageChoice::Language, shown);
    QFETCH(QString, noticeMentions);
    const LanguageOption::Legible legible = LanguageOption::legible(chosen, optionGiven, missing);
    QCOMPARE(legible.language, shown);
    if (noticeMentions.isEmpty()) {
        QCOMPARE(legible.notice, QString());
    } else {
        QVERIFY2(legible.notice.contains(noticeMentions), qPrintable(legible.notice));
        // One line on stderr, in English: the window's language is not settled yet.
        QVERIFY(!legible.notice.contains(QLatin1Char('\n')));
        QVERIFY(legible.notice.startsWith(QLatin1String("brisklane: ")));
    }
}

void TestLanguage::toolbarInEnglish_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("caption");
    QTest::newRow("import") << "import"
                            << "Import";
    QTest::newRow("export") << "export"
                            << "Export";
    QTest::newRow("picture") << "picture"
                             << "Picture";
    QTest::newRow("text") << "text"
                          << "Text";
    QTest::newRow("overview") << "overview"
                              << "Overview";
}

namespace {

CustomToolButton *toolButton(Quillmere &w, const QString &name)
{
    if (name == QLatin1String("import"))
        return TestSupport::toolBarButton(w, QStringLiteral("importButton"));
    if (name == QLatin1String("export"))
        return TestSupport::toolBarButton(w, QStringLiteral("exportButton"));
    if (name == QLatin1String("picture"))
        return TestSupport::toolBarButton(w, QStringLiteral("pictureButton"));
    if (name == QLatin1String("text"))
        return TestSupport::toolBarButton(w, QStringLiteral("textButton"));
    return TestSupport::toolBarButton(w, QStringLiteral("overviewButton"));
}

// The texts of the labels and buttons under parent.
QStringList shownTexts(const QWidget *parent)
{
    QStringList texts;
    const QList<QLabel *> labels = parent->findChildren<QLabel *>();
    for (const QLabel *label : labels)
        texts.append(label->text());
    const QList<QAbstractButton *> buttons = parent->findChildren<QAbstractButton *>();
    for (const QAbstractButton *button : buttons)
        texts.append(button->text());
    return texts;
}

} // namespace

void TestLanguage::toolbarInEnglish()
{
    QFETCH(QString, button);
    QFETCH(QString, caption);
    const TestSupport::EnglishTranslation english;
    QVERIFY(english.isLoaded());
    Quillmere w;
    CustomToolButton *tool = toolButton(w, button);
    QCOMPARE(tool->captionLabel()->text(), caption);
    // The push button under the caption carries it as its tip.
    QCOMPARE(tool->parentWidget()->toolTip(), caption);
}

void TestLanguage::panelInEnglish_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("title") << "Properties";
    QTest::newRow("keying switch") << "Key";
    QTest::newRow("reset") << "Reset";
    QTest::newRow("position") << "Position";
    QTest::newRow("fill colour") << "Fill";
    QTest::newRow("output screen") << "Output";
}

void TestLanguage::panelInEnglish()
{
    QFETCH(QString, text);
    const TestSupport::EnglishTranslation english;
    QVERIFY(english.isLoaded());
    Quillmere w;
    const QStringList texts = shownTexts(&w);
    QVERIFY2(texts.contains(text), qPrintable(texts.join(QLatin1Char('|'))));
}

namespace {

QString captionOf(const QWidget *widget)
{
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return label->text();
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        return button->text();
    return QString();
}

// The width a fixed-size control gives its caption: a label's contents, a button inside its border,
// a check box beside its box.
int captionRoom(const QWidget *widget)
{
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return label->contentsRect().width();
    int room = widget->width() - 2;
    if (qobject_cast<const QCheckBox *>(widget))
        room -= widget->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, widget) +
                widget->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, widget);
    return room;
}

} // namespace

void TestLanguage::englishCaptionsFitTheirControls()
{
    // The same window in Chinese tells which captions the translation changed.
    Quillmere chinese;
    chinese.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chinese));
    const TestSupport::EnglishTranslation english;
    QVERIFY(english.isLoaded());
    Quillmere w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // Toolbar captions stand under a 30-pixel icon, all in the toolbar's one size: a button is as
    // wide as its caption needs, at least 50 pixels.
    const qreal toolbarSize =
        toolButton(chinese, QStringLiteral("import"))->captionLabel()->font().pointSizeF();
    for (const char *name : {"import", "export", "picture", "text", "overview"}) {
        const CustomToolButton *tool = toolButton(w, QLatin1String(name));
        const QLabel *caption = tool->captionLabel();
        QCOMPARE(caption->font().pointSizeF(), toolbarSize);
        const int advance = caption->fontMetrics().horizontalAdvance(caption->text());
        // The layout gives the label that room inside the button.
        QVERIFY2(caption->width() >= advance && caption->x() >= 0 &&
                     caption->geometry().right() < tool->width(),
                 qPrintable(caption->text()));
        QVERIFY(tool->width() >= 50);
    }
    // Every other translated caption of a fixed width.
    const QList<QWidget *> widgets = w.findChildren<QWidget *>();
    const QList<QWidget *> originals = chinese.findChildren<QWidget *>();
    QCOMPARE(widgets.size(), originals.size());
    int checked = 0;
    for (int i = 0; i < widgets.size(); ++i) {
        const QWidget *widget = widgets.at(i);
        const QString text = captionOf(widget);
        if (text.isEmpty() || text == captionOf(originals.at(i)) ||
            widget->minimumWidth() != widget->maximumWidth() || !widget->isVisible())
            continue;
        ++checked;
        const int advance = widget->fontMetrics().horizontalAdvance(text);
        QVERIFY2(
            advance <= captionRoom(widget),
            qPrintable(
                QStringLiteral("%1 needs %2 px, has %3").arg(text).arg(advance).arg(captionRoom(widget))));
    }
    QVERIFY(checked >= 5);
}

void TestLanguage::questionsInEnglish_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("text");
    QTest::newRow("remove all, answered No") << "remove all"
                                             << "No"
                                             << "Delete all OSDs?";
    QTest::newRow("reset, confirmed with OK") << "reset"
                                              << "OK"
                                              << "OSD1 has been reset.";
}

void TestLanguage::questionsInEnglish()
{
    QFETCH(QString, action);
    QFETCH(QString, reply);
    QFETCH(QString, text);
    const TestSupport::EnglishTranslation english;
    QVERIFY(english.isLoaded());
    Quillmere w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.on_notifyAddTable(0);
    QCOMPARE(TestSupport::tabList(w)->count(), 2);
    TestSupport::tabList(w)->setCurrentIndex(0);

    QStringList seen;
    TestSupport::replyToNextModal(reply, &seen);
    if (action == QLatin1String("remove all"))
        w.slot_removeAllTable();
    else
        w.slot_Resetbutton();
    QVERIFY2(seen.contains(text), qPrintable(seen.join(QLatin1Char('|'))));
    QCOMPARE(seen.value(0), QStringLiteral("Notice"));
    // "No" kept the tabs: the reply was found on the translated button.
    QCOMPARE(TestSupport::tabList(w)->count(), 2);
}

void TestLanguage::chineseWithoutTheTranslation()
{
    {
        const TestSupport::EnglishTranslation english;
        QVERIFY(english.isLoaded());
    }
    // Taking the translation away gives the texts back as written, whatever the locale.
    Quillmere w;
    QCOMPARE(TestSupport::toolBarButton(w, QStringLiteral("importButton"))->captionLabel()->text(),
             QStringLiteral("导入"));
    QVERIFY(shownTexts(&w).contains(QStringLiteral("扣色启用")));
}

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
