#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

// The editor's dark message box: modal, a title, a message and one to three buttons.
// In a question the button that keeps things as they are is the default, so Enter never destroys
// work; Escape and the title bar's close button answer the same.
class CustomMegBox : public QDialog
{
    Q_OBJECT
public:
    // Non-zero when the operator chose yesText; 0 for noText or when the box was closed otherwise.
    static int questionMessageBox(QWidget *parent, QString title, QString text, QString yesText,
                                  QString noText);

    enum Choice
    {
        Cancelled = 0, // cancelText, Enter, Escape or the box closed otherwise
        Yes = 1,
        No = 2
    };
    // A question with three answers: yesText, noText and cancelText, in this order.
    static Choice choiceMessageBox(QWidget *parent, QString title, QString text, QString yesText,
                                   QString noText, QString cancelText);
    // Return after the operator has closed the box.
    static int informationMessageBox(QWidget *parent, QString title, QString text, QString button);
    static int waringMessageBox(QWidget *parent, QString title, QString text, QString button);

    enum Kind
    {
        Question,
        Information,
        Warning
    };

    // With a rejectText the box is a question whose reject button is the default. An otherText
    // adds a button between the two that ends the box with the result No.
    CustomMegBox(QWidget *parent, Kind kind, const QString &title, const QString &text,
                 const QString &acceptText, const QString &rejectText = QString(),
                 const QString &otherText = QString());

    QString text() const;
    QPushButton *acceptButton() const { return m_acceptButton; }
    QPushButton *rejectButton() const { return m_rejectButton; }
    QPushButton *otherButton() const { return m_otherButton; }

private:
    QLabel *m_textLabel = nullptr;
    QPushButton *m_acceptButton = nullptr;
    QPushButton *m_rejectButton = nullptr;
    QPushButton *m_otherButton = nullptr;
};
