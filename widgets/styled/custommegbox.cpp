#include "widgets/styled/custommegbox.h"

#include "widgets/styled/stylesheet.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {
QString iconColor(CustomMegBox::Kind kind)
{
    switch (kind) {
    case CustomMegBox::Question:
        return QStringLiteral("rgb(54,158,254)");
    case CustomMegBox::Information:
        return QStringLiteral("rgb(90,180,90)");
    case CustomMegBox::Warning:
        break;
    }
    return QStringLiteral("rgb(222,89,15)");
}

QString iconGlyph(CustomMegBox::Kind kind)
{
    switch (kind) {
    case CustomMegBox::Question:
        return QStringLiteral("?");
    case CustomMegBox::Information:
        return QStringLiteral("i");
    case CustomMegBox::Warning:
        break;
    }
    return QStringLiteral("!");
}
} // namespace

CustomMegBox::CustomMegBox(QWidget *parent, Kind kind, const QString &title, const QString &text,
                           const QString &acceptText, const QString &rejectText, const QString &otherText)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("CustomMegBox"));
    setWindowTitle(title);
    setModal(true);
    setAttribute(Qt::WA_StyledBackground, true);
    setStyleSheet(StyleSheet::load("messagebox"));
    setMinimumWidth(320);

    auto *icon = new QLabel(iconGlyph(kind), this);
    icon->setObjectName(QStringLiteral("megBoxIcon"));
    icon->setFixedSize(32, 32);
    icon->setAlignment(Qt::AlignCenter);
    icon->setStyleSheet(QStringLiteral("QLabel{background:%1;color:white;border-radius:16px;"
                                       "font-weight:bold;font-size:18px;}")
                            .arg(iconColor(kind)));

    m_textLabel = new QLabel(text, this);
    m_textLabel->setObjectName(QStringLiteral("megBoxText"));
    m_textLabel->setWordWrap(true);
    m_textLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *messageRow = new QHBoxLayout;
    messageRow->setSpacing(14);
    messageRow->addWidget(icon, 0, Qt::AlignTop);
    messageRow->addWidget(m_textLabel, 1);

    auto *buttonRow = new QHBoxLayout;
    buttonRow->setSpacing(12);
    buttonRow->addStretch(1);
    m_acceptButton = new QPushButton(acceptText, this);
    m_acceptButton->setObjectName(QStringLiteral("megBoxAccept"));
    connect(m_acceptButton, &QPushButton::clicked, this, &QDialog::accept);
    buttonRow->addWidget(m_acceptButton);
    if (!otherText.isNull()) {
        m_otherButton = new QPushButton(otherText, this);
        m_otherButton->setObjectName(QStringLiteral("megBoxOther"));
        connect(m_otherButton, &QPushButton::clicked, this, [this] { done(No); });
        buttonRow->addWidget(m_otherButton);
    }
    if (!rejectText.isNull()) {
        m_rejectButton = new QPushButton(rejectText, this);
        m_rejectButton->setObjectName(QStringLiteral("megBoxReject"));
        connect(m_rejectButton, &QPushButton::clicked, this, &QDialog::reject);
        buttonRow->addWidget(m_rejectButton);
    }
    // The default button also takes the keyboard focus when the box opens, so Enter and Space
    // both give the answer that keeps the operator's work.
    QPushButton *keep = m_rejectButton ? m_rejectButton : m_acceptButton;
    keep->setDefault(true);
    keep->setFocus();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 14);
    layout->setSpacing(18);
    layout->addLayout(messageRow);
    layout->addLayout(buttonRow);
}

QString CustomMegBox::text() const
{
    return m_textLabel->text();
}

int CustomMegBox::questionMessageBox(QWidget *parent, QString title, QString text, QString yesText,
                                     QString noText)
{
    CustomMegBox box(parent, Question, title, text, yesText, noText.isNull() ? QString("") : noText);
    return box.exec() == QDialog::Accepted ? 1 : 0;
}

CustomMegBox::Choice CustomMegBox::choiceMessageBox(QWidget *parent, QString title, QString text,
                                                    QString yesText, QString noText, QString cancelText)
{
    CustomMegBox box(parent, Question, title, text, yesText, cancelText.isNull() ? QString("") : cancelText,
                     noText.isNull() ? QString("") : noText);
    switch (box.exec()) {
    case QDialog::Accepted:
        return Yes;
    case No:
        return No;
    default:
        return Cancelled;
    }
}

int CustomMegBox::informationMessageBox(QWidget *parent, QString title, QString text, QString button)
{
    CustomMegBox box(parent, Information, title, text, button);
    box.exec();
    return 1;
}

int CustomMegBox::waringMessageBox(QWidget *parent, QString title, QString text, QString button)
{
    CustomMegBox box(parent, Warning, title, text, button);
    box.exec();
    return 1;
}
