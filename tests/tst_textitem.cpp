// Opening the text window from the main window, fresh and for re-editing a text item.
#include "interfaces/model/sourcedata.h"
#include "mainwindow/quillmere.h"
#include "osditem/osditem.h"
#include "support/core/pictures.h"
#include "support/core/settingsfolder.h"
#include "support/quillmereaccess.h"
#include "support/testsupport.h"
#include "support/windowparts.h"
#include "textexport/exporttextimage.h"
#include "widgets/customtoolbutton.h"
#include "widgets/styled/tablewidgetex.h"

#include <QAction>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSettings>
#include <QtTest>

namespace {

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

// A text item put into the current tab as the text window hands it over.
OSDItem *addTextItem(Quillmere &w, const QColor &color, const QFont &font, const QString &content)
{
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    w.on_exportTextImage(&image, color, font, content);
    return QuillmereTestAccess::currentItems(w).value(0);
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
    void init();

    void textButtonOpensAModalWindowCentred();
    void openingAgainDeletesThePreviousWindow();
    void openingWritesTheSettingsFile();
    void reEditingLoadsTheItemsText();
    void reEditingWithAMissingFontFamily();
    void reEditingAnEmptyTabOpensAnEmptyWindow();
    void textButtonToTextItemAndBack();
    void unsentTextAcrossOpenings_data();
    void unsentTextAcrossOpenings();

private:
    QString settingsFile() const { return m_folder.file(); }

    TestSupport::SettingsFolder m_folder;
};

void TestTextItem::init()
{
    m_folder.clear();
}

void TestTextItem::textButtonOpensAModalWindowCentred()
{
    Quillmere w;
    w.setSettingsFolder(m_folder.path());
    w.move(40, 30);
    showMainWindow(w);
    w.resize(851, 621);

    QTest::mouseClick(TestSupport::toolBarButton(w, QStringLiteral("textButton")), Qt::LeftButton);
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
    const QSize tabs = TestSupport::tabList(w)->size();
    QCOMPARE(window->maxImageSize(), QSize(tabs.width() - 20, tabs.height() - 50));
    QCOMPARE(editorOf(window)->toPlainText(), QString());
    window->close();
}

void TestTextItem::openingAgainDeletesThePreviousWindow()
{
    Quillmere w;
    w.setSettingsFolder(m_folder.path());
    w.slot_textButten();
    QPointer<ExportTextImage> first = QuillmereTestAccess::textWindow(w);
    QVERIFY(first);
    editorOf(first)->setPlainText(QStringLiteral("first"));
    first->close();

    w.slot_textButten();
    QVERIFY(!first);
    ExportTextImage *second = QuillmereTestAccess::textWindow(w);
    QVERIFY(second);
    // The text left unsent comes back in the new window.
    QCOMPARE(editorOf(second)->toPlainText(), QStringLiteral("first"));
    QCOMPARE(w.findChildren<ExportTextImage *>().size(), 1);
}

void TestTextItem::openingWritesTheSettingsFile()
{
    QVERIFY(!QFile::exists(settingsFile()));
    Quillmere w;
    w.setSettingsFolder(m_folder.path());
    w.slot_textButten();
    QSettings settings(settingsFile(), QSettings::IniFormat);
    QCOMPARE(settings.allKeys().size(), 27);
    QCOMPARE(settings.value(QStringLiteral("General/recentFiles")).toStringList(),
             QStringList{QStringLiteral("文本编辑")});
    QCOMPARE(settings.value(QStringLiteral("Editor/fontFamily")).toString(), QStringLiteral("CourierNew"));
}

void TestTextItem::reEditingLoadsTheItemsText()
{
    Quillmere w;
    w.setSettingsFolder(m_folder.path());
    showMainWindow(w);
    const QString content = QStringLiteral("broken\nlines");
    const QFont font(QStringLiteral("DejaVu Serif"), 36);
    addTextItem(w, QColor(200, 0, 0), font, content);

    w.slot_loadingText();
    ExportTextImage *window = QuillmereTestAccess::textWindow(w);
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(editorOf(window)->toPlainText(), content);
    const QSize tabs = TestSupport::tabList(w)->size();
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
    w.setSettingsFolder(m_folder.path());
    showMainWindow(w);
    addTextItem(w, QColor(2, 2, 2), QFont(missing, 28), QStringLiteral("abc"));

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
    w.setSettingsFolder(m_folder.path());
    // A picture item has no text source; nothing is loaded from it.
    QVERIFY(QuillmereTestAccess::addPictureItem(w, TestSupport::numberedPicture(4, 4)));

    w.slot_loadingText();
    ExportTextImage *window = QuillmereTestAccess::textWindow(w);
    QVERIFY(window);
    QCOMPARE(editorOf(window)->toPlainText(), QString());
}

void TestTextItem::textButtonToTextItemAndBack()
{
    Quillmere w;
    w.setSettingsFolder(m_folder.path());
    showMainWindow(w);
    QTest::mouseClick(TestSupport::toolBarButton(w, QStringLiteral("textButton")), Qt::LeftButton);
    QPointer<ExportTextImage> window = QuillmereTestAccess::textWindow(w);
    QVERIFY(window);
    window->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), window.data());
    QPlainTextEdit *editor = editorOf(window);
    editor->setFocus();
    const QString typed =
        QStringLiteral("A text item long enough to be broken at the width of the tab list\nOSD 文本");
    editor->setPlainText(typed);
    QTest::keyClick(editor, Qt::Key_B, Qt::ControlModifier);
    sendActionOf(window)->trigger();

    // The current tab now holds one text item with the text as drawn, its font and colour.
    const QList<OSDItem *> items = QuillmereTestAccess::currentItems(w);
    QCOMPARE(items.size(), 1);
    OSDItem *item = items.first();
    QVERIFY(!item->isPicture());
    SourceData *source = item->sourceData();
    QVERIFY(source);
    const QString drawn = source->getContent();
    QVERIFY(drawn.count(QLatin1Char('\n')) > typed.count(QLatin1Char('\n')));
    QCOMPARE(QString(drawn).remove(QLatin1Char('\n')), QString(typed).remove(QLatin1Char('\n')));
    QCOMPARE(source->getTextColor(), QColor(2, 2, 2));
    QCOMPARE(source->getTextFont().pointSize(), 24);
    QCOMPARE(source->getTextFont().weight(), 75);
    const QFontMetrics metrics(source->getTextFont());
    const QSize tabs = TestSupport::tabList(w)->size();
    QCOMPARE(item->image().width(), tabs.width() - 20);
    // The lines are the family's at least; the Chinese comes from a fallback font, which may reach
    // lower, and is drawn whole.
    const int familyHeight = (drawn.count(QLatin1Char('\n')) + 1) * (metrics.height() + metrics.leading());
    QVERIFY(item->image().height() >= qMin(tabs.height() - 50, familyHeight));
    QVERIFY(item->image().height() <= tabs.height() - 50);
    QCOMPARE(item->image().pixel(item->image().width() - 1, 0), qRgb(253, 253, 253));

    // "载入" opens a new window with the item's text, font size and colour.
    window->close();
    item->slot_readBackOsdInfo();
    QVERIFY(!window);
    ExportTextImage *reopened = QuillmereTestAccess::textWindow(w);
    QVERIFY(reopened);
    QVERIFY(reopened->isVisible());
    QCOMPARE(editorOf(reopened)->toPlainText(), drawn);

    // Sending again replaces the item with one made from the loaded text.
    sendActionOf(reopened)->trigger();
    QTRY_COMPARE(QuillmereTestAccess::currentItems(w).size(), 1);
    OSDItem *again = QuillmereTestAccess::currentItems(w).first();
    QVERIFY(again != item);
    QCOMPARE(again->sourceData()->getContent(), drawn);
    QCOMPARE(again->sourceData()->getTextColor(), QColor(2, 2, 2));
    QCOMPARE(again->sourceData()->getTextFont().pointSize(), 24);
}

void TestTextItem::unsentTextAcrossOpenings_data()
{
    QTest::addColumn<bool>("send");
    QTest::addColumn<bool>("reEditBetween");
    QTest::addColumn<QString>("nextOpening");

    QTest::newRow("a text closed unsent comes back at the next opening") << false << false << "draft";
    QTest::newRow("a sent text is not offered again") << true << false << "";
    QTest::newRow("a re-edit in between shows its item and keeps the unsent text")
        << false << true << "draft";
}

void TestTextItem::unsentTextAcrossOpenings()
{
    QFETCH(bool, send);
    QFETCH(bool, reEditBetween);
    QFETCH(QString, nextOpening);

    Quillmere w;
    w.setSettingsFolder(m_folder.path());
    showMainWindow(w);
    w.slot_textButten();
    ExportTextImage *window = QuillmereTestAccess::textWindow(w);
    editorOf(window)->setPlainText(QStringLiteral("draft"));
    if (send) {
        sendActionOf(window)->trigger();
        QCOMPARE(QuillmereTestAccess::currentItems(w).size(), 1);
    }
    window->close();

    if (reEditBetween) {
        addTextItem(w, QColor(2, 2, 2), QFont(QStringLiteral("DejaVu Serif"), 28), QStringLiteral("item"));
        w.slot_loadingText();
        QCOMPARE(editorOf(QuillmereTestAccess::textWindow(w))->toPlainText(), QStringLiteral("item"));
        QuillmereTestAccess::textWindow(w)->close();
    }

    w.slot_textButten();
    QCOMPARE(editorOf(QuillmereTestAccess::textWindow(w))->toPlainText(), nextOpening);
}

QTEST_MAIN(TestTextItem)
#include "tst_textitem.moc"
