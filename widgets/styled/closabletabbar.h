#pragma once

#include <QPoint>
#include <QRect>
#include <QTabBar>

class QIcon;
class QStyleOptionTab;
class QToolButton;

// A tab bar whose close controls are drawn by the bar instead of being a button widget per tab.
// Qt places every tab's buttons again whenever a button is set on one tab, and it sets one on
// every tab it adds: adding n closable tabs cost n² style-sheet layouts (an import of 300 records
// spent most of its time there). A drawn control costs nothing to place.
//
// It looks and acts as Qt's close button does: tabs of the same size with the text in the same
// place, the control in the same place and size with the same images (the style sheet's
// QTabBar::close-button rules, :hover included); a left click pressed and released on it emits
// tabCloseRequested(), a press on it does not select the tab, other buttons reach the tab bar, and
// it has the same tool tip. For horizontal bars that are neither movable nor draw a base (as
// TableWidgetEx's); others keep Qt's own drawing, where the controls would cover the text.
//
// Many tabs stay within reach: the scroll buttons show large light arrows, the wheel scrolls the
// tabs (it never changes the current tab); QTabBar itself scrolls the current tab into view.
class ClosableTabBar : public QTabBar
{
    Q_OBJECT
public:
    explicit ClosableTabBar(QWidget *parent = nullptr);

    // A chevron pointing along direction, light on the bar's dark grey (dimmer when disabled).
    static QIcon arrowIcon(Qt::ArrowType direction);

    void setCloseControls(bool on);
    bool hasCloseControls() const { return m_closeControls; }

    // Where the close control of the tab is, in the bar's coordinates; empty for a hidden tab or
    // without close controls.
    QRect closeControlRect(int index) const;

protected:
    QSize tabSizeHint(int index) const override;
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void tabInserted(int index) override;
    void tabRemoved(int index) override;
    void wheelEvent(QWheelEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QToolButton *scrollButton(bool left) const;
    void paintScrollButton(QToolButton *button);

    bool drawsTabs() const;
    // The tab's style option as Qt makes it for a tab with a close button.
    QStyleOptionTab tabOption(int index) const;
    QSize closeControlSize() const;
    QRect scrollArea() const;
    int closeControlAt(const QPoint &pos) const;
    void paintTabs(QPainter &painter);
    void paintCloseControls(QPainter &painter, const QRect &exposed);
    bool pressOnCloseControl(QMouseEvent *event);
    void forgetPress();

    bool m_closeControls = false;
    // Style sheet rules for the close control are matched on a child of the tab bar (Qt's close
    // buttons are such children); this hidden one stands in for them when drawing and measuring.
    QWidget *m_ruleAnchor = nullptr;
    int m_pressed = -1;
    bool m_down = false;
    bool m_hovering = false;
    QPoint m_hoverPos;
    int m_wheelRest = 0;
};
