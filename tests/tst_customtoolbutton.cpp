// The toolbar button: its colours per state and that one click reaches the receiver once.
#include "support/testsupport.h"
#include "widgets/customtoolbutton.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace {
const QString kIcon = QStringLiteral(":/osdimage/res/osdimage/btn_toolbar_image.png");

QString frameStyle(const QString &colour)
{
    return QStringLiteral("QFrame#CustomToolButton{background-color:") + colour +
           QStringLiteral("border:none;}QLabel{color:rgb(220,220,220);border:none;background-color:") +
           colour + QStringLiteral("}");
}

QString pictureStyle(const QString &colour)
{
    return QStringLiteral("QPushButton{border-image: url(") + kIcon + QStringLiteral(");background-color:") +
           colour + QStringLiteral("}");
}

struct Fixture
{
    QWidget window;
    QPushButton *host = nullptr;
    CustomToolButton *button = nullptr;
    Fixture()
    {
        host = new QPushButton(&window);
        host->setFixedSize(50, 68);
        host->setFlat(true);
        button = new CustomToolButton(host);
        button->setImageAndText(kIcon, QStringLiteral("图片"));
        window.resize(200, 200);
        window.show();
    }
};
} // namespace

class TestCustomToolButton : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::failOnQtWarnings(); }
    void takesTheHostSizeAndCaption();
    void coloursFollowTheState_data();
    void coloursFollowTheState();
    void oneClickReachesTheReceiverOnce_data();
    void oneClickReachesTheReceiverOnce();
    void signalCountsOfAPictureClick();
    void releaseOutsideTheFrameStillClicks();
    void otherMouseButtonsDoNothing_data();
    void otherMouseButtonsDoNothing();
    void keysAfterAClickDoNothing_data();
    void keysAfterAClickDoNothing();
};

void TestCustomToolButton::takesTheHostSizeAndCaption()
{
    Fixture f;
    QCOMPARE(f.button->size(), QSize(50, 68));
    QCOMPARE(f.button->captionLabel()->text(), QStringLiteral("图片"));
    QCOMPARE(f.button->captionLabel()->alignment(), Qt::AlignCenter);
    QCOMPARE(f.button->pictureButton()->minimumSize(), QSize(30, 30));
    QCOMPARE(f.button->pictureButton()->maximumSize(), QSize(30, 30));
    QCOMPARE(f.button->objectName(), QStringLiteral("CustomToolButton"));
}

void TestCustomToolButton::coloursFollowTheState_data()
{
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("colour");
    QTest::newRow("at rest the background is 69") << "rest"
                                                  << "rgb(69,69,69);";
    QTest::newRow("under the pointer it lightens to 86") << "enter"
                                                         << "rgb(86,86,86);";
    QTest::newRow("held down it darkens to 48") << "press"
                                                << "rgb(48,48,48);";
    QTest::newRow("after the release the hover colour returns") << "release"
                                                                << "rgb(86,86,86);";
    QTest::newRow("leaving restores 69") << "leave"
                                         << "rgb(69,69,69);";
}

void TestCustomToolButton::coloursFollowTheState()
{
    QFETCH(QString, step);
    QFETCH(QString, colour);
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    const QPoint onCaption = f.button->captionLabel()->geometry().center();
    QEvent enter(QEvent::Enter);
    QEvent leave(QEvent::Leave);
    if (step != QLatin1String("rest"))
        QApplication::sendEvent(f.button, &enter);
    if (step == QLatin1String("press") || step == QLatin1String("release"))
        QTest::mousePress(f.button, Qt::LeftButton, Qt::NoModifier, onCaption);
    if (step == QLatin1String("release"))
        QTest::mouseRelease(f.button, Qt::LeftButton, Qt::NoModifier, onCaption);
    if (step == QLatin1String("leave"))
        QApplication::sendEvent(f.button, &leave);
    QCOMPARE(f.button->styleSheet(), frameStyle(colour));
    QCOMPARE(f.button->pictureButton()->styleSheet(), pictureStyle(colour));
}

void TestCustomToolButton::oneClickReachesTheReceiverOnce_data()
{
    QTest::addColumn<bool>("onPicture");
    QTest::newRow("a click on the caption") << false;
    QTest::newRow("a click on the picture") << true;
}

void TestCustomToolButton::oneClickReachesTheReceiverOnce()
{
    QFETCH(bool, onPicture);
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    int slotCalls = 0;
    // The main window connects by signature to clicked().
    QObject receiver;
    QObject::connect(f.button, &CustomToolButton::clicked, &receiver, [&] { ++slotCalls; });
    QSignalSpy hostClicks(f.host, &QPushButton::clicked);
    if (onPicture) {
        QTest::mouseClick(f.button->pictureButton(), Qt::LeftButton);
    } else {
        QTest::mouseClick(f.button, Qt::LeftButton, Qt::NoModifier,
                          f.button->captionLabel()->geometry().center());
    }
    QCOMPARE(slotCalls, 1);
    QCOMPARE(hostClicks.count(), 1);
}

void TestCustomToolButton::signalCountsOfAPictureClick()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    QSignalSpy pressed(f.button, &CustomToolButton::pressed);
    QSignalSpy released(f.button, &CustomToolButton::released);
    QSignalSpy clicked(f.button, &CustomToolButton::clicked);
    QTest::mouseClick(f.button->pictureButton(), Qt::LeftButton);
    QCOMPARE(pressed.count(), 2);
    QCOMPARE(released.count(), 2);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(f.button->visualState(), int(CustomToolButton::Hovered));
}

void TestCustomToolButton::releaseOutsideTheFrameStillClicks()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    QSignalSpy released(f.button, &CustomToolButton::released);
    QSignalSpy clicked(f.button, &CustomToolButton::clicked);
    QTest::mousePress(f.button, Qt::LeftButton, Qt::NoModifier,
                      f.button->captionLabel()->geometry().center());
    QTest::mouseRelease(f.button, Qt::LeftButton, Qt::NoModifier, QPoint(150, 150));
    QCOMPARE(released.count(), 1);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked.first().first().toBool(), false);
    QCOMPARE(f.button->visualState(), int(CustomToolButton::Hovered));
}

void TestCustomToolButton::otherMouseButtonsDoNothing_data()
{
    QTest::addColumn<int>("mouseButton");
    QTest::addColumn<bool>("onPicture");
    QTest::newRow("a right click on the caption does nothing") << int(Qt::RightButton) << false;
    QTest::newRow("a middle click on the caption does nothing") << int(Qt::MiddleButton) << false;
    QTest::newRow("a right click on the picture does nothing") << int(Qt::RightButton) << true;
    QTest::newRow("a middle click on the picture does nothing") << int(Qt::MiddleButton) << true;
}

void TestCustomToolButton::otherMouseButtonsDoNothing()
{
    QFETCH(int, mouseButton);
    QFETCH(bool, onPicture);
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    QSignalSpy pressed(f.button, &CustomToolButton::pressed);
    QSignalSpy released(f.button, &CustomToolButton::released);
    QSignalSpy clicked(f.button, &CustomToolButton::clicked);
    QSignalSpy hostClicks(f.host, &QPushButton::clicked);
    QWidget *target = onPicture ? static_cast<QWidget *>(f.button->pictureButton()) : f.button;
    const QPoint at = onPicture ? QPoint(15, 15) : f.button->captionLabel()->geometry().center();
    QTest::mouseClick(target, Qt::MouseButton(mouseButton), Qt::NoModifier, at);
    QCOMPARE(pressed.count() + released.count() + clicked.count() + hostClicks.count(), 0);
    QCOMPARE(f.button->visualState(), int(CustomToolButton::Normal));

    // The left button still acts.
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(clicked.count(), 1);
}

void TestCustomToolButton::keysAfterAClickDoNothing_data()
{
    QTest::addColumn<bool>("onPicture");
    QTest::addColumn<int>("key");
    for (const bool onPicture : {true, false}) {
        const char *where = onPicture ? "picture" : "caption";
        QTest::addRow("Return after a click on the %s", where) << onPicture << int(Qt::Key_Return);
        QTest::addRow("Enter after a click on the %s", where) << onPicture << int(Qt::Key_Enter);
        QTest::addRow("Space after a click on the %s", where) << onPicture << int(Qt::Key_Space);
    }
}

void TestCustomToolButton::keysAfterAClickDoNothing()
{
    QFETCH(bool, onPicture);
    QFETCH(int, key);
    // The main window is a dialog: a focused push button would be its default button.
    QDialog window;
    auto *host = new QPushButton(&window);
    host->setFixedSize(50, 68);
    auto *button = new CustomToolButton(host);
    button->setImageAndText(kIcon, QStringLiteral("图片"));
    window.resize(200, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QSignalSpy clicks(host, &QPushButton::clicked);
    if (onPicture)
        QTest::mouseClick(button->pictureButton(), Qt::LeftButton);
    else
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier,
                          button->captionLabel()->geometry().center());
    QCOMPARE(clicks.count(), 1);
    QWidget *focus = QApplication::focusWidget() ? QApplication::focusWidget() : &window;
    QTest::keyClick(focus, Qt::Key(key));
    QCOMPARE(clicks.count(), 1);
    QVERIFY(window.isVisible());
}

QTEST_MAIN(TestCustomToolButton)
#include "tst_customtoolbutton.moc"
