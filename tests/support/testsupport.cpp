#include "support/testsupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace TestSupport {

void answerNextModal(const QString &buttonText, QStringList *seenTexts, int timeoutMs)
{
    auto *clock = new QElapsedTimer;
    clock->start();
    auto *timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [=] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal) {
            if (clock->elapsed() > timeoutMs) {
                timer->stop();
                timer->deleteLater();
                delete clock;
            }
            return;
        }
        const QList<QAbstractButton *> buttons = modal->findChildren<QAbstractButton *>();
        for (QAbstractButton *button : buttons) {
            if (button->text() == buttonText && button->isVisible()) {
                if (seenTexts)
                    *seenTexts = labelTexts(modal);
                timer->stop();
                timer->deleteLater();
                delete clock;
                button->click();
                return;
            }
        }
    });
    timer->start();
}

QStringList labelTexts(QWidget *widget)
{
    QStringList texts;
    const QList<QLabel *> labels = widget->findChildren<QLabel *>();
    for (QLabel *label : labels) {
        if (!label->text().isEmpty())
            texts << label->text();
    }
    texts.prepend(widget->windowTitle());
    return texts;
}

namespace {
QtMessageHandler g_previous = nullptr;
void failingHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    // The offscreen platform plugin reports this for every top-level window it cannot size.
    const bool platformNoise = message.startsWith(QLatin1String("This plugin does not support"));
    if ((type == QtWarningMsg || type == QtCriticalMsg) && !platformNoise) {
        if (g_previous)
            g_previous(type, context, message);
        QFAIL(qPrintable(QStringLiteral("Qt warning: ") + message));
        return;
    }
    if (g_previous)
        g_previous(type, context, message);
}
} // namespace

void failOnQtWarnings()
{
    g_previous = qInstallMessageHandler(failingHandler);
}

void answerNextFileDialog(const QStringList &files, FileDialogSeen *seen, const QString &nameFilter)
{
    auto *timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [=] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        timer->stop();
        timer->deleteLater();
        if (seen) {
            seen->seen = true;
            seen->title = dialog->windowTitle();
            seen->nameFilters = dialog->nameFilters();
            seen->selectedNameFilter = dialog->selectedNameFilter();
            seen->fileMode = dialog->fileMode();
            seen->acceptMode = dialog->acceptMode();
        }
        if (files.isEmpty()) {
            dialog->reject();
            return;
        }
        if (!nameFilter.isEmpty())
            dialog->selectNameFilter(nameFilter);
        auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(edit);
        if (files.size() == 1) {
            edit->setText(files.first());
        } else {
            // Several files are typed as quoted names in their common folder.
            dialog->setDirectory(QFileInfo(files.first()).absolutePath());
            QStringList quoted;
            for (const QString &file : files)
                quoted << QLatin1Char('"') + QFileInfo(file).fileName() + QLatin1Char('"');
            edit->setText(quoted.join(QLatin1Char(' ')));
        }
        QMetaObject::invokeMethod(dialog, "accept");
    });
    timer->start();
}

void answerNextFileDialogWithFile(const QString &path, FileDialogSeen *seen)
{
    answerNextFileDialog(path.isEmpty() ? QStringList() : QStringList{path}, seen);
}

} // namespace TestSupport
