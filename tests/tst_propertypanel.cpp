// The property panel as the operator sees it: place, sizes, texts, looks and what its controls reach.
#include "mainwindow/quillmere.h"
#include "support/quillmereaccess.h"
#include "support/testsupport.h"
#include "support/windowparts.h"
#include "widgets/doubleslider.h"
#include "widgets/styled/checkboxex.h"
#include "widgets/styled/labelex.h"
#include "widgets/styled/pushbuttonex.h"
#include "widgets/styled/tablewidgetex.h"

#include <QColorDialog>
#include <QFrame>
#include <QLabel>
#include <QtTest>

using A = QuillmereTestAccess;

namespace {

// A widget of the panel by a short name of this test, or an unnamed label by its text.
QWidget *panelWidget(Quillmere &w, const QString &name)
{
    PropertyPanel *panel = TestSupport::propertyPanel(w);
    const QMap<QString, QWidget *> widgets = {
        {"title", panel->title()},
        {"check", panel->selectColorCheck()},
        {"reset", panel->resetButton()},
        {"currentTitle", panel->currentColorTitle()},
        {"pickedSwatch", panel->pickedColorSwatch()},
        {"pickedLabel", panel->pickedColorLabel()},
        {"minR", panel->minLabel(0)},
        {"minG", panel->minLabel(1)},
        {"minB", panel->minLabel(2)},
        {"maxR", panel->maxLabel(0)},
        {"maxG", panel->maxLabel(1)},
        {"maxB", panel->maxLabel(2)},
        {"fillTitle", panel->fillColorTitle()},
        {"fillSwatch", panel->fillColorSwatch()},
        {"sliderR", panel->slider(0)},
        {"sliderG", panel->slider(1)},
        {"sliderB", panel->slider(2)},
    };
    if (widgets.contains(name))
        return widgets.value(name);
    // Unnamed labels are found by their text.
    const QList<QLabel *> labels = panel->findChildren<QLabel *>();
    for (QLabel *label : labels)
        if (label->text() == name)
            return label;
    return nullptr;
}

const QString kGrey = QStringLiteral("text-align:center;font:SimSun Arial;color:rgb(210,210,210);");
const QString kRed = QStringLiteral("text-align:center;font:SimSun Arial;color:rgb(255,0,0);");
const QString kGreen = QStringLiteral("text-align:center;font:SimSun Arial;color:rgb(0,255,0);");
const QString kBlue = QStringLiteral("text-align:center;font:SimSun Arial;color:rgb(0,0,255);");
const QString kResetStyle = QStringLiteral(
    "PushButtonEx{color: #929292; background-color:rgb(69,69,69);border-width: 1px;border-color: "
    "rgb(110,110,110);"
    "border-style: solid; border-radius: 14px; outline: none;height:28px;min-width:46px;padding-left:12px; "
    "padding-right:12px;}PushButtonEx:hover{background-color: "
    "#303238;border-color:rgb(222,89,15);color:#fdfdfd;}"
    "PushButtonEx:pressed{background-color: #1a1a1a;border-color:rgb(222,89,15);color:#fdfdfd;}");

QRect inFrame(Quillmere &w, QWidget *widget)
{
    QFrame *frame = TestSupport::propertyPanel(w);
    return QRect(widget->mapTo(frame, QPoint(0, 0)), widget->size());
}

QRect rectOf(Quillmere &w, const QString &name)
{
    return inFrame(w, panelWidget(w, name));
}

} // namespace

class TestPropertyPanel : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        TestSupport::failOnQtWarnings();
    }

    void widthAtAnyWindowSize_data();
    void widthAtAnyWindowSize();
    void widgets_data();
    void widgets();
    void arrangement();
    void startState();
    void swatchOpensFillDialog();
    void resetButtonReachesReset();
    void sliderReachesRangeSlot();
    void checkBoxAloneCallsNothing();
    void looksRight();
};

void TestPropertyPanel::widthAtAnyWindowSize_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("start size") << QSize(850, 620);
    QTest::newRow("wide") << QSize(1280, 860);
    QTest::newRow("tall") << QSize(900, 1000);
    QTest::newRow("wider still") << QSize(1600, 700);
}

void TestPropertyPanel::widthAtAnyWindowSize()
{
    QFETCH(QSize, size);
    Quillmere w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.resize(size);
    QTRY_COMPARE(w.size(), size);
    QFrame *frame = TestSupport::propertyPanel(w);
    QTRY_COMPARE(frame->width(), 220);
    // At the right edge, right of the 2-pixel line; the tab list takes the rest.
    QCOMPARE(frame->geometry().right(), w.width() - 1);
    TableWidgetEx *tabs = TestSupport::tabList(w);
    QCOMPARE(tabs->geometry().right() + 1 + 2, frame->x());
    QCOMPARE(tabs->x(), 0);
    QCOMPARE(frame->geometry().bottom(), w.height() - 1);
}

void TestPropertyPanel::widgets_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("style");

    QTest::newRow("check") << "check" << QSize(75, 22) << "扣色启用" << QString();
    QTest::newRow("reset") << "reset" << QSize(60, 28) << "重置" << kResetStyle;
    QTest::newRow("current title") << "currentTitle" << QSize(50, 22) << "当前色"
                                   << "QLabel{color:rgb(210,210,210);}";
    QTest::newRow("picked swatch")
        << "pickedSwatch" << QSize(30, 22) << ""
        << "background-color:rgb(0,0,0);border-width: 1px;border-color: rgb(22,22,22);"
           "border-style: solid;border-radius: 3px;";
    QTest::newRow("picked label") << "pickedLabel" << QSize(100, 23) << "(--,--,--)" << kGrey;
    QTest::newRow("range caption") << "扣色范围调整" << QSize(170, 22) << "扣色范围调整" << kGrey;
    QTest::newRow("R") << "R" << QSize(10, 22) << "R" << kRed;
    QTest::newRow("G") << "G" << QSize(10, 22) << "G" << kGreen;
    QTest::newRow("B") << "B" << QSize(10, 22) << "B" << kBlue;
    QTest::newRow("min R") << "minR" << QSize(23, 22) << "0" << kRed;
    QTest::newRow("min G") << "minG" << QSize(23, 22) << "0" << kGreen;
    QTest::newRow("min B") << "minB" << QSize(23, 22) << "0" << kBlue;
    QTest::newRow("max R") << "maxR" << QSize(23, 22) << "255" << kRed;
    QTest::newRow("max G") << "maxG" << QSize(23, 22) << "255" << kGreen;
    QTest::newRow("max B") << "maxB" << QSize(23, 22) << "255" << kBlue;
    QTest::newRow("fill title") << "fillTitle" << QSize(50, 22) << "填充色" << kGrey;
    QTest::newRow("fill swatch") << "fillSwatch" << QSize(40, 22) << ""
                                 << "background-color:black;border-width: 1px;border-color: rgb(22,22,22);"
                                    "border-style: solid;border-radius: 3px;";
}

void TestPropertyPanel::widgets()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(QString, text);
    QFETCH(QString, style);

    Quillmere w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QWidget *widget = panelWidget(w, name);
    QVERIFY(widget);
    QVERIFY(widget->isVisible());
    QCOMPARE(widget->maximumSize(), size);
    QCOMPARE(widget->height(), size.height());
    if (name == QLatin1String("reset")) {
        // Its style sheet asks for at least 46 pixels of text plus 12 of padding each side, which
        // Qt lets win over the fixed width.
        QCOMPARE(widget->width(), 46 + 2 * 12 + 2);
    } else {
        QCOMPARE(widget->size(), size);
        QCOMPARE(widget->minimumSize(), size);
    }
    if (auto *label = qobject_cast<QLabel *>(widget))
        QCOMPARE(label->text(), text);
    else
        QCOMPARE(widget->property("text").toString(), text);
    if (!style.isEmpty())
        QCOMPARE(widget->styleSheet(), style);
    QCOMPARE(widget->parentWidget(), TestSupport::propertyPanel(w));
}

void TestPropertyPanel::arrangement()
{
    Quillmere w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    const QRect title = rectOf(w, "title");
    QCOMPARE(title.height(), 25);
    QCOMPARE(title.y(), 0);
    QVERIFY(qAbs(title.left() + title.right() + 1 - 220) <= 1); // centred in the 220-pixel frame
    QCOMPARE(panelWidget(w, "title")->styleSheet(), kGrey);
    QCOMPARE(qobject_cast<QLabel *>(panelWidget(w, "title"))->text(), QStringLiteral("属性界面"));

    // Keying row: 8 pixels in from both sides.
    const QRect check = rectOf(w, "check");
    const QRect reset = rectOf(w, "reset");
    QCOMPARE(check.x(), 8);
    QCOMPARE(reset.right(), 220 - 8 - 1);
    QVERIFY(check.y() > title.bottom() + 2);

    // Picked colour: caption, 3 pixels, swatch, 2 pixels, text.
    const QRect currentTitle = rectOf(w, "currentTitle");
    // The row has no stretch, so Qt spreads the spare width around the fixed-size widgets.
    const QRect pickedSwatch = rectOf(w, "pickedSwatch");
    const QRect pickedLabel = rectOf(w, "pickedLabel");
    QVERIFY(currentTitle.x() >= 8);
    QVERIFY(pickedSwatch.x() >= currentTitle.right() + 1 + 3);
    QVERIFY(pickedLabel.x() >= pickedSwatch.right() + 1 + 2);
    QVERIFY(pickedLabel.right() <= 220 - 8 - 1);
    QCOMPARE(pickedSwatch.y(), currentTitle.y());
    QVERIFY(currentTitle.y() > reset.bottom());

    // Ranges: letters, sliders, 8 pixels, lower values, upper values; lines 3 pixels apart.
    const QRect caption = rectOf(w, "扣色范围调整");
    QCOMPARE(caption.x(), 8);
    QVERIFY(caption.y() > currentTitle.bottom() + 10);
    const char *letters[] = {"R", "G", "B"};
    const char *sliders[] = {"sliderR", "sliderG", "sliderB"};
    const char *mins[] = {"minR", "minG", "minB"};
    const char *maxs[] = {"maxR", "maxG", "maxB"};
    const QRect first = rectOf(w, "R");
    QCOMPARE(first.y(), caption.bottom() + 1 + 3);
    for (int i = 0; i < 3; ++i) {
        const QRect letter = rectOf(w, letters[i]);
        const QRect slider = rectOf(w, sliders[i]);
        const QRect lower = rectOf(w, mins[i]);
        const QRect upper = rectOf(w, maxs[i]);
        QCOMPARE(letter.x(), 8);
        QCOMPARE(letter.y(), first.y() + i * (22 + 3));
        QCOMPARE(slider.y(), letter.y());
        QCOMPARE(slider.height(), 22);
        QCOMPARE(lower.y(), letter.y());
        QCOMPARE(upper.y(), letter.y());
        QCOMPARE(slider.x(), letter.right() + 1 + 2);
        QCOMPARE(upper.right(), 220 - 8 - 1);
        QCOMPARE(lower.right() + 1 + 2, upper.x());
        QVERIFY(lower.x() - (slider.right() + 1) >= 8);
        QVERIFY(lower.x() - (slider.right() + 1) <= 8 + 2 * 2);
    }

    // Fill colour: caption at the left, the swatch followed by 100 pixels and the margin.
    const QRect fillTitle = rectOf(w, "fillTitle");
    const QRect fillSwatch = rectOf(w, "fillSwatch");
    QCOMPARE(fillTitle.x(), 8);
    QCOMPARE(fillSwatch.right(), 220 - 8 - 100 - 1);
    QCOMPARE(fillSwatch.y(), fillTitle.y());
    QVERIFY(fillTitle.y() > rectOf(w, "B").bottom() + 10);
    // Everything is packed at the top; the rest of the column stays empty.
    QVERIFY(TestSupport::propertyPanel(w)->height() > fillSwatch.bottom() + 100);
}

void TestPropertyPanel::startState()
{
    Quillmere w;
    auto *check = qobject_cast<CheckBoxEx *>(panelWidget(w, "check"));
    QVERIFY(check);
    QVERIFY(!check->isChecked());
    QCOMPARE(check->fontColor(), QColor(220, 220, 220, 255));
    auto *reset = qobject_cast<PushButtonEx *>(panelWidget(w, "reset"));
    QVERIFY(reset);
    QCOMPARE(reset->type(), PushButtonEx::PanelButton);
    QVERIFY(qobject_cast<LabelEx *>(panelWidget(w, "fillSwatch")));
    QCOMPARE(qobject_cast<QLabel *>(panelWidget(w, "fillSwatch"))->alignment(), Qt::AlignCenter);
    QCOMPARE(qobject_cast<QLabel *>(panelWidget(w, "pickedLabel"))->alignment(), Qt::AlignCenter);

    const QColor colours[] = {QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255)};
    const char *sliders[] = {"sliderR", "sliderG", "sliderB"};
    for (int i = 0; i < 3; ++i) {
        auto *slider = qobject_cast<DoubleSlider *>(panelWidget(w, sliders[i]));
        QVERIFY(slider);
        QCOMPARE(slider->color(), colours[i]);
        QCOMPARE(slider->minimum(), 0);
        QCOMPARE(slider->maximum(), 255);
        QCOMPARE(slider->minValue(), 0);
        QCOMPARE(slider->maxValue(), 255);
    }
}

void TestPropertyPanel::swatchOpensFillDialog()
{
    Quillmere w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    bool shown = false;
    QTimer timer;
    timer.setInterval(20);
    connect(&timer, &QTimer::timeout, this, [&] {
        if (auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget())) {
            shown = true;
            QCOMPARE(dialog->currentColor(), QColor(0, 0, 0));
            dialog->setCurrentColor(QColor(1, 2, 3));
            dialog->accept();
        }
    });
    timer.start();
    QTest::mouseClick(panelWidget(w, "fillSwatch"), Qt::LeftButton);
    timer.stop();
    QVERIFY(shown);
    QCOMPARE(A::selectColor(w), QColor(1, 2, 3));
}

void TestPropertyPanel::resetButtonReachesReset()
{
    Quillmere w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QStringList seen;
    TestSupport::answerNextModal(QStringLiteral("OK"), &seen);
    QTest::mouseClick(panelWidget(w, "reset"), Qt::LeftButton);
    QVERIFY2(seen.contains(QStringLiteral("OSD1 已经复位成功。")), qPrintable(seen.join(QLatin1Char('|'))));
}

void TestPropertyPanel::sliderReachesRangeSlot()
{
    Quillmere w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const char *sliders[] = {"sliderR", "sliderG", "sliderB"};
    const char *mins[] = {"minR", "minG", "minB"};
    const char *maxs[] = {"maxR", "maxG", "maxB"};
    for (int i = 0; i < 3; ++i) {
        auto *slider = qobject_cast<DoubleSlider *>(panelWidget(w, sliders[i]));
        // Press on the upper handle, then a key moves it: the value reaches the label.
        QTest::mouseClick(slider, Qt::LeftButton, Qt::NoModifier, slider->maxHandleRect().center());
        QTest::keyClick(slider, Qt::Key_Left);
        QCOMPARE(qobject_cast<QLabel *>(panelWidget(w, maxs[i]))->text(), QStringLiteral("254"));
        QCOMPARE(qobject_cast<QLabel *>(panelWidget(w, mins[i]))->text(), QStringLiteral("0"));
    }
}

void TestPropertyPanel::checkBoxAloneCallsNothing()
{
    Quillmere w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto *check = qobject_cast<CheckBoxEx *>(panelWidget(w, "check"));
    QTest::mouseClick(check, Qt::LeftButton, Qt::NoModifier, QPoint(8, check->height() / 2));
    QVERIFY(check->isChecked());
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(qobject_cast<QLabel *>(panelWidget(w, "pickedLabel"))->text(), QStringLiteral("(--,--,--)"));
    QCOMPARE(A::selectColor(w), QColor(0, 0, 0));
}

void TestPropertyPanel::looksRight()
{
    Quillmere w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QImage shot = TestSupport::propertyPanel(w)->grab().toImage();
    // The panel is dark; its caption line and the black swatches stand out.
    const QRect fillSwatch = rectOf(w, "fillSwatch");
    QCOMPARE(shot.pixelColor(fillSwatch.center()), QColor(0, 0, 0));
    QCOMPARE(shot.pixelColor(rectOf(w, "pickedSwatch").center()), QColor(0, 0, 0));
    // The 2-pixel line under the 25-pixel caption, after the column's spacing of 6.
    QCOMPARE(shot.pixelColor(110, 24), QColor(69, 69, 69));
    QCOMPARE(shot.pixelColor(110, 31), QColor(8, 7, 12));
    QCOMPARE(shot.pixelColor(110, 32), QColor(8, 7, 12));
    QCOMPARE(shot.pixelColor(110, 33), QColor(69, 69, 69));
    QCOMPARE(shot.pixelColor(210, fillSwatch.center().y()), QColor(69, 69, 69));
    // The red slider's span shows in its colour.
    const QRect slider = rectOf(w, "sliderR");
    QCOMPARE(shot.pixelColor(slider.center().x(), slider.y() + 10), QColor(255, 0, 0));
}

QTEST_MAIN(TestPropertyPanel)
#include "tst_propertypanel.moc"
