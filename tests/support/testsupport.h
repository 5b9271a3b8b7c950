#pragma once

#include "support/core/warnings.h"

#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>

class QWidget;

namespace TestSupport {

// Answers the next modal box by clicking the button with the given text, once it appears.
// The texts of the box's labels are collected in *seenTexts (if given) before the click.
void answerNextModal(const QString &buttonText, QStringList *seenTexts = nullptr, int timeoutMs = 5000);

// Runs action on the next modal box once it appears (its texts go to *seenTexts first).
void actOnNextModal(const std::function<void(QWidget *modal)> &action, QStringList *seenTexts = nullptr,
                    int timeoutMs = 5000);

// Presses key on the next modal box, on the widget that holds its keyboard focus, as the operator
// would.
void pressKeyOnNextModal(int key, QStringList *seenTexts = nullptr, int timeoutMs = 5000);

// Answers the next modal box as a data row says: "Enter key", "Escape key", "close box" (its title
// bar's close button) or the text of the button to click.
void replyToNextModal(const QString &reply, QStringList *seenTexts = nullptr);

// While it lives, answers every modal box by clicking buttonText and counts them: a box that should
// not come fails the test instead of blocking it.
class ModalCounter
{
public:
    explicit ModalCounter(const QString &buttonText);
    int count() const { return m_count; }

private:
    QTimer m_timer;
    int m_count = 0;
};

// The visible texts of a widget's labels, in child order.
QStringList labelTexts(QWidget *widget);

// Chooses the entry with the given text of the next context menu, once the menu is up (closes the
// menu when it has no such entry). The texts of its entries go to *entries.
void chooseFromNextMenu(const QString &text, QStringList *entries = nullptr);

// What the answered file dialog showed.
struct FileDialogSeen
{
    bool seen = false;
    QString title;
    QStringList nameFilters;
    QString selectedNameFilter;
    int fileMode = -1;
    int acceptMode = -1;
    // The texts of the export's notice about items off the output screen, answered on the way to
    // the dialog; empty when none came.
    QStringList offScreenNotice;
};

// Answers the next (non-native) file dialog: picks nameFilter if given, types the files into the
// file name field and accepts; cancels when files is empty. What it showed goes to *seen.
void answerNextFileDialog(const QStringList &files, FileDialogSeen *seen = nullptr,
                          const QString &nameFilter = QString());
// One file, or cancel when path is empty.
void answerNextFileDialogWithFile(const QString &path, FileDialogSeen *seen = nullptr);

} // namespace TestSupport
