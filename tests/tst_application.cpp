// Start-up pieces: the application style sheet and icon, the files named on the command line, and
// the main window's title, frame and toolbar.
#include "app/applicationicon.h"
#include "app/applicationstylesheet.h"
#include "app/commandlinefiles.h"
#include "mainwindow/quillmere.h"
#include "support/importing.h"
#include "support/testsupport.h"
#include "support/windowparts.h"
#include "widgets/customtoolbutton.h"
#include "widgets/styled/tablewidgetex.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class TestApplication : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::failOnQtWarnings(); }
    void styleSheetIsCutAtTheFirstZeroByte_data();
    void styleSheetIsCutAtTheFirstZeroByte();
    void missingStyleSheetIsSkipped();
    void resourceStyleSheetHasTheScrollBarRules_data();
    void resourceStyleSheetHasTheScrollBarRules();
    void windowTitleFlagsAndSize();
    void windowTitleNamesTheLastImportedFile();
    void commandLineFiles_data();
    void commandLineFiles();
    void iconFromTheThemeElsePacked();
    void toolbarShowsFourButtonsAndASeparator();
    void toolbarButtonsAreNamedForTheirWork_data();
    void toolbarButtonsAreNamedForTheirWork();
    void propertyColumnStays220Wide_data();
    void propertyColumnStays220Wide();
    void escapeClosesTheWindow();
    void slotsInMetaMethodOrder();
};

void TestApplication::styleSheetIsCutAtTheFirstZeroByte_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain text is taken whole")
        << QByteArray("QScrollBar{height:16px;}") << "QScrollBar{height:16px;}";
    QTest::newRow("text after a zero byte is dropped") << QByteArray("A{b:c;}\0junk{x:y;}", 18) << "A{b:c;}";
    QTest::newRow("a leading zero byte gives an empty sheet") << QByteArray("\0A{}", 4) << "";
    QTest::newRow("bytes are read as Latin-1") << QByteArray("/*\xe9*/") << QString::fromLatin1("/*\xe9*/");
}

void TestApplication::styleSheetIsCutAtTheFirstZeroByte()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.qss"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    const QString sheet = ApplicationStyleSheet::read(path);
    QVERIFY(!sheet.isNull());
    QCOMPARE(sheet, expected);
    QVERIFY(ApplicationStyleSheet::apply(*qApp, path));
    QCOMPARE(qApp->styleSheet(), expected);
    qApp->setStyleSheet(QString());
}

void TestApplication::missingStyleSheetIsSkipped()
{
    qApp->setStyleSheet(QStringLiteral("QWidget{}"));
    QVERIFY(ApplicationStyleSheet::read(QStringLiteral(":/qss/absent.qss")).isNull());
    QVERIFY(!ApplicationStyleSheet::apply(*qApp, QStringLiteral(":/qss/absent.qss")));
    QCOMPARE(qApp->styleSheet(), QStringLiteral("QWidget{}"));
    qApp->setStyleSheet(QString());
}

void TestApplication::resourceStyleSheetHasTheScrollBarRules_data()
{
    QTest::addColumn<QString>("rule");
    QTest::newRow("horizontal bar") << "QScrollBar:horizontal{height:16px;background:rgb(79,79,79);padding-"
                                       "left:16px;padding-right:16px;}";
    QTest::newRow("horizontal add-line shows the pressed image at rest")
        << "QScrollBar::add-line:horizontal{width:16px;height:16px;border-image:url(:/scrollbar/res/"
           "scrollbar/"
           "right_pressed.png);subcontrol-position:right;}";
    QTest::newRow("vertical sub-line shows the normal image while pressed")
        << "QScrollBar::sub-line:vertical:pressed{height:16px;width:16px;border-image:url(:/scrollbar/res/"
           "scrollbar/up_normal.png);subcontrol-position:top;}";
    QTest::newRow("vertical handle") << "QScrollBar::handle:vertical{background:rgb(56,56,56);border-radius:"
                                        "5px;width:12px;margin-left:2px;"
                                        "margin-right:2px;min-height:20px;}";
    QTest::newRow("vertical pages")
        << "QScrollBar::add-page:vertical,QScrollBar::sub-page:vertical{background:rgb(79,79,79);}";
}

void TestApplication::resourceStyleSheetHasTheScrollBarRules()
{
    QFETCH(QString, rule);
    const QString sheet =
        ApplicationStyleSheet::read(QString::fromLatin1(ApplicationStyleSheet::resourcePath));
    QVERIFY(!sheet.isEmpty());
    QVERIFY2(sheet.contains(rule), qPrintable(rule));
    // Every border image of the sheet is a resource that exists.
    const QRegularExpression url(QStringLiteral("url\\(([^)]+)\\)"));
    auto it = url.globalMatch(sheet);
    int images = 0;
    while (it.hasNext()) {
        const QString path = it.next().captured(1);
        QVERIFY2(QFile::exists(path), qPrintable(path));
        ++images;
    }
    QCOMPARE(images, 8);
}

void TestApplication::windowTitleFlagsAndSize()
{
    Quillmere w;
    QCOMPARE(w.windowTitle(), QStringLiteral("Brisklane " BRISKLANE_EXPECTED_VERSION));
    QCOMPARE(w.objectName(), QStringLiteral("Quillmere"));
    QCOMPARE(w.size(), QSize(850, 620));
    QCOMPARE(w.styleSheet(), QStringLiteral("background:rgb(69,69,69);"));
    const Qt::WindowFlags hints =
        Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint;
    QCOMPARE(w.windowFlags() & hints, hints);
}

void TestApplication::windowTitleNamesTheLastImportedFile()
{
    const QTemporaryDir dir;
    const QString first = dir.filePath(QStringLiteral("first.pic"));
    const QString last = dir.filePath(QStringLiteral("last.logo"));
    TestSupport::writeSmallRecords(first, 2);
    TestSupport::writeSmallRecords(last, 1);
    Quillmere w;
    QVERIFY(w.importFiles({first, last}));
    QCOMPARE(w.windowTitle(), QStringLiteral("last.logo \u2014 Brisklane " BRISKLANE_EXPECTED_VERSION));
    // A refused import leaves the title with the file still shown.
    TestSupport::answerNextModal(QStringLiteral("OK"));
    QVERIFY(!w.importFiles({dir.filePath(QStringLiteral("missing.pic"))}));
    QCOMPARE(w.windowTitle(), QStringLiteral("last.logo \u2014 Brisklane " BRISKLANE_EXPECTED_VERSION));
}

void TestApplication::commandLineFiles_data()
{
    QTest::addColumn<QStringList>("given");
    QTest::addColumn<QStringList>("readable");
    QTest::addColumn<QStringList>("refused");
    QTest::newRow("every file readable, in the order given")
        << QStringList{"b.pic", "a.logo"} << QStringList{"b.pic", "a.logo"} << QStringList();
    QTest::newRow("a missing file between two good ones keeps neither out")
        << QStringList{"a.logo", "missing.pic", "b.pic"} << QStringList{"a.logo", "b.pic"}
        << QStringList{"missing.pic"};
    QTest::newRow("a folder, a damaged and an empty file are refused each")
        << QStringList{"folder.pic", "damaged.pic", "empty.pic", "b.pic"} << QStringList{"b.pic"}
        << QStringList{"folder.pic", "damaged.pic", "empty.pic"};
    QTest::newRow("nothing readable")
        << QStringList{"missing.pic"} << QStringList() << QStringList{"missing.pic"};
}

void TestApplication::commandLineFiles()
{
    QFETCH(QStringList, given);
    QFETCH(QStringList, readable);
    QFETCH(QStringList, refused);
    const QTemporaryDir dir;
    TestSupport::writeSmallRecords(dir.filePath(QStringLiteral("a.logo")), 1);
    TestSupport::writeSmallRecords(dir.filePath(QStringLiteral("b.pic")), 2);
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.pic")));
    QFile damaged(dir.filePath(QStringLiteral("damaged.pic")));
    QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write("BRISK but not an OSD file") > 0);
    damaged.close();
    QFile empty(dir.filePath(QStringLiteral("empty.pic")));
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.close();
    const auto inDir = [&dir](const QStringList &names) {
        QStringList paths;
        for (const QString &name : names)
            paths.append(dir.filePath(name));
        return paths;
    };

    const CommandLineFiles::Checked checked = CommandLineFiles::check(inDir(given));
    QCOMPARE(checked.readable, inDir(readable));
    // One line for each file refused, naming it and the reason.
    QCOMPARE(checked.refusals.size(), refused.size());
    for (int i = 0; i < refused.size(); ++i) {
        const QString prefix = QDir::toNativeSeparators(dir.filePath(refused.at(i))) + QStringLiteral(": ");
        QVERIFY2(checked.refusals.at(i).startsWith(prefix) && checked.refusals.at(i).size() > prefix.size(),
                 qPrintable(checked.refusals.at(i)));
    }
    const QString report = CommandLineFiles::report(checked.refusals);
    for (const QString &refusal : checked.refusals)
        QVERIFY2(report.contains(refusal), qPrintable(report));
}

void TestApplication::iconFromTheThemeElsePacked()
{
    // The packed icon has every size the theme gets, the smallest and the largest among them.
    const QIcon packed = ApplicationIcon::packed();
    QVERIFY(packed.availableSizes().contains(QSize(16, 16)));
    QVERIFY(packed.availableSizes().contains(QSize(256, 256)));
    QCOMPARE(ApplicationIcon::fromTheme(QStringLiteral("brisklane-no-such-icon")).availableSizes(),
             packed.availableSizes());

    // An installed theme's icon comes first: a green square that the packed icon is not.
    const QTemporaryDir themes;
    const QString theme = themes.filePath(QStringLiteral("testtheme"));
    QVERIFY(QDir().mkpath(theme + QStringLiteral("/32x32/apps")));
    QFile index(theme + QStringLiteral("/index.theme"));
    QVERIFY(index.open(QIODevice::WriteOnly));
    index.write("[Icon Theme]\nName=testtheme\nDirectories=32x32/apps\n\n[32x32/apps]\nSize=32\n");
    index.close();
    QImage green(32, 32, QImage::Format_ARGB32);
    green.fill(Qt::green);
    QVERIFY(green.save(theme + QStringLiteral("/32x32/apps/brisklane-test.png")));
    const QStringList searchPaths = QIcon::themeSearchPaths();
    const QString themeName = QIcon::themeName();
    QIcon::setThemeSearchPaths({themes.path()});
    QIcon::setThemeName(QStringLiteral("testtheme"));
    const QImage shown = ApplicationIcon::fromTheme(QStringLiteral("brisklane-test")).pixmap(32).toImage();
    QIcon::setThemeSearchPaths(searchPaths);
    QIcon::setThemeName(themeName);
    QCOMPARE(shown.pixelColor(16, 16), QColor(Qt::green));

    // The windows take the application's icon.
    ApplicationIcon::apply();
    QVERIFY(!QGuiApplication::windowIcon().isNull());
    Quillmere w;
    QVERIFY(!w.windowIcon().availableSizes().isEmpty());
}

void TestApplication::toolbarShowsFourButtonsAndASeparator()
{
    Quillmere w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QStringList visible;
    QStringList hidden;
    const QList<CustomToolButton *> buttons = w.findChildren<CustomToolButton *>();
    // The project's menu, the four of the list and, after them, the overview switch of the screen
    // layout.
    QCOMPARE(buttons.size(), 7);
    QList<CustomToolButton *> shown;
    for (CustomToolButton *b : buttons) {
        auto *host = qobject_cast<QPushButton *>(b->parentWidget());
        QVERIFY(host);
        QCOMPARE(host->size(), QSize(50, 68));
        QCOMPARE(host->toolTip(), b->caption());
        if (host->isVisible())
            shown << b;
        else
            hidden << b->caption();
    }
    std::sort(shown.begin(), shown.end(), [](CustomToolButton *a, CustomToolButton *b) {
        return a->parentWidget()->x() < b->parentWidget()->x();
    });
    for (CustomToolButton *b : shown)
        visible << b->caption();
    QCOMPARE(visible, (QStringList{"工程", "导入", "导出", "图片", "文字", "总览"}));
    QCOMPARE(hidden, QStringList{"清除"});

    // The 2-pixel separator stands between export and picture.
    const int exportRight = shown.at(2)->parentWidget()->geometry().right();
    const int pictureLeft = shown.at(3)->parentWidget()->geometry().left();
    bool separatorFound = false;
    for (QLabel *label : w.findChildren<QLabel *>()) {
        if (label->styleSheet() == QLatin1String("background:rgb(8,7,12);") && label->width() == 2 &&
            label->x() > exportRight && label->x() < pictureLeft)
            separatorFound = true;
    }
    QVERIFY(separatorFound);
    QCOMPARE(shown.first()->parentWidget()->x(), 22);
}

// Tests and tools find the toolbar's buttons by these names; each must name the one button with
// that caption.
void TestApplication::toolbarButtonsAreNamedForTheirWork_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::newRow("project") << "projectButton"
                             << "工程";
    QTest::newRow("clear") << "clearButton"
                           << "清除";
    QTest::newRow("import") << "importButton"
                            << "导入";
    QTest::newRow("export") << "exportButton"
                            << "导出";
    QTest::newRow("picture") << "pictureButton"
                             << "图片";
    QTest::newRow("text") << "textButton"
                          << "文字";
    QTest::newRow("overview") << "overviewButton"
                              << "总览";
}

void TestApplication::toolbarButtonsAreNamedForTheirWork()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    Quillmere w;
    QCOMPARE(TestSupport::toolBarButton(w, name)->caption(), caption);
}

void TestApplication::propertyColumnStays220Wide_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("default size") << QSize(850, 620);
    QTest::newRow("wide window") << QSize(1400, 700);
    QTest::newRow("narrow window") << QSize(700, 500);
}

void TestApplication::propertyColumnStays220Wide()
{
    QFETCH(QSize, size);
    Quillmere w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.resize(size);
    QTRY_COMPARE(w.size(), size);
    QApplication::processEvents();
    auto *tabs = w.findChild<TableWidgetEx *>();
    QVERIFY(tabs);
    QFrame *panel = nullptr;
    for (QFrame *frame : w.findChildren<QFrame *>()) {
        if (frame->parentWidget() == &w && frame->minimumWidth() == 220 && frame->maximumWidth() == 220)
            panel = frame;
    }
    QVERIFY(panel);
    QCOMPARE(panel->width(), 220);
    QCOMPARE(panel->geometry().right(), w.width() - 1);
    // Tab list, a 2-pixel line, then the panel.
    QCOMPARE(tabs->geometry().right() + 2 + 1, panel->x());
}

void TestApplication::escapeClosesTheWindow()
{
    Quillmere w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::keyClick(&w, Qt::Key_Escape);
    QVERIFY(!w.isVisible());
}

void TestApplication::slotsInMetaMethodOrder()
{
    const QStringList expected{"slot_picturnButten()",
                               "slot_textButten()",
                               "on_exportTextImage(QImage*,QColor,QFont,QString)",
                               "on_removeTable(int)",
                               "slot_removeAllTable()",
                               "on_notifyAddTable(int)",
                               "on_currentTableChanged(int)",
                               "slot_splitesetZero()",
                               "slot_updataAllslider()",
                               "slot_updateImgOfView(QImage,QRect)",
                               "slot_deleteItem()",
                               "slot_loadingText()",
                               "slot_createButten()",
                               "slot_inputButten()",
                               "slot_outputButten()",
                               "on_testNum(int)",
                               "slot_getIsDisPlayImg(bool)",
                               "slot_displayColorFormColorDialog()",
                               "slot_displayColorFormColorDialogBegin()",
                               "slot_displayColorFormColorDialogEnd()",
                               "slot_applyDataForDataModel()",
                               "slot_Resetbutton()",
                               "slot_setColorOfMouse(double,double,double,double)",
                               "slot_setColorR(int,int)",
                               "slot_setColorG(int,int)",
                               "slot_setColorB(int,int)",
                               "slot_itemHoverLeave()",
                               "slot_itemHoverEnter(QPointF)",
                               "slot_mouseClicked()"};
    const QMetaObject &meta = Quillmere::staticMetaObject;
    QStringList actual;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        const QMetaMethod method = meta.method(i);
        if (method.methodType() == QMetaMethod::Signal)
            QFAIL("the main window has no signals of its own");
        actual << QString::fromLatin1(method.methodSignature());
    }
    QCOMPARE(actual, expected);
}

QTEST_MAIN(TestApplication)
#include "tst_application.moc"
