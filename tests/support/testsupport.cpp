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

namespace {
// Polls for the active modal box; act() returns true once it has answered it. Gives up after
// timeoutMs without any modal box.
void pollModal(const std::function<bool(QWidget *modal)> &act, int timeoutMs)
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
        timer->stop();
        if (!act(modal)) {
            timer->start();
            return;
        }
        timer->deleteLater();
        delete clock;
    });
    timer->start();
}

QAbstractButton *visibleButton(QWidget *modal, const QString &buttonText)
{
    const QList<QAbstractButton *> buttons = modal->findChildren<QAbstractButton *>();
    for (QAbstractButton *button : buttons) {
        if (button->text() == buttonText && button->isVisible())
            return button;
    }
    return nullptr;
}
} // namespace

void answerNextModal(const QString &buttonText, QStringList *seenTexts, int timeoutMs)
{
    pollModal(
        [=](QWidget *modal) {
            QAbstractButton *button = visibleButton(modal, buttonText);
            if (!button)
                return false;
            if (seenTexts)
                *seenTexts = labelTexts(modal);
            button->click();
            return true;
        },
        timeoutMs);
}

void actOnNextModal(const std::function<void(QWidget *modal)> &action, QStringList *seenTexts, int timeoutMs)
{
    pollModal(
        [=](QWidget *modal) {
            if (seenTexts)
                *seenTexts = labelTexts(modal);
            action(modal);
            return true;
        },
        timeoutMs);
}

void pressKeyOnNextModal(int key, QStringList *seenTexts, int timeoutMs)
{
    actOnNextModal(
        [key](QWidget *modal) {
            QWidget *target = modal->focusWidget() ? modal->focusWidget() : modal;
            QTest::keyClick(target, Qt::Key(key));
        },
        seenTexts, timeoutMs);
}

void replyToNextModal(const QString &reply, QStringList *seenTexts)
{
    if (reply == QLatin1String("Enter key"))
        pressKeyOnNextModal(Qt::Key_Return, seenTexts);
    else if (reply == QLatin1String("Escape key"))
        pressKeyOnNextModal(Qt::Key_Escape, seenTexts);
    else if (reply == QLatin1String("close box"))
        actOnNextModal([](QWidget *modal) { modal->close(); }, seenTexts);
    else
        answerNextModal(reply, seenTexts);
}

ModalCounter::ModalCounter(const QString &buttonText)
{
    m_timer.setInterval(20);
    QObject::connect(&m_timer, &QTimer::timeout, [this, buttonText] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (QAbstractButton *button = visibleButton(modal, buttonText)) {
            ++m_count;
            button->click();
        }
    });
    m_timer.start();
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
