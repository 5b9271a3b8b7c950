// Screenshots of every window of the editor, for people to look at: the main window, the text
// window, the cut panel and each kind of message box, brought up the way the operator brings them
// up. Not a test: it checks nothing and is not run by CTest. scripts/screenshots.sh runs it once at
// each scale (QT_SCALE_FACTOR), so the same shots show what a high-density screen makes of them.
#include "core/pixels/highdpisetup.h"
#include "core/text/languagechoice.h"
#include "core/text/textrenderer.h"
#include "core/text/translationinstaller.h"
#include "imagecut/osdimagecutdll.h"
#include "mainwindow/quillmere.h"
#include "osditem/osditem.h"
#include "shots/shotsupport.h"
#include "support/quillmereaccess.h"
#include "support/windowparts.h"
#include "textexport/exporttextimage.h"
#include "widgets/previewview.h"
#include "widgets/styled/custommegbox.h"
#include "widgets/styled/spinboxex.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <functional>

using A = QuillmereTestAccess;
using Shots::save;
using Shots::settle;

namespace {

QImage makePicture(const QSize &size, const QColor &from, const QColor &to)
{
    QImage image = Shots::gradientPicture(size, from, to);
    // A one-pixel checker in a corner: blur or a stretched pixel shows at once.
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x)
            image.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    }
    return image;
}

// The application's texts in the chosen language. The windows are written in Chinese, so "zh" needs
// nothing; another language is installed here with the application's own translations, where this
// build has them, and otherwise the shots say so and stay in Chinese.
void installLanguage(QApplication &app, const QString &language)
{
    bool known = false;
    const LanguageChoice::Language chosen = LanguageChoice::fromCode(language, &known);
    if (language.isEmpty() || !known) {
        if (!language.isEmpty())
            std::fprintf(stderr, "windowshots: unknown language \"%s\"; the windows stay in Chinese\n",
                         qPrintable(language));
        return;
    }
    if (!TranslationInstaller::install(&app, chosen))
        std::fprintf(stderr, "windowshots: the translation for \"%s\" could not be loaded\n",
                     qPrintable(language));
}

// Photographs the message boxes as they come, in order, and answers each with Escape's answer (the
// one that changes nothing); a file dialog gets the next file, or is cancelled.
class BoxShooter
{
public:
    BoxShooter(const QDir &out) : m_out(out)
    {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
    }

    void expectBox(const QString &name) { m_boxNames.append(name); }
    void expectFileDialog(const QString &file) { m_files.append(file); }
    bool ok() const { return m_ok; }

    // Runs action, which brings up modal boxes, and reports whether all expected ones came.
    bool run(const std::function<void()> &action)
    {
        action();
        settle();
        if (!m_boxNames.isEmpty() || !m_files.isEmpty()) {
            std::fprintf(stderr, "windowshots: %d box(es) and %d file dialog(s) never came\n",
                         int(m_boxNames.size()), int(m_files.size()));
            m_boxNames.clear();
            m_files.clear();
            m_ok = false;
        }
        return m_ok;
    }

private:
    static constexpr const char *kAnswered = "windowshotsAnswered";

    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        // Boxes live on the stack, so the next may have the last one's address: each is marked.
        if (!modal || modal->property(kAnswered).toBool())
            return;
        // Waiting and saving run the event loop, and with it this poll again: the box is taken first.
        modal->setProperty(kAnswered, true);
        if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            const QString file = m_files.isEmpty() ? QString() : m_files.takeFirst();
            if (file.isEmpty()) {
                dialog->reject();
                return;
            }
            dialog->selectFile(file);
            static_cast<QDialog *>(dialog)->accept();
            return;
        }
        auto *box = qobject_cast<CustomMegBox *>(modal);
        if (!box) {
            std::fprintf(stderr, "windowshots: an unexpected window: %s\n", qPrintable(modal->windowTitle()));
            m_ok = false;
            modal->close();
            return;
        }
        if (m_boxNames.isEmpty()) {
            std::fprintf(stderr, "windowshots: an unexpected box: %s\n", qPrintable(box->text()));
            m_ok = false;
        } else if (QTest::qWaitForWindowExposed(box)) {
            m_ok &= save(box, m_out, m_boxNames.takeFirst());
        }
        box->reject();
    }

    QDir m_out;
    QTimer m_timer;
    QStringList m_boxNames;
    QStringList m_files;
    bool m_ok = true;
};

} // namespace

int main(int argc, char *argv[])
{
    HighDpiSetup::prepare();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("windowshots"));
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Writes screenshots of every window into a folder."));
    parser.addHelpOption();
    const QCommandLineOption langOption(QStringLiteral("lang"), QStringLiteral("The language: zh or en."),
                                        QStringLiteral("zh|en"));
    parser.addOption(Shots::outOption());
    parser.addOption(langOption);
    parser.process(app);
    QDir out;
    if (!Shots::outputFolder(parser, &out))
        return 1;
    installLanguage(app, parser.value(langOption));
    bool ok = true;

    QTemporaryDir scratch;
    Quillmere w;
    if (!Shots::showMainWindow(app, w, scratch.path(), false))
        return 1;

    // A picture in the first tab, a text in the second; the picture's tab is current, at 100 %.
    OSDItem *picture =
        A::addPictureItem(w, makePicture(QSize(480, 270), QColor(30, 90, 200), QColor(240, 120, 60)));
    if (!picture) {
        std::fprintf(stderr, "windowshots: the picture found no tab\n");
        return 1;
    }
    TestSupport::propertyPanel(w)->xSpin()->setValue(40);
    TestSupport::propertyPanel(w)->ySpin()->setValue(30);
    w.on_notifyAddTable(0);
    settle(0);
    const QFont font =
        TextRenderer::makeFont(QStringLiteral("Noto Sans CJK SC"), QStringLiteral("36"), true, false, false);
    const QString text = QStringLiteral("Live from Hall 3 · 三号厅直播");
    const TextRenderer::Result rendered = TextRenderer::render(text, font, Qt::white, QSize(1200, 300));
    QImage textImage = rendered.image;
    w.on_exportTextImage(&textImage, Qt::white, font, rendered.text);
    TestSupport::tabList(w)->setCurrentIndex(0);
    settle();
    if (auto *view = qobject_cast<PreviewView *>(A::currentView(w))) {
        view->actualSize();
        view->centerOn(200, 150);
    }
    ok &= save(&w, out, QStringLiteral("main-window.png"));

    // The text window, as the "文字" button opens it, with a text in it.
    w.slot_textButten();
    ExportTextImage *textWindow = A::textWindow(w);
    if (textWindow && QTest::qWaitForWindowExposed(textWindow)) {
        textWindow->loadText(Qt::white, font, text);
        ok &= save(textWindow, out, QStringLiteral("text-window.png"));
        textWindow->close();
    } else {
        std::fprintf(stderr, "windowshots: the text window did not open\n");
        ok = false;
    }

    // The cut panel, as the picture's "截取" entry opens it.
    picture->slot_osdCutout();
    settle();
    OSDImageCutDLL *cutPanel = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (auto *panel = qobject_cast<OSDImageCutDLL *>(top); panel && panel->isVisible())
            cutPanel = panel;
    }
    if (cutPanel && QTest::qWaitForWindowExposed(cutPanel)) {
        ok &= save(cutPanel, out, QStringLiteral("cut-panel.png"));
        cutPanel->close();
    } else {
        std::fprintf(stderr, "windowshots: the cut panel did not open\n");
        ok = false;
    }

    // The message boxes, one of each kind, from what brings them up.
    BoxShooter boxes(out);
    boxes.expectBox(QStringLiteral("box-question-delete-tab.png"));
    ok &= boxes.run([&w] { w.on_removeTable(1); });

    boxes.expectBox(QStringLiteral("box-question-unexported-changes.png"));
    ok &= boxes.run([&w] { w.reject(); });

    const QString broken = QDir(scratch.path()).filePath(QStringLiteral("broken.pic"));
    QFile brokenFile(broken);
    if (brokenFile.open(QIODevice::WriteOnly))
        brokenFile.write("not an OSD file");
    brokenFile.close();
    boxes.expectFileDialog(broken);
    boxes.expectBox(QStringLiteral("box-warning-import-error.png"));
    ok &= boxes.run([&w] { w.slot_inputButten(); });

    // The picture moved partly off the screen: the export tells which items the device cuts.
    TestSupport::propertyPanel(w)->xSpin()->setValue(1700);
    boxes.expectBox(QStringLiteral("box-information-off-screen.png"));
    boxes.expectFileDialog(QString());
    ok &= boxes.run([&w] { w.slot_outputButten(); });

    while (TestSupport::tabList(w)->count() < 50)
        w.on_notifyAddTable(0);
    boxes.expectBox(QStringLiteral("box-information-tab-limit.png"));
    ok &= boxes.run([&w] { w.on_notifyAddTable(0); });

    // Nothing here is to be kept; hiding asks nothing.
    w.hide();
    return ok ? 0 : 1;
}
