#include "widgets/styled/closabletabbar.h"

#include <QCoreApplication>
#include <QHelpEvent>
#include <QHoverEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionTab>
#include <QToolButton>
#include <QToolTip>
#include <QWheelEvent>

namespace {

// Light on the bar's rgb(56, 56, 56): about 11:1, and 4.8:1 while disabled.
const QColor kArrowColor(235, 235, 235);
const QColor kArrowDisabledColor(165, 165, 165);
const QColor kScrollButtonBackground(56, 56, 56);
const QColor kScrollButtonHover(86, 86, 86);
const QColor kScrollButtonDown(30, 30, 30);
constexpr int kArrowSize = 16;

// A chevron filling most of the square box.
void paintChevron(QPainter &painter, const QRectF &box, Qt::ArrowType direction, const QColor &color)
{
    const qreal s = box.width();
    const QPointF c = box.center();
    QPolygonF chevron;
    switch (direction) {
    case Qt::LeftArrow:
        chevron << QPointF(c.x() + s * 0.2, c.y() - s * 0.4) << QPointF(c.x() - s * 0.2, c.y())
                << QPointF(c.x() + s * 0.2, c.y() + s * 0.4);
        break;
    case Qt::RightArrow:
        chevron << QPointF(c.x() - s * 0.2, c.y() - s * 0.4) << QPointF(c.x() + s * 0.2, c.y())
                << QPointF(c.x() - s * 0.2, c.y() + s * 0.4);
        break;
    case Qt::UpArrow:
        chevron << QPointF(c.x() - s * 0.4, c.y() + s * 0.2) << QPointF(c.x(), c.y() - s * 0.2)
                << QPointF(c.x() + s * 0.4, c.y() + s * 0.2);
        break;
    default:
        chevron << QPointF(c.x() - s * 0.4, c.y() - s * 0.2) << QPointF(c.x(), c.y() + s * 0.2)
                << QPointF(c.x() + s * 0.4, c.y() - s * 0.2);
        break;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(color, qMax<qreal>(2, s / 8), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(chevron);
    painter.restore();
}

} // namespace

ClosableTabBar::ClosableTabBar(QWidget *parent) : QTabBar(parent), m_ruleAnchor(new QWidget(this))
{
    m_ruleAnchor->setObjectName(QStringLiteral("closeControlRules"));
    m_ruleAnchor->hide();
    // Hover events tell where the pointer is, for the close control's hover image.
    setAttribute(Qt::WA_Hover);
    // Style sheet arrows come out as a few dark pixels; the buttons are painted here instead.
    for (const bool left : {true, false}) {
        if (QToolButton *button = scrollButton(left))
            button->installEventFilter(this);
    }
}

QIcon ClosableTabBar::arrowIcon(Qt::ArrowType direction)
{
    QIcon icon;
    for (const qreal ratio : {1.0, 2.0}) {
        for (const bool enabled : {true, false}) {
            QPixmap pixmap(QSize(kArrowSize, kArrowSize) * ratio);
            pixmap.setDevicePixelRatio(ratio);
            pixmap.fill(Qt::transparent);
            QPainter painter(&pixmap);
            paintChevron(painter, QRectF(0, 0, kArrowSize, kArrowSize), direction,
                         enabled ? kArrowColor : kArrowDisabledColor);
            painter.end();
            icon.addPixmap(pixmap, enabled ? QIcon::Normal : QIcon::Disabled);
        }
    }
    return icon;
}

QToolButton *ClosableTabBar::scrollButton(bool left) const
{
    return findChild<QToolButton *>(left ? QStringLiteral("ScrollLeftButton")
                                         : QStringLiteral("ScrollRightButton"),
                                    Qt::FindDirectChildrenOnly);
}

void ClosableTabBar::paintScrollButton(QToolButton *button)
{
    QPainter painter(button);
    const QColor background = button->isDown()                              ? kScrollButtonDown
                              : button->isEnabled() && button->underMouse() ? kScrollButtonHover
                                                                            : kScrollButtonBackground;
    painter.fillRect(button->rect(), background);
    const bool vertical = shape() == RoundedWest || shape() == RoundedEast || shape() == TriangularWest ||
                          shape() == TriangularEast;
    const bool left = button == scrollButton(true);
    const bool reversed = !vertical && layoutDirection() == Qt::RightToLeft;
    const Qt::ArrowType direction = vertical             ? (left ? Qt::UpArrow : Qt::DownArrow)
                                    : (left != reversed) ? Qt::LeftArrow
                                                         : Qt::RightArrow;
    const qreal side = qMin<qreal>(kArrowSize, qMin(button->width(), button->height()));
    QRectF box(0, 0, side, side);
    box.moveCenter(QRectF(button->rect()).center());
    paintChevron(painter, box, direction, button->isEnabled() ? kArrowColor : kArrowDisabledColor);
}

bool ClosableTabBar::eventFilter(QObject *watched, QEvent *event)
{
    for (const bool left : {true, false}) {
        QToolButton *button = scrollButton(left);
        if (watched != button)
            continue;
        if (event->type() == QEvent::Paint) {
            paintScrollButton(button);
            return true;
        }
        // The hover shade follows the pointer.
        if (event->type() == QEvent::Enter || event->type() == QEvent::Leave)
            button->update();
    }
    return QTabBar::eventFilter(watched, event);
}

void ClosableTabBar::wheelEvent(QWheelEvent *event)
{
    // The wheel moves the row of tabs, one tab a notch, as the arrows do; it leaves the current tab.
    event->accept();
    QToolButton *left = scrollButton(true);
    QToolButton *right = scrollButton(false);
    if (!left || !right || left->isHidden()) {
        m_wheelRest = 0;
        return;
    }
    const QPoint delta = event->angleDelta();
    m_wheelRest += qAbs(delta.y()) >= qAbs(delta.x()) ? delta.y() : delta.x();
    for (; m_wheelRest >= 120; m_wheelRest -= 120)
        left->click();
    for (; m_wheelRest <= -120; m_wheelRest += 120)
        right->click();
}

void ClosableTabBar::setCloseControls(bool on)
{
    if (m_closeControls == on)
        return;
    m_closeControls = on;
    forgetPress();
    // Qt measures the tabs again only when one of them changes; an unchanged text will do.
    if (count() > 0)
        setTabText(0, tabText(0));
    update();
}

bool ClosableTabBar::drawsTabs() const
{
    const bool horizontal = shape() == RoundedNorth || shape() == RoundedSouth ||
                            shape() == TriangularNorth || shape() == TriangularSouth;
    return m_closeControls && horizontal && !isMovable() && !drawBase();
}

QSize ClosableTabBar::closeControlSize() const
{
    // What Qt's close button takes for its size.
    return {style()->pixelMetric(QStyle::PM_TabCloseIndicatorWidth, nullptr, m_ruleAnchor),
            style()->pixelMetric(QStyle::PM_TabCloseIndicatorHeight, nullptr, m_ruleAnchor)};
}

QStyleOptionTab ClosableTabBar::tabOption(int index) const
{
    QStyleOptionTab option;
    initStyleOption(&option, index);
    const auto side =
        ButtonPosition(style()->styleHint(QStyle::SH_TabBar_CloseButtonPosition, nullptr, this));
    (side == LeftSide ? option.leftButtonSize : option.rightButtonSize) = closeControlSize();
    return option;
}

// QTabBar's own measure of a horizontal tab with a button: the text, the button and 4 pixels
// between them, given to the style.
QSize ClosableTabBar::tabSizeHint(int index) const
{
    if (!drawsTabs() || index < 0 || index >= count())
        return QTabBar::tabSizeHint(index);
    const QStyleOptionTab option = tabOption(index);
    const QSize iconSize = option.icon.isNull() ? QSize(0, 0) : option.iconSize;
    const int hframe = style()->pixelMetric(QStyle::PM_TabBarTabHSpace, &option, this);
    const int vframe = style()->pixelMetric(QStyle::PM_TabBarTabVSpace, &option, this);
    const QFontMetrics metrics = fontMetrics();
    int padding = option.icon.isNull() ? 0 : 4;
    int buttonsWidth = 0;
    int buttonHeight = 0;
    for (const QSize &button : {option.leftButtonSize, option.rightButtonSize}) {
        if (button.isEmpty())
            continue;
        padding += 4;
        buttonsWidth += button.width();
        buttonHeight = qMax(buttonHeight, button.height());
    }
    const int textWidth = metrics.size(Qt::TextShowMnemonic, tabText(index)).width();
    const QSize contents(textWidth + iconSize.width() + hframe + buttonsWidth + padding,
                         qMax(buttonHeight, qMax(metrics.height(), iconSize.height())) + vframe);
    return style()->sizeFromContents(QStyle::CT_TabBarTab, &option, contents, this);
}

QRect ClosableTabBar::closeControlRect(int index) const
{
    if (!m_closeControls || index < 0 || index >= count() || !isTabVisible(index))
        return QRect();
    // As Qt places a tab's button.
    const QStyleOptionTab option = tabOption(index);
    const bool left = !option.leftButtonSize.isEmpty();
    const QRect place = style()->subElementRect(
        left ? QStyle::SE_TabBarTabLeftButton : QStyle::SE_TabBarTabRightButton, &option, this);
    return QRect(place.topLeft(), left ? option.leftButtonSize : option.rightButtonSize);
}

int ClosableTabBar::closeControlAt(const QPoint &pos) const
{
    // The scroll buttons lie above the tabs, as they lie above Qt's close buttons.
    const QWidget *child = childAt(pos);
    if (child && child != m_ruleAnchor)
        return -1;
    // A tab's control lies inside the tab.
    const int index = tabAt(pos);
    return closeControlRect(index).contains(pos) ? index : -1;
}

// The part of the bar the tabs show in, between the scroll buttons and the tear indicators, as
// QTabBar finds it to tell which tabs are cut.
QRect ClosableTabBar::scrollArea() const
{
    const QToolButton *scrollLeft = scrollButton(true);
    if (!scrollLeft || scrollLeft->isHidden() || count() == 0)
        return rect();
    QStyleOptionTab option;
    initStyleOption(&option, currentIndex());
    option.rect = rect();
    auto place = [&](QStyle::SubElement element) {
        return QStyle::visualRect(layoutDirection(), rect(), style()->subElementRect(element, &option, this));
    };
    const QRect buttonLeft = place(QStyle::SE_TabBarScrollLeftButton);
    const QRect buttonRight = place(QStyle::SE_TabBarScrollRightButton);
    const QRect tearRight = place(QStyle::SE_TabBarTearIndicatorRight);
    const bool leftOnLeft = buttonLeft.x() < width() / 2;
    const bool rightOnLeft = buttonRight.x() < width() / 2;
    int leftEdge = 0;
    int rightEdge = width();
    if (leftOnLeft && rightOnLeft) {
        leftEdge = buttonRight.right() + 1;
    } else if (!leftOnLeft && !rightOnLeft) {
        rightEdge = buttonLeft.left();
    } else {
        leftEdge = buttonLeft.right() + 1;
        rightEdge = buttonRight.left();
    }
    // Measured for the first tab: only a tear on the right can narrow the area.
    const int lastTabEnd = tabRect(count() - 1).right() + 1;
    if (count() > 1 && rightEdge != lastTabEnd && !tearRight.isNull())
        rightEdge = tearRight.left();
    return QRect(leftEdge, 0, rightEdge - leftEdge, height());
}

// QTabBar's painting of the tabs, with the room for the close control in each tab's option.
void ClosableTabBar::paintTabs(QPainter &painter)
{
    const int selected = currentIndex();
    const QRect area = scrollArea();
    int cutLeft = -1;
    int cutRight = -1;
    QStyleOptionTab cutTabLeft;
    QStyleOptionTab cutTabRight;
    for (int i = 0; i < count(); ++i) {
        if (!isTabVisible(i))
            continue;
        QStyleOptionTab option = tabOption(i);
        if (!(option.state & QStyle::State_Enabled))
            option.palette.setCurrentColorGroup(QPalette::Disabled);
        if (option.rect.left() < area.left()) {
            cutLeft = i;
            cutTabLeft = option;
        } else if (option.rect.right() > area.right()) {
            cutRight = i;
            cutTabRight = option;
        }
        if (option.rect.right() < 0 || option.rect.left() > width() || i == selected)
            continue;
        style()->drawControl(QStyle::CE_TabBarTab, &option, &painter, this);
    }
    // The current tab last, on top.
    if (selected >= 0) {
        const QStyleOptionTab option = tabOption(selected);
        style()->drawControl(QStyle::CE_TabBarTab, &option, &painter, this);
    }
    const auto *scrollLeft = findChild<QToolButton *>(QStringLiteral("ScrollLeftButton"));
    const auto *scrollRight = findChild<QToolButton *>(QStringLiteral("ScrollRightButton"));
    if (scrollLeft && scrollLeft->isVisible() && cutLeft >= 0) {
        cutTabLeft.rect = rect();
        cutTabLeft.rect = style()->subElementRect(QStyle::SE_TabBarTearIndicatorLeft, &cutTabLeft, this);
        style()->drawPrimitive(QStyle::PE_IndicatorTabTearLeft, &cutTabLeft, &painter, this);
    }
    if (scrollRight && scrollRight->isVisible() && cutRight >= 0) {
        cutTabRight.rect = rect();
        cutTabRight.rect = style()->subElementRect(QStyle::SE_TabBarTearIndicatorRight, &cutTabRight, this);
        style()->drawPrimitive(QStyle::PE_IndicatorTabTearRight, &cutTabRight, &painter, this);
    }
}

void ClosableTabBar::paintCloseControls(QPainter &painter, const QRect &exposed)
{
    const int hovered = m_hovering && m_pressed < 0 ? closeControlAt(m_hoverPos) : -1;
    for (int i = 0; i < count(); ++i) {
        if (!exposed.intersects(tabRect(i)))
            continue;
        const QRect place = closeControlRect(i);
        if (place.isEmpty() || !exposed.intersects(place))
            continue;
        // The state Qt's close button gives its option.
        QStyleOption option;
        option.initFrom(this);
        option.state &=
            ~(QStyle::State_HasFocus | QStyle::State_MouseOver | QStyle::State_KeyboardFocusChange);
        option.rect = place;
        option.state |= QStyle::State_AutoRaise;
        const bool down = i == m_pressed && m_down;
        const bool under = i == hovered || (i == m_pressed && m_hovering && place.contains(m_hoverPos));
        if (under)
            option.state |= QStyle::State_MouseOver;
        if (under && !down)
            option.state |= QStyle::State_Raised;
        if (down)
            option.state |= QStyle::State_Sunken;
        if (i == currentIndex())
            option.state |= QStyle::State_Selected;
        painter.save();
        painter.setClipRect(place);
        style()->drawPrimitive(QStyle::PE_IndicatorTabClose, &option, &painter, m_ruleAnchor);
        painter.restore();
    }
}

void ClosableTabBar::paintEvent(QPaintEvent *event)
{
    if (!drawsTabs())
        QTabBar::paintEvent(event);
    if (!m_closeControls)
        return;
    QPainter painter(this);
    if (drawsTabs())
        paintTabs(painter);
    paintCloseControls(painter, event->rect());
}

bool ClosableTabBar::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverMove: {
        const QPoint pos = static_cast<QHoverEvent *>(event)->pos();
        const int before = m_hovering ? closeControlAt(m_hoverPos) : -1;
        m_hovering = true;
        m_hoverPos = pos;
        const int now = closeControlAt(pos);
        if (before != now) {
            update(closeControlRect(before));
            update(closeControlRect(now));
        }
        break;
    }
    case QEvent::HoverLeave:
    case QEvent::Leave:
        if (m_hovering) {
            update(closeControlRect(closeControlAt(m_hoverPos)));
            m_hovering = false;
        }
        break;
    case QEvent::ToolTip: {
        auto *help = static_cast<QHelpEvent *>(event);
        const int index = closeControlAt(help->pos());
        if (index >= 0) {
            // Qt's close button's own tip, in its translation context.
            QToolTip::showText(help->globalPos(), QCoreApplication::translate("CloseButton", "Close Tab"),
                               this, closeControlRect(index));
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QTabBar::event(event);
}

bool ClosableTabBar::pressOnCloseControl(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return false;
    const int index = closeControlAt(event->pos());
    if (index < 0)
        return false;
    m_pressed = index;
    m_down = true;
    update(closeControlRect(index));
    event->accept();
    return true;
}

void ClosableTabBar::mousePressEvent(QMouseEvent *event)
{
    if (!pressOnCloseControl(event))
        QTabBar::mousePressEvent(event);
}

void ClosableTabBar::mouseDoubleClickEvent(QMouseEvent *event)
{
    // A button takes the second click of a double click as another press.
    if (!pressOnCloseControl(event))
        QTabBar::mouseDoubleClickEvent(event);
}

void ClosableTabBar::mouseMoveEvent(QMouseEvent *event)
{
    if (m_pressed < 0) {
        QTabBar::mouseMoveEvent(event);
        return;
    }
    m_hoverPos = event->pos();
    const bool inside = closeControlRect(m_pressed).contains(event->pos());
    if (inside != m_down) {
        m_down = inside;
        update(closeControlRect(m_pressed));
    }
    event->accept();
}

void ClosableTabBar::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_pressed < 0) {
        QTabBar::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const int index = m_pressed;
    const bool clicked = closeControlRect(index).contains(event->pos());
    forgetPress();
    if (clicked)
        emit tabCloseRequested(index);
}

void ClosableTabBar::tabInserted(int index)
{
    // A pressed control belongs to a tab whose index has just moved.
    forgetPress();
    QTabBar::tabInserted(index);
}

void ClosableTabBar::tabRemoved(int index)
{
    forgetPress();
    QTabBar::tabRemoved(index);
}

void ClosableTabBar::forgetPress()
{
    if (m_pressed >= 0)
        update(closeControlRect(m_pressed));
    m_pressed = -1;
    m_down = false;
}
