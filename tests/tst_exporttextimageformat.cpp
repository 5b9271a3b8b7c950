// The text image window's format controls: size entry, style shortcuts, colour, whole-document
// formats.
#include "core/text/sizevalidator.h"
#include "support/core/pictures.h"
#include "support/exporttextimagefixture.h"
#include "support/exporttextimagetestaccess.h"
#include "support/sendrecorder.h"
#include "support/textediting.h"
#include "textexport/exporttextimage.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSet>
#include <QTextDocument>
#include <QtTest>

using TestSupport::charFormats;
using TestSupport::clearSizeField;
using TestSupport::colorsOf;
using TestSupport::SendRecorder;
using TestSupport::typeInto;

class TestExportTextImageFormat : public ExportTextImageFixture
{
    Q_OBJECT

private slots:
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
};

void TestExportTextImageFormat::typedSizeAppliesOnFocusOut()
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

void TestExportTextImageFormat::sizeValidator_data()
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

void TestExportTextImageFormat::sizeValidator()
{
    QFETCH(QString, input);
    QFETCH(int, state);

    SizeValidator validator(24, 200);
    int pos = input.size();
    QCOMPARE(int(validator.validate(input, pos)), state);
}

void TestExportTextImageFormat::validatorRefusesSizesAboveTheMaximum()
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

void TestExportTextImageFormat::sizeBelowTheMinimumIsStillUsed()
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

void TestExportTextImageFormat::returnAppliesTheTypedSize()
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

void TestExportTextImageFormat::shortcutsToggleStyleForDocumentAndRender_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("property");

    QTest::newRow("Ctrl+B bold") << int(Qt::Key_B) << "bold";
    QTest::newRow("Ctrl+I italic") << int(Qt::Key_I) << "italic";
    QTest::newRow("Ctrl+U underline") << int(Qt::Key_U) << "underline";
}

void TestExportTextImageFormat::shortcutsToggleStyleForDocumentAndRender()
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

void TestExportTextImageFormat::formatsApplyToTheWholeDocument()
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

void TestExportTextImageFormat::chosenColourColoursTextAndRender()
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

void TestExportTextImageFormat::emptiedEditorKeepsTheChosenFormat()
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

void TestExportTextImageFormat::modificationMarksTheTab()
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

QTEST_MAIN(TestExportTextImageFormat)
#include "tst_exporttextimageformat.moc"
