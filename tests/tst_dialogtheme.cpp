// The standard dialogs opened from the editor's windows take over those windows' dark panels;
// every text they show must still stand out from the ground it is painted on.
#include "app/applicationstylesheet.h"
#include "mainwindow/quillmere.h"
#include "support/testsupport.h"
#include "support/windowparts.h"
#include "textexport/exporttextimage.h"

#include <QAbstractItemView>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolTip>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {
enum DialogKind
{
    ColourDialog,
    FileDialog,
    FontDialog
};
enum ParentKind
{
    MainWindow,
    TextWindow,
    NoParent
};

// Contrast ratio of two colours by their relative luminance (the usual legibility measure).
double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto linear = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colour covering most of what the widget paints: the ground its text lies on.
QColor paintedGround(QWidget *widget)
{
    const QImage image = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    }
    return QColor(std::max_element(counts.cbegin(), counts.cend()).key());
}

// The widget that paints the text's ground and the palette role the text is drawn with, or no
// widget when it shows no text of its own.
QPair<QWidget *, QPalette::ColorRole> textOf(QWidget *widget)
{
    if (auto *label = qobject_cast<QLabel *>(widget))
        return {label->text().isEmpty() ? nullptr : label, label->foregroundRole()};
    if (auto *view = qobject_cast<QAbstractItemView *>(widget))
        return {view->viewport(), QPalette::Text};
    if (qobject_cast<QLineEdit *>(widget))
        return {widget, QPalette::Text};
    if (auto *button = qobject_cast<QPushButton *>(widget))
        return {button->text().isEmpty() ? nullptr : button, QPalette::ButtonText};
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        return {combo->isEditable() ? nullptr : combo, QPalette::ButtonText};
    return {nullptr, QPalette::NoRole};
}

QDialog *makeDialog(int kind, QWidget *parent)
{
    switch (kind) {
    case ColourDialog:
        return new QColorDialog(parent);
    case FileDialog: {
        auto *dialog = new QFileDialog(parent);
        dialog->setOption(QFileDialog::DontUseNativeDialog);
        return dialog;
    }
    default:
        return new QFontDialog(parent);
    }
}
} // namespace

class TestDialogTheme : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void dialogTextStandsOut_data();
    void dialogTextStandsOut();
    void tipsStandOut_data();
    void tipsStandOut();
};

void TestDialogTheme::initTestCase()
{
    TestSupport::failOnQtWarnings();
    QVERIFY(ApplicationStyleSheet::apply(*qApp));
}

void TestDialogTheme::cleanupTestCase()
{
    qApp->setStyleSheet(QString());
}

void TestDialogTheme::dialogTextStandsOut_data()
{
    QTest::addColumn<int>("dialogKind");
    QTest::addColumn<int>("parentKind");
    QTest::newRow("the fill-colour dialog on the main window") << int(ColourDialog) << int(MainWindow);
    QTest::newRow("a file dialog on the main window") << int(FileDialog) << int(MainWindow);
    QTest::newRow("the font dialog on the text window") << int(FontDialog) << int(TextWindow);
    QTest::newRow("a file dialog with no parent window") << int(FileDialog) << int(NoParent);
}

void TestDialogTheme::dialogTextStandsOut()
{
    QFETCH(int, dialogKind);
    QFETCH(int, parentKind);
    Quillmere window;
    QWidget *parent = nullptr;
    if (parentKind == MainWindow)
        parent = &window;
    else if (parentKind == TextWindow)
        parent = new ExportTextImage(nullptr, &window);
    std::unique_ptr<QDialog> dialog(makeDialog(dialogKind, parent));
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));

    QStringList faint;
    int checked = 0;
    for (QWidget *widget : dialog->findChildren<QWidget *>()) {
        const auto text = textOf(widget);
        // Disabled text is dimmed on purpose.
        if (!text.first || !widget->isVisible() || !widget->isEnabled())
            continue;
        ++checked;
        const QPalette palette = widget->palette();
        const QColor ground = paintedGround(text.first);
        // Selected text (a preselected entry) is drawn in the selection's own colours.
        const QColor ink = palette.color(
            ground == palette.color(QPalette::Highlight) ? QPalette::HighlightedText : text.second);
        const double ratio = contrast(ink, ground);
        if (ratio < 4.5)
            faint << QStringLiteral("%1 '%2': %3 on %4 (%5:1)")
                         .arg(QString::fromLatin1(widget->metaObject()->className()), widget->objectName(),
                              ink.name(), ground.name())
                         .arg(ratio, 0, 'f', 2);
    }
    QVERIFY(checked >= 5);
    QVERIFY2(faint.isEmpty(), qPrintable(faint.join(QLatin1String("; "))));
}

void TestDialogTheme::tipsStandOut_data()
{
    QTest::addColumn<bool>("colourTip");
    QTest::newRow("the colour tip over a picture") << true;
    QTest::newRow("a tooltip of the main window") << false;
}

void TestDialogTheme::tipsStandOut()
{
    QFETCH(bool, colourTip);
    Quillmere window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QLabel *label = nullptr;
    if (colourTip) {
        QFrame *tip = TestSupport::windowPart<QFrame>(window, QStringLiteral("colorTip"));
        label = TestSupport::windowPart<QLabel>(window, QStringLiteral("colorTipLabel"));
        label->setText(QStringLiteral("(30,60,200)"));
        tip->show();
    } else {
        auto *button = window.findChild<QPushButton *>();
        QVERIFY(button && !button->toolTip().isEmpty());
        QToolTip::showText(button->mapToGlobal(QPoint(5, 5)), button->toolTip(), button);
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (top->inherits("QTipLabel") && top->isVisible())
                label = qobject_cast<QLabel *>(top);
        }
    }
    QVERIFY(label);
    const QColor ground = paintedGround(label);
    const QColor ink = label->palette().color(label->foregroundRole());
    const double ratio = contrast(ink, ground);
    QVERIFY2(ratio >= 4.5,
             qPrintable(QStringLiteral("%1 on %2 (%3:1)").arg(ink.name(), ground.name()).arg(ratio)));
    QToolTip::hideText();
}

QTEST_MAIN(TestDialogTheme)
#include "tst_dialogtheme.moc"
