// The text image window: defaults, format controls, size entry, sending and re-editing.
#include "core/text/sizevalidator.h"
#include "core/text/textrenderer.h"
#include "support/core/settingsfolder.h"
#include "support/testsupport.h"
#include "textexport/config.h"
#include "textexport/exporttextimage.h"

#include <QAction>
#include <QComboBox>
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
#include <QSettings>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolBar>
#include <QtTest>

class ExportTextImageTestAccess
{
public:
    explicit ExportTextImageTestAccess(ExportTextImage *window) : w(window) {}

    QPlainTextEdit *editor() const { return w->currentEditor(); }
    QTabWidget *tabWidget() const { return w->m_tabWidget; }
    QFontComboBox *comboFont() const { return w->comboFont; }
    QComboBox *comboStyle() const { return w->comboStyle; }
    QComboBox *comboSize() const { return w->comboSize; }
    QComboBox *comboColor() const { return w->comboColor; }
    QToolBar *formatToolBar() const { return w->m_formatToolBar; }
    QToolBar *actionToolBar() const { return w->m_actionToolBar; }
    QAction *bold() const { return w->actionTextBold; }
    QAction *italic() const { return w->actionTextItalic; }
    QAction *underline() const { return w->actionTextUnderline; }
    QAction *send() const { return w->actionExport; }
    QColor textColor() const { return w->m_textColor; }
    QString fontSize() const { return w->m_fontSize; }
    QString fontFamily() const { return w->m_fontFamily; }

private:
    ExportTextImage *w;
};

namespace {

// What one press of "发送到硬件" handed over; the image is copied while the signal is delivered.
struct Sent
{
    QImage image;
    QColor color;
    QFont font;
    QString text;
};

class SendRecorder
{
public:
    explicit SendRecorder(ExportTextImage *window)
    {
        QObject::connect(window, &ExportTextImage::exportTextImage, window,
                         [this](QImage *image, QColor color, QFont font, QString text) {
                             sent.append({image ? image->copy() : QImage(), color, font, text});
                         });
    }
    QList<Sent> sent;
};

QSet<QRgb> colorsOf(const QImage &image)
{
    QSet<QRgb> colors;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            colors.insert(image.pixel(x, y));
    }
    return colors;
}

// The character format of every character of the document.
QList<QTextCharFormat> charFormats(QPlainTextEdit *editor)
{
    QList<QTextCharFormat> formats;
    QTextCursor cursor(editor->document());
    const int length = editor->toPlainText().size();
    for (int position = 1; position <= length; ++position) {
        cursor.setPosition(position);
        formats << cursor.charFormat();
    }
    return formats;
}

// How a font looks on screen: the face the font library picks for it, its size and underline.
QString looks(const QFont &font)
{
    const QFontInfo info(font);
    return QStringLiteral("%1 %2 %3pt%4")
        .arg(info.family(), info.styleName())
        .arg(info.pointSize())
        .arg(info.underline() ? QStringLiteral(" underlined") : QString());
}

// The different looks of the document's characters in the editor.
QStringList shownLooks(QPlainTextEdit *editor)
{
    QStringList seen;
    for (const QTextCharFormat &format : charFormats(editor))
        seen << looks(format.font().resolve(editor->document()->defaultFont()));
    seen.removeDuplicates();
    return seen;
}

void typeInto(QWidget *widget, const QString &text)
{
    QTest::keyClicks(widget, text);
}

void clearSizeField(QComboBox *combo)
{
    combo->lineEdit()->selectAll();
    QTest::keyClick(combo, Qt::Key_Backspace);
}

} // namespace

class TestExportTextImage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void newWindowDefaults();
    void controlsAreSetUp();
    void slotsInMetaObjectOrder();
    void settingsGiveFamilyAndStyle_data();
    void settingsGiveFamilyAndStyle();
    void freshSettingsFileHoldsEveryKeyAfterOneOpening();
    void recentNames_data();
    void recentNames();

    void typedSizeAppliesOnFocusOut();
    void sizeValidator_data();
    void sizeValidator();
    void validatorRefusesSizesAboveTheMaximum();
    void sizeBelowTheMinimumIsStillUsed();
    void returnAppliesTheTypedSize();
    void shortcutsToggleStyleForDocumentAndRender_data();
    void shortcutsToggleStyleForDocumentAndRender();
    void formatsApplyToTheWholeDocument();
    void chosenColourColoursTextAndRender();
    void emptiedEditorKeepsTheChosenFormat();
    void modificationMarksTheTab();

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

private:
    QString settingsFile() const { return m_folder.file(); }

    TestSupport::SettingsFolder m_folder;
    Config *m_config = nullptr;
    ExportTextImage *m_window = nullptr;

    ExportTextImage *openWindow();
};

void TestExportTextImage::initTestCase()
{
    QVERIFY(QFontDatabase().families().contains(QStringLiteral("DejaVu Serif")));
    // Failed string connections and style sheets that do not parse only show up as warnings.
    TestSupport::failOnQtWarnings();
}

void TestExportTextImage::init()
{
    m_folder.clear();
    m_config = new Config(m_folder.path());
}

void TestExportTextImage::cleanup()
{
    delete m_window;
    m_window = nullptr;
    delete m_config;
    m_config = nullptr;
}

ExportTextImage *TestExportTextImage::openWindow()
{
    m_window = new ExportTextImage(m_config, nullptr);
    m_window->setMaxImageSize(QSize(560, 300));
    m_window->resize(600, 350);
    return m_window;
}

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
    QCOMPARE(settings.allKeys().size(), 21);
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

void TestExportTextImage::typedSizeAppliesOnFocusOut()
{
    ExportTextImage *window = openWindow();
    ExportTextImageTestAccess w(window);
    SendRecorder recorder(window);
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window));

    w.editor()->setFocus();
    typeInto(w.editor(), QStringLiteral("Size"));
    w.comboSize()->setFocus();
    QTRY_VERIFY(w.comboSize()->hasFocus());
    clearSizeField(w.comboSize());
    typeInto(w.comboSize(), QStringLiteral("30"));
    QCOMPARE(w.comboSize()->currentText(), QStringLiteral("30"));
    QCOMPARE(w.fontSize(), QStringLiteral("30"));
    // Typing alone applies nothing yet.
    QCOMPARE(charFormats(w.editor()).first().fontPointSize(), 24.0);

    w.editor()->setFocus();
    QTRY_VERIFY(w.editor()->hasFocus());
    const QList<QTextCharFormat> formats = charFormats(w.editor());
    QCOMPARE(formats.size(), 4);
    for (const QTextCharFormat &format : formats)
        QCOMPARE(format.fontPointSize(), 30.0);

    w.send()->trigger();
    QCOMPARE(recorder.sent.size(), 1);
    QCOMPARE(recorder.sent.first().font.pointSize(), 30);
}

void TestExportTextImage::sizeValidator_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("state");

    QTest::newRow("empty") << "" << int(QValidator::Intermediate);
    QTest::newRow("one digit") << "3" << int(QValidator::Intermediate);
    QTest::newRow("below the minimum") << "20" << int(QValidator::Intermediate);
    QTest::newRow("minimum") << "24" << int(QValidator::Acceptable);
    QTest::newRow("inside") << "72" << int(QValidator::Acceptable);
    QTest::newRow("maximum") << "200" << int(QValidator::Acceptable);
    QTest::newRow("above, as many digits as the maximum") << "300" << int(QValidator::Invalid);
    QTest::newRow("just above") << "201" << int(QValidator::Invalid);
    QTest::newRow("more digits") << "1000" << int(QValidator::Invalid);
    QTest::newRow("letters") << "2a" << int(QValidator::Invalid);
    QTest::newRow("negative") << "-30" << int(QValidator::Invalid);
}

void TestExportTextImage::sizeValidator()
{
    QFETCH(QString, input);
    QFETCH(int, state);

    SizeValidator validator(24, 200);
    int pos = input.size();
    QCOMPARE(int(validator.validate(input, pos)), state);
}

void TestExportTextImage::validatorRefusesSizesAboveTheMaximum()
{
    ExportTextImage *window = openWindow();
    ExportTextImageTestAccess w(window);
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window));
    w.comboSize()->setFocus();
    QTRY_VERIFY(w.comboSize()->hasFocus());
    clearSizeField(w.comboSize());
    typeInto(w.comboSize(), QStringLiteral("300"));
    QCOMPARE(w.comboSize()->currentText(), QStringLiteral("30"));
    QCOMPARE(w.fontSize(), QStringLiteral("30"));
    clearSizeField(w.comboSize());
    typeInto(w.comboSize(), QStringLiteral("200"));
    QCOMPARE(w.fontSize(), QStringLiteral("200"));
}

void TestExportTextImage::sizeBelowTheMinimumIsStillUsed()
{
    ExportTextImage *window = openWindow();
    ExportTextImageTestAccess w(window);
    SendRecorder recorder(window);
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window));
    w.editor()->setPlainText(QStringLiteral("small"));
    w.comboSize()->setFocus();
    QTRY_VERIFY(w.comboSize()->hasFocus());
    clearSizeField(w.comboSize());
    typeInto(w.comboSize(), QStringLiteral("20"));
    QCOMPARE(w.comboSize()->currentText(), QStringLiteral("20"));
    QCOMPARE(w.fontSize(), QStringLiteral("20"));

    w.editor()->setFocus();
    QTRY_VERIFY(w.editor()->hasFocus());
    QCOMPARE(w.comboSize()->currentText(), QStringLiteral("20"));
    QCOMPARE(charFormats(w.editor()).last().fontPointSize(), 20.0);
    w.send()->trigger();
    QCOMPARE(recorder.sent.size(), 1);
    QCOMPARE(recorder.sent.first().font.pointSize(), 20);

    // An emptied field renders at the font's default size.
    w.comboSize()->setFocus();
    QTRY_VERIFY(w.comboSize()->hasFocus());
    clearSizeField(w.comboSize());
    QCOMPARE(w.fontSize(), QString());
    w.send()->trigger();
    QCOMPARE(recorder.sent.size(), 2);
    QCOMPARE(recorder.sent.last().font.pointSize(), QFont(recorder.sent.last().font.family()).pointSize());
}

void TestExportTextImage::returnAppliesTheTypedSize()
{
    ExportTextImage *window = openWindow();
    ExportTextImageTestAccess w(window);
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window));
    w.editor()->setPlainText(QStringLiteral("enter"));
    w.comboSize()->setFocus();
    QTRY_VERIFY(w.comboSize()->hasFocus());
    clearSizeField(w.comboSize());
    typeInto(w.comboSize(), QStringLiteral("48"));
    QCOMPARE(charFormats(w.editor()).first().fontPointSize(), 24.0);
    QTest::keyClick(w.comboSize(), Qt::Key_Return);
    QVERIFY(w.comboSize()->hasFocus());
    for (const QTextCharFormat &format : charFormats(w.editor()))
        QCOMPARE(format.fontPointSize(), 48.0);
}

void TestExportTextImage::shortcutsToggleStyleForDocumentAndRender_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("property");

    QTest::newRow("Ctrl+B bold") << int(Qt::Key_B) << "bold";
    QTest::newRow("Ctrl+I italic") << int(Qt::Key_I) << "italic";
    QTest::newRow("Ctrl+U underline") << int(Qt::Key_U) << "underline";
}

void TestExportTextImage::shortcutsToggleStyleForDocumentAndRender()
{
    QFETCH(int, key);
    QFETCH(QString, property);

    ExportTextImage *window = openWindow();
    ExportTextImageTestAccess w(window);
    SendRecorder recorder(window);
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window));
    w.editor()->setFocus();
    typeInto(w.editor(), QStringLiteral("Style me"));

    auto documentHasIt = [&] {
        QSet<bool> seen;
        for (const QTextCharFormat &format : charFormats(w.editor())) {
            if (property == QLatin1String("bold"))
                seen.insert(format.fontWeight() == 75);
            else if (property == QLatin1String("italic"))
                seen.insert(format.fontItalic());
            else
                seen.insert(format.underlineStyle() == QTextCharFormat::SingleUnderline);
        }
        return seen;
    };
    auto renderHasIt = [&](const QFont &font) {
        if (property == QLatin1String("bold"))
            return font.weight() == 75;
        if (property == QLatin1String("italic"))
            return font.italic();
        return font.underline();
    };

    for (bool on : {true, false}) {
        QTest::keyClick(w.editor(), Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(documentHasIt(), QSet<bool>{on});
        w.send()->trigger();
        QVERIFY(!recorder.sent.isEmpty());
        QCOMPARE(renderHasIt(recorder.sent.last().font), on);
        if (property == QLatin1String("bold"))
            QCOMPARE(recorder.sent.last().font.weight(), on ? 75 : 50);
    }
    QCOMPARE(recorder.sent.size(), 2);
    QCOMPARE(w.editor()->toPlainText(), QStringLiteral("Style me"));
}

void TestExportTextImage::formatsApplyToTheWholeDocument()
{
    ExportTextImage *window = openWindow();
    ExportTextImageTestAccess w(window);
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window));
    w.editor()->setFocus();
    typeInto(w.editor(), QStringLiteral("hello world"));
    // Only "world" is selected, yet every format reaches the whole text.
    QTextCursor cursor = w.editor()->textCursor();
    cursor.setPosition(6);
    cursor.setPosition(11, QTextCursor::KeepAnchor);
    w.editor()->setTextCursor(cursor);
    QTest::keyClick(w.editor(), Qt::Key_I, Qt::ControlModifier);

    w.comboSize()->setFocus();
    QTRY_VERIFY(w.comboSize()->hasFocus());
    clearSizeField(w.comboSize());
    typeInto(w.comboSize(), QStringLiteral("36"));
    QTest::keyClick(w.comboSize(), Qt::Key_Enter);

    const QList<QTextCharFormat> formats = charFormats(w.editor());
    QCOMPARE(formats.size(), 11);
    for (const QTextCharFormat &format : formats) {
        QVERIFY(format.fontItalic());
        QCOMPARE(format.fontPointSize(), 36.0);
    }
}

void TestExportTextImage::chosenColourColoursTextAndRender()
{
    ExportTextImage *window = openWindow();
    ExportTextImageTestAccess w(window);
    SendRecorder recorder(window);
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window));
    w.editor()->setPlainText(QStringLiteral("White"));

    const QStringList names = QColor::colorNames();
    // The operator steps from "wheat" to "white" with the arrow key.
    w.comboColor()->setCurrentIndex(names.indexOf(QStringLiteral("wheat")));
    w.comboColor()->setFocus();
    QTRY_VERIFY(w.comboColor()->hasFocus());
    QTest::keyClick(w.comboColor(), Qt::Key_Down);
    QCOMPARE(w.comboColor()->currentIndex(), names.indexOf(QStringLiteral("white")));

    QCOMPARE(w.textColor(), QColor(Qt::white));
    for (const QTextCharFormat &format : charFormats(w.editor()))
        QCOMPARE(format.foreground().color(), QColor(Qt::white));
    w.send()->trigger();
    QCOMPARE(recorder.sent.size(), 1);
    QCOMPARE(recorder.sent.first().color, QColor(Qt::white));
    QCOMPARE(colorsOf(recorder.sent.first().image), (QSet<QRgb>{qRgb(255, 255, 255), qRgb(0, 0, 0)}));
    QCOMPARE(recorder.sent.first().image.pixel(0, 0), qRgb(0, 0, 0));

    // Back to black: the editor shows black, the render uses (2, 2, 2).
    w.comboColor()->setCurrentIndex(names.indexOf(QStringLiteral("black")) + 1);
    QTest::keyClick(w.comboColor(), Qt::Key_Up);
    QCOMPARE(w.textColor(), QColor(2, 2, 2));
    QCOMPARE(charFormats(w.editor()).first().foreground().color(), QColor(Qt::black));
    w.send()->trigger();
    QCOMPARE(recorder.sent.last().color, QColor(2, 2, 2));
    QCOMPARE(recorder.sent.last().image.pixel(0, 0), qRgb(253, 253, 253));
}

void TestExportTextImage::emptiedEditorKeepsTheChosenFormat()
{
    ExportTextImage *window = openWindow();
    ExportTextImageTestAccess w(window);
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window));
    w.editor()->setFocus();
    typeInto(w.editor(), QStringLiteral("old"));

    const int serif = w.comboFont()->findText(QStringLiteral("DejaVu Serif"));
    QVERIFY(serif > 0);
    w.comboFont()->setCurrentIndex(serif - 1);
    w.comboFont()->setFocus();
    QTRY_VERIFY(w.comboFont()->hasFocus());
    QTest::keyClick(w.comboFont(), Qt::Key_Down);
    QCOMPARE(w.fontFamily(), QStringLiteral("DejaVu Serif"));

    w.comboSize()->setFocus();
    QTRY_VERIFY(w.comboSize()->hasFocus());
    clearSizeField(w.comboSize());
    typeInto(w.comboSize(), QStringLiteral("36"));
    QTest::keyClick(w.comboSize(), Qt::Key_Return);

    const QStringList names = QColor::colorNames();
    w.comboColor()->setCurrentIndex(names.indexOf(QStringLiteral("blue")) - 1);
    w.comboColor()->setFocus();
    QTRY_VERIFY(w.comboColor()->hasFocus());
    QTest::keyClick(w.comboColor(), Qt::Key_Down);
    QCOMPARE(w.textColor(), QColor(Qt::blue));

    w.editor()->setFocus();
    QTRY_VERIFY(w.editor()->hasFocus());
    QTest::keyClick(w.editor(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(w.editor(), Qt::Key_Delete);
    QCOMPARE(w.editor()->toPlainText(), QString());
    typeInto(w.editor(), QStringLiteral("new"));

    const QList<QTextCharFormat> formats = charFormats(w.editor());
    QCOMPARE(formats.size(), 3);
    for (const QTextCharFormat &format : formats) {
        QCOMPARE(format.fontFamily(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(format.fontPointSize(), 36.0);
        QCOMPARE(format.foreground().color(), QColor(Qt::blue));
    }
}

void TestExportTextImage::modificationMarksTheTab()
{
    ExportTextImage *window = openWindow();
    ExportTextImageTestAccess w(window);
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window));
    w.editor()->setFocus();
    typeInto(w.editor(), QStringLiteral("ab"));
    QCOMPARE(w.tabWidget()->tabText(0), QStringLiteral("文本编辑*"));
    w.editor()->document()->setModified(false);
    QCOMPARE(w.tabWidget()->tabText(0), QStringLiteral("文本编辑"));
    w.editor()->document()->setModified(true);
    w.editor()->document()->setModified(true);
    QCOMPARE(w.tabWidget()->tabText(0), QStringLiteral("文本编辑*"));
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
    const QColor color(200, 0, 0);
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

QTEST_MAIN(TestExportTextImage)
#include "tst_exporttextimage.moc"
