#pragma once

#include <QObject>
#include <memory>

class QWidget;

namespace Utils {

class FramelessHelperPrivate;

// Lets top-level widgets be moved by dragging the top strip of their client area (the title
// area) and resized by dragging their edges and corners, optionally through a rubber band that
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
    // Shared by all helpers of the process; 0 keeps the previous value.
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

private:
    void updateRubberBands();
    void forgetWidget(QObject *widget);

    std::unique_ptr<FramelessHelperPrivate> d;
};

} // namespace Utils
