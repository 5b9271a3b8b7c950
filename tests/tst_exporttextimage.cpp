// The text image window: defaults, settings, sending and re-editing.
#include "core/settings/config.h"
#include "core/text/sizevalidator.h"
#include "core/text/textrenderer.h"
#include "support/core/pictures.h"
#include "support/exporttextimagefixture.h"
#include "support/exporttextimagetestaccess.h"
#include "support/sendrecorder.h"
#include "support/testsupport.h"
#include "support/textediting.h"
#include "textexport/exporttextimage.h"

#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QIntValidator>
#include <QLineEdit>
#include <QMetaMethod>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolBar>
#include <QtTest>

using Sent = TestSupport::SendRecorder::Sent;
using TestSupport::colorsOf;
using TestSupport::looks;
using TestSupport::SendRecorder;
using TestSupport::shownLooks;
using TestSupport::typeInto;

class TestExportTextImage : public ExportTextImageFixture
{
    Q_OBJECT

private slots:
    void newWindowDefaults();
    void controlsAreSetUp();
    void slotsInMetaObjectOrder();
    void settingsGiveFamilyAndStyle_data();
    void settingsGiveFamilyAndStyle();
    void freshSettingsFileHoldsEveryKeyAfterOneOpening();
    void recentNames_data();
    void recentNames();

    void sendOneLine();
    void sendWrapsAtTheLimit();
    void emptyTextIsRefused_data();
    void emptyTextIsRefused();
    void onlySpacesAreSent();
    void eachSendEmitsAgain();

    void loadTextShowsAStoredItem();
    void loadTextWithAMissingFamilyStillRenders();
    void reEditRestoresTheItemsLook_data();
    void reEditRestoresTheItemsLook();
    void editorShowsTheRenderedFont_data();
    void editorShowsTheRenderedFont();
    void closeHidesAndReports();
    void colourEntriesAreNamed();
    void editorMenuSpeaksTheInterfaceLanguage_data();
    void editorMenuSpeaksTheInterfaceLanguage();
};

void TestExportTextImage::newWindowDefaults()
{
    m_config->fontSize = 36; // listed, yet a new window starts at 24
    ExportTextImage *window = openWindow();
    ExportTextImageTestAccess w(window);

    QCOMPARE(window->windowTitle(), QStringLiteral("文本设置"));
    QCOMPARE(w.comboSize()->currentText(), QStringLiteral("24"));
    QCOMPARE(w.fontSize(), QStringLiteral("24"));
    QCOMPARE(w.comboColor()->currentIndex(), QColor::colorNames().indexOf(QStringLiteral("black")));
    QCOMPARE(w.textColor(), QColor(2, 2, 2, 255));
    QVERIFY(!w.bold()->isChecked());
    QVERIFY(!w.italic()->isChecked());
    QVERIFY(!w.underline()->isChecked());
    // "CourierNew" is rarely installed; the combo shows the family that stands in for it.
    QCOMPARE(w.comboFont()->currentText(), QFontInfo(QFont(QStringLiteral("CourierNew"))).family());
    QCOMPARE(w.fontFamily(), QString());
    QCOMPARE(window->maxImageSize(), QSize(560, 300));
    QCOMPARE(window->tempImagePath(), QStringLiteral("./temp/tempTextImage.png"));
    window->setTempImagePath(QStringLiteral("elsewhere.png"));
    QCOMPARE(window->tempImagePath(), QStringLiteral("elsewhere.png"));

    ExportTextImage unsized(m_config, nullptr);
    QCOMPARE(unsized.maxImageSize(), QSize(-1, -1));
}

void TestExportTextImage::controlsAreSetUp()
{
    ExportTextImageTestAccess w(openWindow());

    QList<int> expectedSizes;
    const QList<int> standard = QFontDatabase::standardSizes();
    for (int size : standard) {
        if (size > 23)
            expectedSizes << size;
    }
    QList<int> sizes;
    for (int i = 0; i < w.comboSize()->count(); ++i)
        sizes << w.comboSize()->itemText(i).toInt();
    QCOMPARE(sizes, expectedSizes);
    QCOMPARE(sizes.first(), 24);

    QVERIFY(w.comboSize()->isEditable());
    QCOMPARE(w.comboSize()->insertPolicy(), QComboBox::NoInsert);
    const auto *validator = qobject_cast<const SizeValidator *>(w.comboSize()->lineEdit()->validator());
    QVERIFY(validator);
    QCOMPARE(validator->bottom(), 24);
    QCOMPARE(validator->top(), 200);
    QVERIFY(!w.comboFont()->isEditable());
    QVERIFY(!w.comboColor()->isEditable());
    for (QComboBox *combo : {static_cast<QComboBox *>(w.comboFont()), w.comboSize(), w.comboColor()})
        QCOMPARE(combo->maxVisibleItems(), 10);

    QCOMPARE(w.comboColor()->count(), QColor::colorNames().size());
    QCOMPARE(w.comboColor()->iconSize(), QSize(50, 20));
    const int red = QColor::colorNames().indexOf(QStringLiteral("red"));
    const QImage swatch = w.comboColor()->itemIcon(red).pixmap(50, 20).toImage();
    QCOMPARE(swatch.size(), QSize(50, 20));
    QCOMPARE(colorsOf(swatch), QSet<QRgb>{qRgb(255, 0, 0)});

    QCOMPARE(w.comboStyle()->count(), 4);
    QVERIFY(w.comboStyle()->isHidden());
    QVERIFY(w.tabWidget()->tabBar()->isHidden());
    QCOMPARE(w.tabWidget()->count(), 1);
    QCOMPARE(w.tabWidget()->tabText(0), QStringLiteral("文本编辑"));

    QCOMPARE(w.bold()->shortcut(), QKeySequence(QStringLiteral("Ctrl+B")));
    QCOMPARE(w.italic()->shortcut(), QKeySequence(QStringLiteral("Ctrl+I")));
    QCOMPARE(w.underline()->shortcut(), QKeySequence(QStringLiteral("Ctrl+U")));
    QCOMPARE(w.send()->text(), QStringLiteral("发送到硬件"));
    const QList<QAction *> actions = w.actionToolBar()->actions();
    QCOMPARE(actions.size(), 6);
    QCOMPARE(actions.at(0), w.bold());
    QCOMPARE(actions.at(1), w.italic());
    QCOMPARE(actions.at(2), w.underline());
    QVERIFY(actions.at(3)->isSeparator());
    QCOMPARE(actions.at(4), w.send());
    QVERIFY(actions.at(5)->isSeparator());
    for (QToolBar *toolBar : {w.formatToolBar(), w.actionToolBar()}) {
        QVERIFY(!toolBar->isMovable());
        QCOMPARE(toolBar->allowedAreas(), Qt::TopToolBarArea | Qt::BottomToolBarArea);
    }
}

void TestExportTextImage::slotsInMetaObjectOrder()
{
    const QStringList expected{"currentChanged(int)",
                               "modificationChanged(bool)",
                               "selectionChanged()",
                               "newFile()",
                               "textColor()",
                               "textFont()",
                               "textFontFamily(QString)",
                               "textSize(QString)",
                               "on_comboSizeEditTextChanged(QString)",
                               "on_comboSizeFocusOutEvent(QFocusEvent*)",
                               "textStyle(int)",
                               "textStyle()",
                               "colorStyle()",
                               "updateTextStyleActs(QString)",
                               "expImage()",
                               "setCurrentWindow(QAction*)",
                               "setsystemStyle()",
                               "on_textChanged()"};
    const QMetaObject &meta = ExportTextImage::staticMetaObject;
    QStringList slotNames;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        if (meta.method(i).methodType() == QMetaMethod::Slot)
            slotNames << QString::fromLatin1(meta.method(i).methodSignature());
    }
    QCOMPARE(slotNames, expected);
}

void TestExportTextImage::settingsGiveFamilyAndStyle_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");

    QTest::newRow("Normal") << "Normal" << false << false;
    QTest::newRow("Bold") << "Bold" << true << false;
    QTest::newRow("Italic") << "Italic" << false << true;
    QTest::newRow("Bold Italic") << "Bold Italic" << true << true;
    QTest::newRow("any other name") << "bold" << true << true;
}

void TestExportTextImage::settingsGiveFamilyAndStyle()
{
    QFETCH(QString, style);
    QFETCH(bool, bold);
    QFETCH(bool, italic);

    m_config->fontStyle = style;
    m_config->fontFamily = QStringLiteral("DejaVu Serif");
    ExportTextImage *window = openWindow();
    ExportTextImageTestAccess w(window);
    QCOMPARE(w.comboFont()->currentText(), QStringLiteral("DejaVu Serif"));
    QCOMPARE(w.bold()->isChecked(), bold);
    QCOMPARE(w.italic()->isChecked(), italic);
    QCOMPARE(w.comboStyle()->currentText(), w.comboStyle()->findText(style) >= 0 ? style : QString());

    SendRecorder recorder(window);
    w.editor()->setPlainText(QStringLiteral("Aa"));
    w.send()->trigger();
    QCOMPARE(recorder.sent.size(), 1);
    QCOMPARE(recorder.sent.first().font.family(), QStringLiteral("DejaVu Serif"));
    QCOMPARE(recorder.sent.first().font.weight(), bold ? 75 : 50);
    QCOMPARE(recorder.sent.first().font.italic(), italic);
}

void TestExportTextImage::freshSettingsFileHoldsEveryKeyAfterOneOpening()
{
    cleanup();
    m_folder.clear();
    {
        Config config(m_folder.path());
        ExportTextImage window(&config, nullptr);
    }
    QSettings settings(settingsFile(), QSettings::IniFormat);
    QCOMPARE(settings.allKeys().size(), 27);
    QCOMPARE(settings.value(QStringLiteral("General/recentFiles")).toStringList(),
             QStringList{QStringLiteral("文本编辑")});
    QCOMPARE(settings.value(QStringLiteral("General/maxRecentFiles")).toInt(), 10);
    QVERIFY(settings.contains(QStringLiteral("General/mainWindoState")));
    QCOMPARE(settings.value(QStringLiteral("Editor/fontFamily")).toString(), QStringLiteral("CourierNew"));
    QCOMPARE(settings.value(QStringLiteral("Editor/fontSize")).toInt(), 12);
    QCOMPARE(settings.value(QStringLiteral("Editor/fontStyle")).toString(), QStringLiteral("Normal"));
    QCOMPARE(settings.value(QStringLiteral("Search&Replace/maxHistory")).toInt(), 0);
}

void TestExportTextImage::recentNames_data()
{
    QTest::addColumn<int>("maxRecent");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("after");

    const QString name = QStringLiteral("文本编辑");
    QTest::newRow("empty") << 10 << QStringList() << QStringList{name};
    QTest::newRow("moved to the front once")
        << 10 << QStringList{"a", name, "b", name} << QStringList{name, "a", "b"};
    QTest::newRow("only the newest") << 1 << QStringList{"a", "b"} << QStringList{name};
    QTest::newRow("one too many drops the oldest")
        << 3 << QStringList{"a", "b", "c"} << QStringList{name, "a", "b"};
    QTest::newRow("nothing kept") << 0 << QStringList{"a"} << QStringList();
}

void TestExportTextImage::recentNames()
{
    QFETCH(int, maxRecent);
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);

    m_config->maxRecentFiles = maxRecent;
    m_config->recentFiles = before;
    openWindow();
    // The window is done with the settings once it is built; the list stays as it left it.
    QCOMPARE(m_config->recentFiles, after);
}

void TestExportTextImage::sendOneLine()
{
    ExportTextImage *window = openWindow();
    ExportTextImageTestAccess w(window);
    SendRecorder recorder(window);
    w.editor()->setPlainText(QStringLiteral("abc"));
    QCOMPARE(window->expImage(), nullptr);

    QCOMPARE(recorder.sent.size(), 1);
    const Sent &sent = recorder.sent.first();
    QCOMPARE(sent.text, QStringLiteral("abc"));
    QCOMPARE(sent.color, QColor(2, 2, 2));
    QCOMPARE(sent.font.family(), w.comboFont()->currentText());
    QCOMPARE(sent.font.pointSize(), 24);
    QCOMPARE(sent.font.weight(), 50);
    QVERIFY(!sent.font.italic());
    QVERIFY(!sent.font.underline());
    const QFontMetrics metrics(sent.font);
    QCOMPARE(sent.image.format(), QImage::Format_RGB32);
    QCOMPARE(sent.image.size(),
             QSize(metrics.horizontalAdvance(QStringLiteral("abc")), metrics.height() + metrics.leading()));
    QCOMPARE(colorsOf(sent.image), (QSet<QRgb>{qRgb(2, 2, 2), qRgb(253, 253, 253)}));
    // The window stays open for another send.
    QCOMPARE(w.editor()->toPlainText(), QStringLiteral("abc"));
}

void TestExportTextImage::sendWrapsAtTheLimit()
{
    ExportTextImage *window = openWindow();
    ExportTextImageTestAccess w(window);
    SendRecorder recorder(window);
    const QString text = QStringLiteral("A line far too long for the narrow limit\nshort");
    w.editor()->setPlainText(text);
    window->setMaxImageSize(QSize(200, 300));
    w.send()->trigger();

    QCOMPARE(recorder.sent.size(), 1);
    const Sent &sent = recorder.sent.first();
    const QFontMetrics metrics(sent.font);
    QCOMPARE(sent.image.width(), 200);
    const QStringList lines = sent.text.split(QLatin1Char('\n'));
    QVERIFY(lines.size() > 2);
    QCOMPARE(lines.last(), QStringLiteral("short"));
    QCOMPARE(QString(sent.text).remove(QLatin1Char('\n')), QString(text).remove(QLatin1Char('\n')));
    for (const QString &line : lines)
        QVERIFY2(metrics.horizontalAdvance(line) <= 200, qPrintable(line));
    QCOMPARE(sent.image.height(), qMin(300, lines.size() * (metrics.height() + metrics.leading())));
    // The document keeps what the operator typed.
    QCOMPARE(w.editor()->toPlainText(), text);
}

void TestExportTextImage::emptyTextIsRefused_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("empty document") << QString();
    QTest::newRow("only line breaks") << QStringLiteral("\n\n\n");
}

void TestExportTextImage::emptyTextIsRefused()
{
    QFETCH(QString, text);

    ExportTextImage *window = openWindow();
    ExportTextImageTestAccess w(window);
    SendRecorder recorder(window);
    window->show();
    w.editor()->setPlainText(text);

    QStringList seen;
    TestSupport::answerNextModal(QStringLiteral("确定"), &seen);
    w.send()->trigger();
    QVERIFY(seen.contains(QStringLiteral("提示")));
    QVERIFY(seen.contains(QStringLiteral("输入的信息为空不能发送文本!")));
    QVERIFY(recorder.sent.isEmpty());
    QVERIFY(window->isVisible());
}

void TestExportTextImage::onlySpacesAreSent()
{
    ExportTextImage *window = openWindow();
    ExportTextImageTestAccess w(window);
    SendRecorder recorder(window);
    w.editor()->setPlainText(QStringLiteral("  "));
    w.send()->trigger();
    QCOMPARE(recorder.sent.size(), 1);
    QCOMPARE(recorder.sent.first().text, QStringLiteral("  "));
    QCOMPARE(recorder.sent.first().image.width(),
             QFontMetrics(recorder.sent.first().font).horizontalAdvance(QStringLiteral("  ")));
}

void TestExportTextImage::eachSendEmitsAgain()
{
    ExportTextImage *window = openWindow();
    ExportTextImageTestAccess w(window);
    SendRecorder recorder(window);
    w.editor()->setPlainText(QStringLiteral("one"));
    w.send()->trigger();
    w.editor()->setPlainText(QStringLiteral("one two"));
    w.send()->trigger();
    QCOMPARE(recorder.sent.size(), 2);
    QCOMPARE(recorder.sent.at(0).text, QStringLiteral("one"));
    QCOMPARE(recorder.sent.at(1).text, QStringLiteral("one two"));
    QVERIFY(recorder.sent.at(1).image.width() > recorder.sent.at(0).image.width());
}

void TestExportTextImage::loadTextShowsAStoredItem()
{
    ExportTextImage *window = openWindow();
    ExportTextImageTestAccess w(window);
    SendRecorder recorder(window);
    w.bold()->trigger();

    const QString content = QStringLiteral("first line\nsecond line");
    window->loadText(QColor(0, 0, 0), QFont(QStringLiteral("DejaVu Serif"), 40), content);
    QCOMPARE(w.editor()->toPlainText(), content);
    QCOMPARE(w.textColor(), QColor(0, 0, 0));
    QCOMPARE(w.fontSize(), QStringLiteral("40"));
    QCOMPARE(w.comboSize()->currentText(), QStringLiteral("40"));
    QCOMPARE(w.comboFont()->currentText(), QStringLiteral("DejaVu Serif"));
    // The item is not bold, whatever the toggle held before.
    QVERIFY(!w.bold()->isChecked());

    w.send()->trigger();
    QCOMPARE(recorder.sent.size(), 1);
    const Sent &sent = recorder.sent.first();
    QCOMPARE(sent.text, content);
    QCOMPARE(sent.color, QColor(0, 0, 0));
    QCOMPARE(sent.font.family(), QStringLiteral("DejaVu Serif"));
    QCOMPARE(sent.font.pointSize(), 40);
    QCOMPARE(sent.font.weight(), 50);
    const QFontMetrics metrics(sent.font);
    QCOMPARE(sent.image.height(), 2 * (metrics.height() + metrics.leading()));
    QCOMPARE(colorsOf(sent.image), (QSet<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)}));
}

void TestExportTextImage::loadTextWithAMissingFamilyStillRenders()
{
    ExportTextImage *window = openWindow();
    ExportTextImageTestAccess w(window);
    SendRecorder recorder(window);
    const QString missing = QStringLiteral("Brisklane Missing Family");
    QVERIFY(!QFontDatabase().families().contains(missing));

    window->loadText(QColor(10, 20, 30), QFont(missing, 30), QStringLiteral("still here"));
    QVERIFY(!w.comboFont()->currentText().isEmpty());
    w.send()->trigger();
    QCOMPARE(recorder.sent.size(), 1);
    const Sent &sent = recorder.sent.first();
    QCOMPARE(sent.text, QStringLiteral("still here"));
    QCOMPARE(sent.font.pointSize(), 30);
    QCOMPARE(sent.font.family(), w.comboFont()->currentText());
    QVERIFY(!sent.image.isNull());
    QCOMPARE(sent.image.width(), QFontMetrics(sent.font).horizontalAdvance(QStringLiteral("still here")));
    QCOMPARE(colorsOf(sent.image), (QSet<QRgb>{qRgb(10, 20, 30), qRgb(245, 235, 225)}));
}

void TestExportTextImage::reEditRestoresTheItemsLook_data()
{
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("settingsStyle");

    QTest::newRow("a bold italic underlined 36 pt item re-edited in a plain window")
        << true << true << true << 36 << "Normal";
    QTest::newRow("a plain 48 pt item re-edited where the settings say Bold Italic")
        << false << false << false << 48 << "Bold Italic";
    QTest::newRow("an underlined item at 40 pt, a size the list lacks")
        << false << false << true << 40 << "Bold";
}

void TestExportTextImage::reEditRestoresTheItemsLook()
{
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(bool, underline);
    QFETCH(int, size);
    QFETCH(QString, settingsStyle);

    // The item as an earlier send made it.
    const QFont itemFont = TextRenderer::makeFont(QStringLiteral("DejaVu Serif"), QString::number(size), bold,
                                                  italic, underline);
    const QColor color(QStringLiteral("firebrick"));
    const TextRenderer::Result item =
        TextRenderer::render(QStringLiteral("Item text"), itemFont, color, QSize(560, 300));

    m_config->fontStyle = settingsStyle;
    ExportTextImage *window = openWindow();
    ExportTextImageTestAccess w(window);
    SendRecorder recorder(window);
    window->loadText(color, itemFont, item.text);
    QCOMPARE(w.bold()->isChecked(), bold);
    QCOMPARE(w.italic()->isChecked(), italic);
    QCOMPARE(w.underline()->isChecked(), underline);
    QCOMPARE(w.comboSize()->currentText(), QString::number(size));
    QCOMPARE(shownLooks(w.editor()), QStringList{looks(itemFont)});
    // Shown in its own colour, and the swatch says so.
    for (const QTextCharFormat &format : TestSupport::charFormats(w.editor()))
        QCOMPARE(format.foreground().color(), color);
    QCOMPARE(w.colorSwatch()->icon().pixmap(16, 16).toImage().pixel(8, 8), color.rgb());
    QCOMPARE(QColor(QColor::colorNames().value(w.comboColor()->currentIndex())), color);

    w.send()->trigger();
    QCOMPARE(recorder.sent.size(), 1);
    QCOMPARE(recorder.sent.first().font, itemFont);
    QCOMPARE(recorder.sent.first().image, item.image);
}

void TestExportTextImage::editorShowsTheRenderedFont_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("style");

    QTest::newRow("an installed settings family, italic")
        << QStringLiteral("DejaVu Serif") << QStringLiteral("Italic");
    QTest::newRow("a missing settings family shown by its stand-in, bold")
        << QStringLiteral("CourierNew") << QStringLiteral("Bold");
    QTest::newRow("a family that also has a light face, not bold")
        << QStringLiteral("DejaVu Sans") << QStringLiteral("Normal");
}

void TestExportTextImage::editorShowsTheRenderedFont()
{
    QFETCH(QString, family);
    QFETCH(QString, style);

    m_config->fontFamily = family;
    m_config->fontStyle = style;
    ExportTextImage *window = openWindow();
    ExportTextImageTestAccess w(window);
    SendRecorder recorder(window);
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window));
    w.editor()->setFocus();
    typeInto(w.editor(), QStringLiteral("Shown"));

    // Bold on and off again must come back to the same look.
    for (QAction *toggle : {static_cast<QAction *>(nullptr), w.bold(), w.bold()}) {
        if (toggle)
            toggle->trigger();
        w.send()->trigger();
        QVERIFY(!recorder.sent.isEmpty());
        QCOMPARE(shownLooks(w.editor()), QStringList{looks(recorder.sent.last().font)});
    }
}

void TestExportTextImage::closeHidesAndReports()
{
    ExportTextImage *window = openWindow();
    QPointer<ExportTextImage> guard(window);
    QSignalSpy closed(window, &ExportTextImage::signal_closeExportTextWindow);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QVERIFY(window->close());
    QCOMPARE(closed.size(), 1);
    QVERIFY(guard);
    QVERIFY(window->isHidden());
}

void TestExportTextImage::colourEntriesAreNamed()
{
    ExportTextImageTestAccess w(openWindow());
    QComboBox *colours = w.comboColor();
    QCOMPARE(colours->count(), QColor::colorNames().size());
    QHash<QString, QRgb> colourOfName;
    const QRegularExpression latin(QStringLiteral("[A-Za-z]"));
    for (int i = 0; i < colours->count(); ++i) {
        const QString name = colours->itemText(i);
        // Named in the interface's language (the tests' is Chinese).
        QVERIFY2(!name.isEmpty() && !name.contains(latin),
                 qPrintable(QStringLiteral("entry %1: \"%2\"").arg(i).arg(name)));
        const QImage swatch = colours->itemIcon(i).pixmap(50, 20).toImage();
        const QRgb shown = swatch.pixel(25, 10);
        // Only one colour under each name (grey has two spellings of the same colour).
        QVERIFY2(colourOfName.value(name, shown) == shown, qPrintable(name));
        colourOfName.insert(name, shown);
    }
    QVERIFY(colourOfName.size() > colours->count() * 9 / 10);
}

void TestExportTextImage::editorMenuSpeaksTheInterfaceLanguage_data()
{
    QTest::addColumn<QString>("where");
    QTest::newRow("right click on the text") << QStringLiteral("text");
    QTest::newRow("menu key in the editor") << QStringLiteral("editor");
    QTest::newRow("right click in the font size field") << QStringLiteral("size");
}

void TestExportTextImage::editorMenuSpeaksTheInterfaceLanguage()
{
    QFETCH(QString, where);

    // The tests install no translation: the interface is Chinese, and Qt's own texts are Qt's
    // English, as on a machine without Qt's translations.
    ExportTextImage *window = openWindow();
    ExportTextImageTestAccess w(window);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QPlainTextEdit *editor = w.editor();
    editor->setPlainText(QStringLiteral("some text"));
    QWidget *target = where == QLatin1String("text")     ? editor->viewport()
                      : where == QLatin1String("editor") ? static_cast<QWidget *>(editor)
                                                         : w.comboSize()->lineEdit();

    QStringList entries;
    TestSupport::chooseFromNextMenu(QStringLiteral("全选"), &entries);
    const QPoint at(10, 10);
    QContextMenuEvent request(where == QLatin1String("editor") ? QContextMenuEvent::Keyboard
                                                               : QContextMenuEvent::Mouse,
                              at, target->mapToGlobal(at));
    QApplication::sendEvent(target, &request);

    QTRY_VERIFY(!entries.isEmpty());
    const QRegularExpression latin(QStringLiteral("[A-Za-z]"));
    for (const QString &entry : qAsConst(entries)) {
        // A shortcut after a tab may be spelt in Latin letters.
        QVERIFY2(!entry.section(QLatin1Char('\t'), 0, 0).contains(latin), qPrintable(entry));
    }
    // The menu's entries work on what it was opened for.
    if (where == QLatin1String("size"))
        QTRY_COMPARE(w.comboSize()->lineEdit()->selectedText(), w.comboSize()->currentText());
    else
        QTRY_COMPARE(editor->textCursor().selectedText(), QStringLiteral("some text"));
}

QTEST_MAIN(TestExportTextImage)
#include "tst_exporttextimage.moc"
