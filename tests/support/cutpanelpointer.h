#pragma once

#include "imagecut/cutdialog.h"
#include "imagecut/osdimagecutdll.h"

#include <QPoint>
#include <QWindow>
#include <QtTest>

namespace TestSupport {

// Drives the real pointer through the panel's window, so the events take the way a mouse's take:
// to the widget under the pointer, kept by the pressed widget while the button is down, and
// passed on to the selection rectangle. Points are in picture pixels.
class CutPanelPointer
{
public:
    explicit CutPanelPointer(OSDImageCutDLL &panel) : m_panel(panel) {}

    CutDialog *rectangle() const { return m_panel.findChild<CutDialog *>(); }
    QPoint onRectangle(const QPoint &local) const { return rectangle()->geometry().topLeft() + local; }

    void hover(const QPoint &picturePoint) { QTest::mouseMove(window(), toWindow(picturePoint)); }
    void press(const QPoint &picturePoint)
    {
        QTest::mousePress(window(), Qt::LeftButton, Qt::NoModifier, toWindow(picturePoint));
    }
    void release(const QPoint &picturePoint)
    {
        QTest::mouseRelease(window(), Qt::LeftButton, Qt::NoModifier, toWindow(picturePoint));
    }

    // Hover, press, move in even steps, release: one whole drag.
    void drag(const QPoint &from, const QPoint &by, int steps)
    {
        hover(from);
        press(from);
        for (int i = 1; i <= steps; ++i)
            hover(from + by * i / steps);
        release(from + by);
    }

private:
    QWindow *window() const { return m_panel.windowHandle(); }
    QPoint toWindow(const QPoint &picturePoint) const
    {
        return rectangle()->parentWidget()->mapTo(&m_panel, picturePoint);
    }

    OSDImageCutDLL &m_panel;
};

} // namespace TestSupport
