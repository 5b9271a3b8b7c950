#include "widgets/customtoolbutton.h"

#include <QAbstractButton>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpacerItem>
#include <QVBoxLayout>

CustomToolButton::CustomToolButton(QWidget *parent) : QFrame(parent)
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("CustomToolButton"));
    resize(86, 92);

    auto *verticalLayout = new QVBoxLayout(this);
    verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
    auto *horizontalLayout = new QHBoxLayout;
    horizontalLayout->setObjectName(QStringLiteral("horizontalLayout"));
    horizontalLayout->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    m_pushButton = new QPushButton(this);
    m_pushButton->setObjectName(QStringLiteral("pushButton"));
    m_pushButton->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_pushButton->setMinimumSize(30, 30);
    m_pushButton->setMaximumSize(30, 30);
    m_pushButton->setAutoRepeatInterval(300);
    horizontalLayout->addWidget(m_pushButton);
    horizontalLayout->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    verticalLayout->addLayout(horizontalLayout);

    auto *horizontalLayout2 = new QHBoxLayout;
    horizontalLayout2->setObjectName(QStringLiteral("horizontalLayout_2"));
    horizontalLayout2->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("label"));
    horizontalLayout2->addWidget(m_label);
    horizontalLayout2->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    verticalLayout->addLayout(horizontalLayout2);

    if (parent)
        resize(parent->size());
    // The picture and the caption are centred by spacers: the caption may use the whole width.
    QMargins margins = verticalLayout->contentsMargins();
    margins.setLeft(0);
    margins.setRight(0);
    verticalLayout->setContentsMargins(margins);
    m_label->setAlignment(Qt::AlignCenter);
    m_pushButton->installEventFilter(this);
    // A toolbar button does its work on a click and keeps no keyboard focus: Return or Space after
    // a dialog it opened would open that dialog again (in a dialog window a focused push button is
    // also its default one).
    m_pushButton->setFocusPolicy(Qt::NoFocus);
    m_pushButton->setAutoDefault(false);
    if (auto *host = qobject_cast<QPushButton *>(parent)) {
        host->setFocusPolicy(Qt::NoFocus);
        host->setAutoDefault(false);
    }

    connect(m_pushButton, &QPushButton::clicked, this, &CustomToolButton::clicked);
    connect(m_pushButton, &QPushButton::pressed, this, &CustomToolButton::pressed);
    connect(m_pushButton, &QPushButton::released, this, &CustomToolButton::released);
    if (auto *button = qobject_cast<QAbstractButton *>(parent)) {
        connect(this, &CustomToolButton::clicked, button, &QAbstractButton::clicked);
        connect(this, &CustomToolButton::pressed, button, &QAbstractButton::pressed);
        connect(this, &CustomToolButton::released, button, &QAbstractButton::released);
    }
}

void CustomToolButton::setImageAndText(QString picture, QString caption)
{
    m_picture = std::move(picture);
    m_caption = std::move(caption);
    restyle();
}

void CustomToolButton::fitCaption()
{
    // Below this a caption is no longer read at a glance; it is elided instead.
    constexpr qreal kSmallestPoints = 7.0;
    QFont font = this->font();
    QFontMetrics metrics(font);
    const int room = width();
    if (metrics.horizontalAdvance(m_caption) > room && font.pointSizeF() > kSmallestPoints) {
        while (metrics.horizontalAdvance(m_caption) > room && font.pointSizeF() > kSmallestPoints) {
            font.setPointSizeF(qMax(kSmallestPoints, font.pointSizeF() - 0.5));
            metrics = QFontMetrics(font);
        }
        m_label->setFont(font);
    }
    m_label->setText(metrics.elidedText(m_caption, Qt::ElideRight, room));
}

void CustomToolButton::restyle()
{
    fitCaption();
    QString colour;
    switch (m_state) {
    case Hovered:
        colour = QStringLiteral("rgb(86,86,86);");
        break;
    case Pressed:
        colour = QStringLiteral("rgb(48,48,48);");
        break;
    default:
        colour = QStringLiteral("rgb(69,69,69);");
        break;
    }
    m_pushButton->setStyleSheet(QStringLiteral("QPushButton{border-image: url(") + m_picture +
                                QStringLiteral(");background-color:") + colour + QStringLiteral("}"));
    setStyleSheet(QStringLiteral("QFrame#CustomToolButton{background-color:") + colour +
                  QStringLiteral("border:none;}QLabel{color:rgb(220,220,220);border:none;background-color:") +
                  colour + QStringLiteral("}"));
    m_label->setAlignment(Qt::AlignCenter);
}

void CustomToolButton::setState(VisualState state)
{
    m_state = state;
    restyle();
}

void CustomToolButton::enterEvent(QEvent *event)
{
    setState(Hovered);
    QFrame::enterEvent(event);
}

void CustomToolButton::leaveEvent(QEvent *event)
{
    setState(Normal);
    QFrame::leaveEvent(event);
}

void CustomToolButton::mousePressEvent(QMouseEvent *event)
{
    // Only the left button acts, as on any push button.
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    m_pressed = true;
    setState(Pressed);
    emit pressed();
}

void CustomToolButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    handleRelease();
}

void CustomToolButton::handleRelease()
{
    setState(Hovered);
    if (m_pressed) {
        m_pressed = false;
        emit released();
        emit clicked(false);
    } else {
        emit released();
    }
}

bool CustomToolButton::eventFilter(QObject *watched, QEvent *event)
{
    const bool leftButton =
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease) &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton;
    if (watched == m_pushButton && leftButton) {
        if (event->type() == QEvent::MouseButtonPress) {
            m_pressed = true;
            setState(Pressed);
            emit pressed();
        } else if (event->type() == QEvent::MouseButtonRelease) {
            m_pressed = false;
            handleRelease();
        }
    }
    return QFrame::eventFilter(watched, event);
}
