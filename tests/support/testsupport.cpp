#include "support/testsupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace TestSupport {

namespace {
// Long enough for a loaded machine; a dialog that never comes fails the test instead of hanging it.
constexpr int kFileDialogTimeoutMs = 10000;

// Polls for the active modal box; act() returns true once it has answered it. When nothing has
// been answered after timeoutMs the running test fails (an answerer that polled forever would hang
// the program instead), naming the test that waited and what was on screen.
void pollModal(const std::function<bool(QWidget *modal)> &act, int timeoutMs, const QString &waitingFor)
{
    const QDeadlineTimer deadline(timeoutMs);
    const QString waiter = QString::fromLatin1(QTest::currentTestFunction());
    auto *timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [=] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal) {
            timer->stop();
            const bool answered = act(modal);
            if (answered) {
                timer->deleteLater();
                return;
            }
            timer->start();
        }
        if (!deadline.hasExpired())
            return;
        timer->stop();
        timer->deleteLater();
        const QString shown =
            modal ? labelTexts(modal).join(QLatin1String(" | ")) : QStringLiteral("no modal box");
        QTest::qFail(qPrintable(QStringLiteral("%1 (waited in %2) not done within %3 ms; on screen: %4")
                                    .arg(waitingFor, waiter)
                                    .arg(timeoutMs)
                                    .arg(shown)),
                     __FILE__, __LINE__);
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
        timeoutMs, QStringLiteral("Clicking \"%1\" on a modal box").arg(buttonText));
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
        timeoutMs, QStringLiteral("Answering a modal box"));
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

void answerNextFileDialog(const QStringList &files, FileDialogSeen *seen, const QString &nameFilter)
{
    pollModal(
        [=](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            if (!dialog) {
                // The export tells of items off the output screen before it asks for the file.
                if (modal->objectName() == QLatin1String("offScreenNotice")) {
                    if (seen)
                        seen->offScreenNotice = labelTexts(modal);
                    if (auto *box = qobject_cast<QDialog *>(modal))
                        box->accept();
                }
                return false;
            }
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
                return true;
            }
            if (!nameFilter.isEmpty())
                dialog->selectNameFilter(nameFilter);
            auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            if (!edit) {
                QTest::qFail("The file dialog has no file name field", __FILE__, __LINE__);
                dialog->reject();
                return true;
            }
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
            return true;
        },
        kFileDialogTimeoutMs, QStringLiteral("Answering a file dialog"));
}

void chooseFromNextMenu(const QString &text, QStringList *entries)
{
    const QDeadlineTimer deadline(kFileDialogTimeoutMs);
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, text, entries, deadline] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu) {
            if (deadline.hasExpired()) {
                timer->stop();
                timer->deleteLater();
                QTest::qFail(qPrintable(QStringLiteral("No context menu came to choose \"%1\"").arg(text)),
                             __FILE__, __LINE__);
            }
            return;
        }
        timer->stop();
        timer->deleteLater();
        const QList<QAction *> actions = menu->actions();
        if (entries) {
            for (const QAction *action : actions) {
                if (!action->isSeparator())
                    entries->append(action->text());
            }
        }
        for (QAction *action : actions) {
            if (action->text() == text) {
                menu->setActiveAction(action);
                QTest::keyClick(menu, Qt::Key_Return);
                return;
            }
        }
        menu->close();
    });
    timer->start();
}

void answerNextFileDialogWithFile(const QString &path, FileDialogSeen *seen)
{
    answerNextFileDialog(path.isEmpty() ? QStringList() : QStringList{path}, seen);
}

} // namespace TestSupport
