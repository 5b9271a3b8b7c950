#pragma once

#include <QObject>
#include <memory>

class QWidget;
class QWindow;

namespace Utils {

class FramelessHelperPrivate;

// Lets top-level widgets be moved by dragging the top strip of their client area (the title
// area) and resized by dragging their edges and corners. The platform moves and resizes the window
// where it can; elsewhere the helper follows the drag itself, optionally through a rubber band that
// is applied when the button is released. The helper filters the managed widgets' mouse, leave
// and hover events; destroying it restores every widget's window flags and attributes.
class FramelessHelper : public QObject
{
    Q_OBJECT
public:
    explicit FramelessHelper(QObject *parent = nullptr);
    ~FramelessHelper() override;

    void attachWidget(QWidget *widget);

    void setMoveEnabled(bool enabled);
    void setResizeEnabled(bool enabled);
    void setMoveRubberBand(bool enabled);
    void setResizeRubberBand(bool enabled);
    // 0 keeps the previous value.
    void setEdgeWidth(int width);
    void setTitleAreaHeight(int height);

    bool moveEnabled() const;
    bool resizeEnabled() const;
    bool moveRubberBand() const;
    bool resizeRubberBand() const;
    int edgeWidth() const;
    int titleAreaHeight() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Hands the drag that a press starts to the platform: a move without edges, else a resize by
    // those edges. False where the platform cannot (the offscreen one, for one); the helper then
    // follows the drag itself.
    virtual bool startSystemDrag(QWindow *window, Qt::Edges edges);

private:
    // Its states offer the platform the drags they start.
    friend class FramelessWidgetState;
    void updateRubberBands();
    void forgetWidget(QObject *widget);

    std::unique_ptr<FramelessHelperPrivate> d;
};

} // namespace Utils
