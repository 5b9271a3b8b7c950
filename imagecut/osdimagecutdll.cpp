#include "imagecut/osdimagecutdll.h"

#include "core/geometry/cutgeometry.h"
#include "imagecut/pictureedit.h"
#include "ui_osdimagecutdll.h"
#include "widgets/styled/radiobuttonex.h"
#include "widgets/styled/spinboxex.h"
#include "widgets/styled/stylesheet.h"
#include "widgets/styled/toolbuttonex.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QShortcut>
#include <QSpacerItem>

namespace {

const char *const PictureFrameStyle = "{border:1px solid RGB(15, 15, 15);}";

const char *const PictureAreaStyle = "{background:rgb(38,38,38);border:1px solid RGB(15, 15, 15);}";

SpinBoxEx *makeField(QWidget *parent, const char *name)
{
    auto *box = new SpinBoxEx(parent);
    box->setObjectName(QLatin1String(name));
    box->setMinimumSize(64, 24);
    box->setRange(0, 100);
    box->setValue(10);
    return box;
}

QLabel *makeFieldLabel(QWidget *parent, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setMinimumWidth(100);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setStyleSheet(QStringLiteral("QLabel{color:rgb(179,179,179);}"));
    return label;
}

} // namespace

OSDImageCutDLL::OSDImageCutDLL(QWidget *parent) : QFrame(parent), ui(new Ui::OSDImageCutDLL)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint);
    buildControls();
    ui->frame_cutImageToApply->setVisible(isSelectOSDSize);

    pictureView = new pictureedit(nullptr);
    ui->gridLayout_cutControl->addWidget(pictureView, 0, 0);
    connect(pictureView, SIGNAL(CutWindowsChangedEvent(QRect)), this, SLOT(on_CutWindowsChangedEvent(QRect)));

    // Escape cancels, as in any dialog (the panel is a frame, which has no such key of its own).
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &OSDImageCutDLL::on_pushButton_cancel_clicked);

    applyStyles();
}

void OSDImageCutDLL::showOver(QWidget *window)
{
    const QScreen *screen = window && window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    if (available.isValid()) {
        // Room for the window manager's frame around it.
        const QSize room = available.size() - QSize(16, 48);
        resize(size().boundedTo(room).expandedTo(minimumSizeHint()));
        QRect frame(QPoint(0, 0), size());
        frame.moveCenter(window ? window->frameGeometry().center() : available.center());
        frame.moveLeft(qBound(available.left(), frame.left(),
                              qMax(available.left(), available.right() - frame.width())));
        frame.moveTop(
            qBound(available.top(), frame.top(), qMax(available.top(), available.bottom() - frame.height())));
        move(frame.topLeft());
    }
    show();
}

OSDImageCutDLL::~OSDImageCutDLL()
{
    delete pictureView;
    delete ui;
}

void OSDImageCutDLL::buildControls()
{
    radioButton_cut = new RadioButtonEx(ui->frame_cutImageToApply);
    radioButton_cut->setObjectName(QStringLiteral("radioButton_cut"));
    radioButton_cut->setText(tr("截取"));
    radioButton_cut->setMinimumSize(96, 32);
    ui->horizontalLayout->addWidget(radioButton_cut);
    radioButton_zoom = new RadioButtonEx(ui->frame_cutImageToApply);
    radioButton_zoom->setObjectName(QStringLiteral("radioButton_zoom"));
    radioButton_zoom->setText(tr("自动缩放"));
    radioButton_zoom->setMinimumSize(96, 32);
    ui->horizontalLayout->addWidget(radioButton_zoom);
    ui->horizontalLayout->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));

    spinBox_contrast_X = makeField(ui->frame_changesize, "spinBox_contrast_X");
    spinBox_contrast_Y = makeField(ui->frame_changesize, "spinBox_contrast_Y");
    spinBox_contrast_W = makeField(ui->frame_changesize, "spinBox_contrast_W");
    spinBox_contrast_H = makeField(ui->frame_changesize, "spinBox_contrast_H");
    ui->gridLayout_4->addWidget(spinBox_contrast_X, 0, 1);
    ui->gridLayout_4->addWidget(makeFieldLabel(ui->frame_changesize, tr("起始位置Y:")), 0, 2);
    ui->gridLayout_4->addWidget(spinBox_contrast_Y, 0, 3);
    ui->gridLayout_4->addWidget(spinBox_contrast_W, 1, 1);
    ui->gridLayout_4->addWidget(makeFieldLabel(ui->frame_changesize, tr("高度:")), 1, 2);
    ui->gridLayout_4->addWidget(spinBox_contrast_H, 1, 3);

    pushButton_ok = new ToolButtonEx(ui->frame_4, ToolButtonEx::ButtonType(5), QString(), QString());
    pushButton_ok->setObjectName(QStringLiteral("pushButton_ok"));
    pushButton_ok->setMinimumSize(70, 30);
    pushButton_ok->setText(tr("确定"));
    ui->horizontalLayout_2->addWidget(pushButton_ok);
    pushButton_cancel = new ToolButtonEx(ui->frame_4, ToolButtonEx::ButtonType(6), QString(), QString());
    pushButton_cancel->setObjectName(QStringLiteral("pushButton_cancel"));
    pushButton_cancel->setMinimumSize(70, 30);
    pushButton_cancel->setText(tr("取消"));
    ui->horizontalLayout_2->addWidget(pushButton_cancel);

    connect(radioButton_cut, SIGNAL(clicked(bool)), this, SLOT(on_radioButton_cut_clicked(bool)));
    connect(radioButton_zoom, SIGNAL(clicked(bool)), this, SLOT(on_radioButton_zoom_clicked(bool)));
    connect(spinBox_contrast_X, SIGNAL(valueChanged(int)), this,
            SLOT(on_spinBox_contrast_X_valueChanged(int)));
    connect(spinBox_contrast_Y, SIGNAL(valueChanged(int)), this,
            SLOT(on_spinBox_contrast_Y_valueChanged(int)));
    connect(spinBox_contrast_W, SIGNAL(valueChanged(int)), this,
            SLOT(on_spinBox_contrast_W_valueChanged(int)));
    connect(spinBox_contrast_H, SIGNAL(valueChanged(int)), this,
            SLOT(on_spinBox_contrast_H_valueChanged(int)));
    connect(spinBox_contrast_W, SIGNAL(editingFinished()), this, SLOT(on_CheckOutVaue()));
    connect(spinBox_contrast_H, SIGNAL(editingFinished()), this, SLOT(on_CheckOutVaue()));
    connect(spinBox_contrast_Y, SIGNAL(editingFinished()), this, SLOT(on_CheckOutVaue()));
    connect(spinBox_contrast_X, SIGNAL(editingFinished()), this, SLOT(on_CheckOutVaue()));
    connect(pushButton_ok, SIGNAL(clicked()), this, SLOT(on_pushButton_ok_clicked()));
    connect(pushButton_cancel, SIGNAL(clicked()), this, SLOT(on_pushButton_cancel_clicked()));
}

void OSDImageCutDLL::applyStyles()
{
    setStyleSheet(StyleSheet::load("cutpanel"));
    pictureView->setFrameStyles(QLatin1String(PictureFrameStyle), StyleSheet::load("cutvscrollbar"),
                                StyleSheet::load("cuthscrollbar"), QLatin1String(PictureAreaStyle));
}

void OSDImageCutDLL::setCutImage(const QSize &size, const QPixmap &pixmap, const bool &selectOSDSize)
{
    isInitializing = true;
    canApply = true;
    isSelectOSDSize = selectOSDSize;
    ui->frame_cutImageToApply->setVisible(isSelectOSDSize);
    pushButton_cancel->setVisible(!isSelectOSDSize);

    if (isSelectOSDSize) {
        radioButton_cut->setChecked(true);
        setWindowTitle(tr("选择OSD大小"));
    } else {
        setWindowTitle(tr("选择OSD显示区域"));
    }
    isZoom = false;

    osdSize = size;
    sourcePixmap = pixmap;
    spinBox_contrast_X->setMaximum(sourcePixmap.width());
    spinBox_contrast_W->setMaximum(sourcePixmap.width());
    spinBox_contrast_Y->setMaximum(sourcePixmap.height());
    spinBox_contrast_H->setMaximum(sourcePixmap.height());

    resetCutWindow();
    isInitializing = false;
}

void OSDImageCutDLL::resetCutWindow()
{
    // The panel writes the fields itself here, consistently with the window; the handlers have
    // nothing to add and would only colour a small picture's default window as too narrow.
    const bool wasInitializing = isInitializing;
    isInitializing = true;
    pictureView->setPicture(sourcePixmap, false);
    endStartTyping();
    cutRect = CutGeometry::defaultWindow(sourcePixmap.size());
    showCutRect();
    showFields(cutRect);
    isInitializing = wasInitializing;
}

void OSDImageCutDLL::showCutRect()
{
    pictureView->setCutWindow(cutRect.left(), cutRect.top(), cutRect.right(), cutRect.bottom());
}

void OSDImageCutDLL::showFields(const QRect &window)
{
    spinBox_contrast_X->setValue(window.left());
    spinBox_contrast_Y->setValue(window.top());
    spinBox_contrast_W->setValue(window.right() - window.left() + 1);
    spinBox_contrast_H->setValue(window.bottom() - window.top() + 1);
    for (SpinBoxEx *box : {spinBox_contrast_X, spinBox_contrast_Y, spinBox_contrast_W, spinBox_contrast_H})
        markField(box, true);
}

void OSDImageCutDLL::on_radioButton_cut_clicked(bool)
{
    if (!radioButton_cut->isChecked())
        return;
    isZoom = false;
    resetCutWindow();
}

void OSDImageCutDLL::on_radioButton_zoom_clicked(bool)
{
    if (!radioButton_zoom->isChecked())
        return;
    isZoom = true;
    QPixmap shown = sourcePixmap;
    if (sourcePixmap.width() > osdSize.width() || sourcePixmap.height() > osdSize.height())
        shown = sourcePixmap.scaled(osdSize, Qt::KeepAspectRatio, Qt::FastTransformation);
    pictureView->setPicture(shown, true);
    cutRect = QRect(0, 0, shown.width(), shown.height());

    const bool wasInitializing = isInitializing;
    isInitializing = true;
    showFields(cutRect);
    isInitializing = wasInitializing;
}

void OSDImageCutDLL::on_pushButton_ok_clicked()
{
    // A red field holds a value the window did not take, so the window shown may not be the one
    // that would be cut. The panel stays open on that field until the operator mends it.
    if (SpinBoxEx *red = firstRedField()) {
        red->setFocus(Qt::OtherFocusReason);
        red->selectAll();
        return;
    }
    // An empty picture has nothing to cut; handing an empty image to the item would wipe it.
    if (canApply && !sourcePixmap.isNull() && cutRect.isValid()) {
        sourceImage = sourcePixmap.toImage();
        if (isZoom)
            resultImage = sourceImage.scaled(cutRect.size(), Qt::KeepAspectRatio, Qt::FastTransformation);
        else
            resultImage = sourceImage.copy(cutRect);
        emit applyCutImage(resultImage, cutRect);
    }
    close();
}

void OSDImageCutDLL::on_pushButton_cancel_clicked()
{
    close();
}

void OSDImageCutDLL::closeEvent(QCloseEvent *event)
{
    if (isSelectOSDSize)
        canApply = false;
    QFrame::closeEvent(event);
}
