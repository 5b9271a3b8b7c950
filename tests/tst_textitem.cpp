// Opening the text window from the main window, fresh and for re-editing a text item.
#include "interfaces/sourcedata.h"
#include "interfaces/tablewidgetex.h"
#include "mainwindow/quillmere.h"
#include "osditem/osditem.h"
#include "support/testsupport.h"
#include "textexport/exporttextimage.h"

#include <QAction>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QLockFile>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSettings>
#include <QtTest>

#include "widgets/customtoolbutton.h"

class QuillmereTestAccess
{
public:
    static ExportTextImage *textWindow(Quillmere &w) { return w.m_textWindow; }
    static TableWidgetEx *tabs(Quillmere &w) { return w.m_tabWidget; }
    static CustomToolButton *textButton(Quillmere &w) { return w.m_textToolButton; }
    static QGraphicsScene *currentScene(Quillmere &w) { return w.currentView()->scene(); }
};

namespace {

QString settingsFile()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/settings.ini");
}

QPlainTextEdit *editorOf(ExportTextImage *window)
{
    return window->findChild<QPlainTextEdit *>();
}

QAction *sendActionOf(ExportTextImage *window)
{
    const QList<QAction *> actions = window->findChildren<QAction *>();
    for (QAction *action : actions) {
        if (action->text() == QStringLiteral("发送到硬件"))
            return action;
    }
    return nullptr;
}

struct Sent
{
    QImage image;
    QColor color;
    QFont font;
    QString text;
};

// Records what a window sends, next to the main window that receives it.
QList<Sent> *recordSends(ExportTextImage *window)
{
    auto *sent = new QList<Sent>;
    QObject::connect(window, &ExportTextImage::exportTextImage, window,
                     [sent](QImage *image, QColor color, QFont font, QString text) {
                         sent->append({image ? image->copy() : QImage(), color, font, text});
                     });
    QObject::connect(window, &QObject::destroyed, [sent] { delete sent; });
    return sent;
}

// A text item as the main window keeps it: an OSDItem with the source it was rendered from.
OSDItem *addTextItem(QGraphicsScene *scene, const QColor &color, const QFont &font, const QString &content)
{
    auto *item = new OSDItem;
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    item->setPixmap(QPixmap::fromImage(image));
    item->setOsdImage(image, false);
    auto *source = new SourceData;
    source->setTextColor(color);
    source->setTextFont(font);
    source->setContent(content);
    item->setSourceData(source);
    scene->addItem(item);
    return item;
}

// The render limit comes from the laid-out tab widget, as the operator sees it.
void showMainWindow(Quillmere &w)
{
    w.resize(850, 620);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
}

} // namespace

class TestTextItem : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void textButtonOpensAModalWindowCentred();
    void openingAgainDeletesThePreviousWindow();
    void openingWritesTheSettingsFile();
    void reEditingLoadsTheItemsText();
    void reEditingWithAMissingFontFamily();
    void reEditingAnEmptyTabOpensAnEmptyWindow();

private:
    QLockFile *m_lock = nullptr;
    bool m_hadFile = false;
    QByteArray m_savedFile;
};

void TestTextItem::initTestCase()
{
    // Other test executables in this directory use settings.ini too.
    m_lock = new QLockFile(settingsFile() + QStringLiteral(".testlock"));
    m_lock->setStaleLockTime(0);
    QVERIFY(m_lock->tryLock(300000));
    QFile file(settingsFile());
    m_hadFile = file.exists();
    if (m_hadFile) {
        QVERIFY(file.open(QIODevice::ReadOnly));
        m_savedFile = file.readAll();
    }
}

void TestTextItem::cleanupTestCase()
{
    QFile::remove(settingsFile());
    if (m_hadFile) {
        QFile file(settingsFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(m_savedFile);
    }
    delete m_lock;
}

void TestTextItem::init()
{
    QFile::remove(settingsFile());
}

void TestTextItem::textButtonOpensAModalWindowCentred()
{
    Quillmere w;
    w.move(40, 30);
    showMainWindow(w);
    w.resize(851, 621);

    QTest::mouseClick(QuillmereTestAccess::textButton(w), Qt::LeftButton);
    ExportTextImage *window = QuillmereTestAccess::textWindow(w);
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->parentWidget(), &w);
    QVERIFY(window->testAttribute(Qt::WA_ShowModal));
    QCOMPARE(QApplication::activeModalWidget(), window);
    QCOMPARE(window->windowFlags() & (Qt::Dialog | Qt::WindowCloseButtonHint),
             Qt::WindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint));
    QCOMPARE(window->windowTitle(), QStringLiteral("文本设置"));
    // Centred horizontally, 20 pixels below the vertical centre (halves truncated).
    QCOMPARE(window->geometry(),
             QRect(w.mapToParent(QPoint((851 - 600) / 2, (621 - 310) / 2)), QSize(600, 350)));
    const QSize tabs = QuillmereTestAccess::tabs(w)->size();
    QCOMPARE(window->maxImageSize(), QSize(tabs.width() - 20, tabs.height() - 50));
    QCOMPARE(editorOf(window)->toPlainText(), QString());
    window->close();
}

void TestTextItem::openingAgainDeletesThePreviousWindow()
{
    Quillmere w;
    w.slot_textButten();
    QPointer<ExportTextImage> first = QuillmereTestAccess::textWindow(w);
    QVERIFY(first);
    editorOf(first)->setPlainText(QStringLiteral("first"));
    first->close();

    w.slot_textButten();
    QVERIFY(!first);
    ExportTextImage *second = QuillmereTestAccess::textWindow(w);
    QVERIFY(second);
    QCOMPARE(editorOf(second)->toPlainText(), QString());
    QCOMPARE(w.findChildren<ExportTextImage *>().size(), 1);
}

void TestTextItem::openingWritesTheSettingsFile()
{
    QVERIFY(!QFile::exists(settingsFile()));
    Quillmere w;
    w.slot_textButten();
    QSettings settings(settingsFile(), QSettings::IniFormat);
    QCOMPARE(settings.allKeys().size(), 21);
    QCOMPARE(settings.value(QStringLiteral("General/recentFiles")).toStringList(),
             QStringList{QStringLiteral("文本编辑")});
    QCOMPARE(settings.value(QStringLiteral("Editor/fontFamily")).toString(), QStringLiteral("CourierNew"));
}

void TestTextItem::reEditingLoadsTheItemsText()
{
    Quillmere w;
    showMainWindow(w);
    const QString content = QStringLiteral("broken\nlines");
    const QFont font(QStringLiteral("DejaVu Serif"), 36);
    addTextItem(QuillmereTestAccess::currentScene(w), QColor(200, 0, 0), font, content);

    w.slot_loadingText();
    ExportTextImage *window = QuillmereTestAccess::textWindow(w);
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(editorOf(window)->toPlainText(), content);
    const QSize tabs = QuillmereTestAccess::tabs(w)->size();
    QCOMPARE(window->maxImageSize(), QSize(tabs.width() - 20, tabs.height() - 50));

    QList<Sent> *sent = recordSends(window);
    sendActionOf(window)->trigger();
    QCOMPARE(sent->size(), 1);
    QCOMPARE(sent->first().text, content);
    QCOMPARE(sent->first().color, QColor(200, 0, 0));
    QCOMPARE(sent->first().font.family(), QStringLiteral("DejaVu Serif"));
    QCOMPARE(sent->first().font.pointSize(), 36);
}

void TestTextItem::reEditingWithAMissingFontFamily()
{
    const QString missing = QStringLiteral("Brisklane Missing Family");
    QVERIFY(!QFontDatabase().families().contains(missing));
    Quillmere w;
    showMainWindow(w);
    addTextItem(QuillmereTestAccess::currentScene(w), QColor(2, 2, 2), QFont(missing, 28),
                QStringLiteral("abc"));

    w.slot_loadingText();
    ExportTextImage *window = QuillmereTestAccess::textWindow(w);
    QVERIFY(window);
    QCOMPARE(editorOf(window)->toPlainText(), QStringLiteral("abc"));

    QList<Sent> *sent = recordSends(window);
    sendActionOf(window)->trigger();
    QCOMPARE(sent->size(), 1);
    const Sent &first = sent->first();
    QVERIFY(!first.image.isNull());
    QCOMPARE(first.font.pointSize(), 28);
    QVERIFY(QFontDatabase().families().contains(first.font.family()));
    QCOMPARE(first.image.width(), QFontMetrics(first.font).horizontalAdvance(QStringLiteral("abc")));
}

void TestTextItem::reEditingAnEmptyTabOpensAnEmptyWindow()
{
    Quillmere w;
    // A picture item has no text source; nothing is loaded from it.
    auto *picture = new OSDItem;
    picture->setOsdImage(QImage(4, 4, QImage::Format_RGB32), true);
    QuillmereTestAccess::currentScene(w)->addItem(picture);

    w.slot_loadingText();
    ExportTextImage *window = QuillmereTestAccess::textWindow(w);
    QVERIFY(window);
    QCOMPARE(editorOf(window)->toPlainText(), QString());
}

QTEST_MAIN(TestTextItem)
#include "tst_textitem.moc"
