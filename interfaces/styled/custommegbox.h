#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

// The editor's dark message box: modal, a title, a message and one or two buttons.
class CustomMegBox : public QDialog
{
    Q_OBJECT
public:
    // Non-zero when the operator chose yesText; 0 for noText or when the box was closed otherwise.
    static int questionMessageBox(QWidget *parent, QString title, QString text, QString yesText,
                                  QString noText);
    // Return after the operator has closed the box.
    static int informationMessageBox(QWidget *parent, QString title, QString text, QString button);
    static int waringMessageBox(QWidget *parent, QString title, QString text, QString button);

    enum Kind
    {
        Question,
        Information,
        Warning
    };

    CustomMegBox(QWidget *parent, Kind kind, const QString &title, const QString &text,
                 const QString &acceptText, const QString &rejectText = QString());

    QString text() const;
    QPushButton *acceptButton() const { return m_acceptButton; }
    QPushButton *rejectButton() const { return m_rejectButton; }

private:
    QLabel *m_textLabel = nullptr;
    QPushButton *m_acceptButton = nullptr;
    QPushButton *m_rejectButton = nullptr;
};
