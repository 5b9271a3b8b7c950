#pragma once

#include <QFrame>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QSize>

class QCloseEvent;
class RadioButtonEx;
class SpinBoxEx;
class ToolButtonEx;
class pictureedit;

namespace Ui {
class OSDImageCutDLL;
}

// Modal panel in which the operator chooses the window of a picture that an OSD item shows. The
// picture is shown at full resolution with a selection rectangle; four fields (start X and Y, width,
// height) follow the rectangle and can move its edges. OK hands the cut image and the window on.
//
// In OSD-size mode the operator may instead scale the whole picture into the OSD size.
class OSDImageCutDLL : public QFrame
{
    Q_OBJECT
public:
    explicit OSDImageCutDLL(QWidget *parent = nullptr);
    ~OSDImageCutDLL() override;

    // Fills the panel for one picture; the caller shows the panel afterwards.
    void setCutImage(const QSize &size, const QPixmap &pixmap, const bool &selectOSDSize);
    // Shows the panel over window (the screen's middle without one), no larger than its screen
    // can show: the picture scrolls inside.
    void showOver(QWidget *window);

    // The window OK would emit, in picture pixels with inclusive corners.
    QRect cutWindow() const { return cutRect; }
    pictureedit *pictureWidget() const { return pictureView; }

signals:
    void applyCutImage(QImage image, QRect rect);

public slots:
    void on_pushButton_ok_clicked();
    void on_spinBox_contrast_X_valueChanged(int arg1);
    void on_spinBox_contrast_Y_valueChanged(int arg1);
    void on_spinBox_contrast_W_valueChanged(int arg1);
    void on_spinBox_contrast_H_valueChanged(int arg1);
    void on_radioButton_cut_clicked(bool checked);
    void on_radioButton_zoom_clicked(bool checked);
    void on_CutWindowsChangedEvent(QRect rect);
    void on_CheckOutVaue();
    void on_pushButton_cancel_clicked();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void applyStyles();
    void resetCutWindow();
    void showFields(const QRect &window);
    void markField(SpinBoxEx *box, bool valid);
    void applyStart(Qt::Orientation axis, int start);
    bool fieldsActive() const { return !isInitializing && isValueChecked; }
    QSize fieldLimit() const;
    void showCutRect();
    void endStartTyping();
    SpinBoxEx *firstRedField() const;

    // A spin box applies every keystroke, so a typed start of 150 arrives as 1, 15 and 150. Each
    // is placed against the window as it was when the typing began (base), not against the one
    // the previous keystroke left (reached); otherwise the digits on the way would have narrowed it.
    struct StartTyping
    {
        QRect base;
        QRect reached;
    };

    Ui::OSDImageCutDLL *ui;
    pictureedit *pictureView = nullptr;
    RadioButtonEx *radioButton_cut = nullptr;
    RadioButtonEx *radioButton_zoom = nullptr;
    SpinBoxEx *spinBox_contrast_X = nullptr;
    SpinBoxEx *spinBox_contrast_Y = nullptr;
    SpinBoxEx *spinBox_contrast_W = nullptr;
    SpinBoxEx *spinBox_contrast_H = nullptr;
    ToolButtonEx *pushButton_ok = nullptr;
    ToolButtonEx *pushButton_cancel = nullptr;

    bool isSelectOSDSize = false;
    bool isZoom = false;
    bool isInitializing = false;
    bool isValueChecked = true;
    QPixmap sourcePixmap;
    QImage sourceImage;
    QImage resultImage;
    // Inclusive corners: a default QRect is (0, 0)–(−1, −1), the empty window.
    QRect cutRect;
    QSize osdSize;
    const QSize minCutSize = QSize(64, 64);
    bool canApply = false;
    StartTyping xTyping;
    StartTyping yTyping;
    // Set while the fields are written from the rectangle, whose window is then the one to follow.
    bool isFollowingRect = false;
};
