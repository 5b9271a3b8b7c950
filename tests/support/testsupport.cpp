#include "support/testsupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
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
    const bool platformNoise = message.contains(QLatin1String("does not support propagateSizeHints"));
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

} // namespace TestSupport
