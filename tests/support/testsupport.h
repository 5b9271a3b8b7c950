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

// Makes every Qt warning fail the running test. Call from initTestCase.
void failOnQtWarnings();

} // namespace TestSupport
