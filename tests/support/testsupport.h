#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace TestSupport {

// Answers the next modal box by clicking the button with the given text, once it appears.
// The texts of the box's labels are collected in *seenTexts (if given) before the click.
void answerNextModal(const QString &buttonText, QStringList *seenTexts = nullptr, int timeoutMs = 5000);

// The visible texts of a widget's labels, in child order.
QStringList labelTexts(QWidget *widget);

// Makes every Qt warning fail the running test (but the headless platform plugin's notices of
// what it cannot do, such as "This plugin does not support raise()"). Call from initTestCase.
void failOnQtWarnings();

// What the answered file dialog showed.
struct FileDialogSeen
{
    bool seen = false;
    QString title;
    QStringList nameFilters;
    QString selectedNameFilter;
    int fileMode = -1;
    int acceptMode = -1;
};

// Answers the next (non-native) file dialog: picks nameFilter if given, types the files into the
// file name field and accepts; cancels when files is empty. What it showed goes to *seen.
void answerNextFileDialog(const QStringList &files, FileDialogSeen *seen = nullptr,
                          const QString &nameFilter = QString());
// One file, or cancel when path is empty.
void answerNextFileDialogWithFile(const QString &path, FileDialogSeen *seen = nullptr);

} // namespace TestSupport
