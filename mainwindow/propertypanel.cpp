// The property panel: keying switch, reset, picked colour, key ranges and fill colour.
#include "mainwindow/propertypanel.h"

#include "core/document/keyrecipe.h"

#include "widgets/doubleslider.h"
#include "widgets/styled/checkboxex.h"
#include "widgets/styled/labelex.h"
#include "widgets/styled/pushbuttonex.h"
#include "widgets/styled/spinboxex.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QString captionGrey()
{
    return QStringLiteral("text-align:center;font:SimSun Arial;color:rgb(210,210,210);");
}

QString channelStyle(const char *rgb)
{
    return QStringLiteral("text-align:center;font:SimSun Arial;color:rgb(%1);").arg(QLatin1String(rgb));
}

QLabel *makePanelLine(QWidget *parent, int height)
{
    auto *line = new QLabel(parent);
    line->setMinimumSize(0, height);
    line->setMaximumSize(16777215, height);
    line->setStyleSheet(QStringLiteral("background-color: rgb(8,7,12);"));
    return line;
}

QLabel *makeLabel(QWidget *parent, const QString &text, const QString &style, int width, int height)
{
    auto *label = new QLabel(parent);
    label->setText(text);
    label->setStyleSheet(style);
    label->setFixedSize(width, height);
    return label;
}

QVBoxLayout *makeColumn()
{
    auto *column = new QVBoxLayout;
    column->setSpacing(3);
    column->setContentsMargins(0, 0, 0, 0);
    return column;
}

SpinBoxEx *makeCoordinateSpin(QWidget *parent)
{
    auto *spin = new SpinBoxEx(parent);
    // Locations are stored as 32-bit numbers; a few screens' widths either way is all that makes sense.
    spin->setRange(-99999, 99999);
    spin->setFixedSize(70, 24);
    spin->setKeyboardTracking(false);
    return spin;
}

} // namespace

QList<Qt::Alignment> PropertyPanel::alignments()
{
    return {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight, Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
}

void PropertyPanel::addPositionGroup(QVBoxLayout *panelLayout)
{
    // Tight, so the window still narrows to its smallest height with the panel whole.
    auto *group = new QVBoxLayout;
    group->setSpacing(4);
    group->setContentsMargins(8, 4, 8, 4);
    m_positionTitle = makeLabel(this, tr("位置"), captionGrey(), 170, 22);
    group->addWidget(m_positionTitle);

    auto *spinRow = new QHBoxLayout;
    spinRow->setSpacing(4);
    spinRow->setContentsMargins(0, 0, 0, 0);
    m_xSpin = makeCoordinateSpin(this);
    m_ySpin = makeCoordinateSpin(this);
    spinRow->addWidget(makeLabel(this, QStringLiteral("X"), captionGrey(), 12, 22));
    spinRow->addWidget(m_xSpin);
    spinRow->addSpacing(8);
    spinRow->addWidget(makeLabel(this, QStringLiteral("Y"), captionGrey(), 12, 22));
    spinRow->addWidget(m_ySpin);
    spinRow->addStretch();
    group->addLayout(spinRow);

    static const char *const icons[] = {"align_left", "align_hcenter", "align_right",
                                        "align_top",  "align_vcenter", "align_bottom"};
    const QString tips[] = {tr("左对齐"),   tr("水平居中"), tr("右对齐"),
                            tr("顶端对齐"), tr("垂直居中"), tr("底端对齐")};
    auto *alignRow = new QHBoxLayout;
    alignRow->setSpacing(4);
    alignRow->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 6; ++i) {
        auto *button = new QToolButton(this);
        button->setObjectName(QStringLiteral("alignButton"));
        button->setIcon(QIcon(QStringLiteral(":/osdimage/res/osdimage/%1.png").arg(QLatin1String(icons[i]))));
        button->setIconSize(QSize(16, 16));
        button->setFixedSize(26, 24);
        button->setToolTip(tips[i]);
        button->setStyleSheet(QStringLiteral(
            "#alignButton{background:rgb(50,50,50);border:1px solid rgb(110,110,110);border-radius:3px;}"
            "#alignButton:hover{border-color:rgb(222,89,15);}#alignButton:pressed{background:rgb(26,26,26);}"
            "#alignButton:disabled{border-color:rgb(70,70,70);}"));
        m_alignButtons[i] = button;
        alignRow->addWidget(button);
        if (i == 2)
            alignRow->addSpacing(6);
    }
    alignRow->addStretch();
    group->addLayout(alignRow);
    panelLayout->addLayout(group);
}

PropertyPanel::PropertyPanel(QWidget *parent) : QFrame(parent)
{
    setFixedWidth(220);
    auto *panelLayout = new QVBoxLayout;
    panelLayout->setSpacing(6);
    panelLayout->setContentsMargins(0, 0, 0, 0);

    m_title = new QLabel(this);
    m_title->setText(tr("属性界面"));
    m_title->setStyleSheet(captionGrey());
    m_title->setFixedHeight(25);
    panelLayout->addWidget(m_title, 0, Qt::AlignHCenter);

    panelLayout->addWidget(makePanelLine(this, 2));

    auto *keyingRow = new QHBoxLayout;
    keyingRow->setSpacing(6);
    keyingRow->setContentsMargins(8, 10, 8, 10);
    m_selectColorCheck = new CheckBoxEx(this);
    m_selectColorCheck->setText(tr("扣色启用"));
    m_selectColorCheck->setFixedSize(75, 22);
    m_selectColorCheck->setFontColor(QColor(220, 220, 220, 255));
    m_selectColorCheck->setChecked(false);
    keyingRow->addWidget(m_selectColorCheck);
    keyingRow->addStretch();
    m_resetButton = new PushButtonEx(this, PushButtonEx::PanelButton);
    m_resetButton->setText(tr("重置"));
    m_resetButton->setFixedSize(60, 28);
    m_resetButton->setStyleSheet(QStringLiteral(
        "PushButtonEx{color: #929292; background-color:rgb(69,69,69);border-width: 1px;"
        "border-color: rgb(110,110,110);border-style: solid; border-radius: 14px; outline: none;"
        "height:28px;min-width:46px;padding-left:12px; padding-right:12px;}"
        "PushButtonEx:hover{background-color: #303238;border-color:rgb(222,89,15);color:#fdfdfd;}"
        "PushButtonEx:pressed{background-color: #1a1a1a;border-color:rgb(222,89,15);"
        "color:#fdfdfd;}"));
    keyingRow->addWidget(m_resetButton);
    panelLayout->addLayout(keyingRow);

    panelLayout->addWidget(makePanelLine(this, 1));

    auto *pickedRow = new QHBoxLayout;
    pickedRow->setSpacing(0);
    pickedRow->setContentsMargins(8, 10, 8, 10);
    m_currentColorTitle =
        makeLabel(this, tr("当前色"), QStringLiteral("QLabel{color:rgb(210,210,210);}"), 50, 22);
    pickedRow->addWidget(m_currentColorTitle);
    pickedRow->addSpacing(3);
    m_pickedColorSwatch =
        makeLabel(this, QString(),
                  QStringLiteral("background-color:rgb(0,0,0);border-width: 1px;border-color: rgb(22,22,22);"
                                 "border-style: solid;border-radius: 3px;"),
                  30, 22);
    pickedRow->addWidget(m_pickedColorSwatch);
    pickedRow->addSpacing(2);
    m_pickedColorLabel = makeLabel(this, QStringLiteral("(--,--,--)"), captionGrey(), 100, 23);
    m_pickedColorLabel->setAlignment(Qt::AlignCenter);
    pickedRow->addWidget(m_pickedColorLabel);
    panelLayout->addLayout(pickedRow);

    panelLayout->addWidget(makePanelLine(this, 1));

    auto *rangeGroup = new QVBoxLayout;
    rangeGroup->setSpacing(3);
    rangeGroup->setContentsMargins(0, 10, 0, 10);
    auto *captionRow = new QHBoxLayout;
    captionRow->setSpacing(6);
    captionRow->setContentsMargins(8, 0, 8, 0);
    captionRow->addWidget(makeLabel(this, tr("扣色范围调整"), captionGrey(), 170, 22));
    captionRow->addStretch();
    rangeGroup->addLayout(captionRow);

    auto *rangeRow = new QHBoxLayout;
    rangeRow->setSpacing(2);
    rangeRow->setContentsMargins(8, 0, 8, 0);
    const QString red = channelStyle("255,0,0");
    const QString green = channelStyle("0,255,0");
    const QString blue = channelStyle("0,0,255");

    QVBoxLayout *letters = makeColumn();
    letters->addWidget(makeLabel(this, QStringLiteral("R"), red, 10, 22));
    letters->addWidget(makeLabel(this, QStringLiteral("G"), green, 10, 22));
    letters->addWidget(makeLabel(this, QStringLiteral("B"), blue, 10, 22));
    rangeRow->addLayout(letters);

    QVBoxLayout *sliders = makeColumn();
    m_sliders[0] = new DoubleSlider(this, QColor(255, 0, 0, 255));
    m_sliders[1] = new DoubleSlider(this, QColor(0, 255, 0, 255));
    m_sliders[2] = new DoubleSlider(this, QColor(0, 0, 255, 255));
    sliders->addWidget(m_sliders[0]);
    sliders->addWidget(m_sliders[1]);
    sliders->addWidget(m_sliders[2]);
    rangeRow->addLayout(sliders);
    rangeRow->addSpacing(8);

    QVBoxLayout *lowerValues = makeColumn();
    m_minLabels[0] = makeLabel(this, QStringLiteral("0"), red, 23, 22);
    m_minLabels[1] = makeLabel(this, QStringLiteral("0"), green, 23, 22);
    m_minLabels[2] = makeLabel(this, QStringLiteral("0"), blue, 23, 22);
    lowerValues->addWidget(m_minLabels[0]);
    lowerValues->addWidget(m_minLabels[1]);
    lowerValues->addWidget(m_minLabels[2]);
    rangeRow->addLayout(lowerValues);

    QVBoxLayout *upperValues = makeColumn();
    m_maxLabels[0] = makeLabel(this, QStringLiteral("255"), red, 23, 22);
    m_maxLabels[1] = makeLabel(this, QStringLiteral("255"), green, 23, 22);
    m_maxLabels[2] = makeLabel(this, QStringLiteral("255"), blue, 23, 22);
    upperValues->addWidget(m_maxLabels[0]);
    upperValues->addWidget(m_maxLabels[1]);
    upperValues->addWidget(m_maxLabels[2]);
    rangeRow->addLayout(upperValues);
    rangeGroup->addLayout(rangeRow);
    panelLayout->addLayout(rangeGroup);

    panelLayout->addWidget(makePanelLine(this, 1));

    auto *fillRow = new QHBoxLayout;
    fillRow->setSpacing(6);
    fillRow->setContentsMargins(8, 10, 8, 10);
    m_fillColorTitle = makeLabel(this, tr("填充色"), captionGrey(), 50, 22);
    fillRow->addWidget(m_fillColorTitle);
    fillRow->addStretch();
    // Made with the window as parent; installing the frame's layout moves it into the frame.
    m_fillColorSwatch = new LabelEx(parent);
    m_fillColorSwatch->setAlignment(Qt::AlignCenter);
    m_fillColorSwatch->setFixedSize(40, 22);
    m_fillColorSwatch->setStyleSheet(QStringLiteral("background-color:black;border-width: 1px;border-color: "
                                                    "rgb(22,22,22);border-style: solid;border-radius: 3px;"));
    fillRow->addWidget(m_fillColorSwatch);
    fillRow->addSpacing(100);
    panelLayout->addLayout(fillRow);

    panelLayout->addWidget(makePanelLine(this, 1));
    addPositionGroup(panelLayout);

    panelLayout->addStretch();
    setLayout(panelLayout);
}

namespace {
const char *const kSwatchBorder =
    ";border-width: 1px;border-color: rgb(22,22,22);border-style: solid;border-radius: 3px;";
}

QString PropertyPanel::colourText(const QColor &c)
{
    return QStringLiteral("(%1,%2,%3)").arg(c.red()).arg(c.green()).arg(c.blue());
}

QString PropertyPanel::noColourText()
{
    return QStringLiteral("(--,--,--)");
}

QString PropertyPanel::swatchFromChannels(const QColor &c)
{
    return QStringLiteral("background-color:rgb") + colourText(c) + QLatin1String(kSwatchBorder);
}

QString PropertyPanel::swatchFromName(const QColor &c)
{
    return QStringLiteral("background-color:") + c.name() + QLatin1String(kSwatchBorder);
}

void PropertyPanel::showKey(const KeyRecipe &key)
{
    for (int channel = 0; channel < 3; ++channel) {
        m_minLabels[channel]->setText(QString::number(key.low(channel)));
        m_maxLabels[channel]->setText(QString::number(key.high(channel)));
        DoubleSlider *slider = m_sliders[channel];
        // A slider being dragged already shows its range; moving it under the pointer would not.
        if (slider->minValue() == key.low(channel) && slider->maxValue() == key.high(channel))
            continue;
        // The upper handle first: the lower one may not pass it.
        slider->moveMaxHandleNosignal(255);
        slider->moveMinHandleNosignal(key.low(channel));
        slider->moveMaxHandleNosignal(key.high(channel));
    }
    m_fillColorSwatch->setStyleSheet(swatchFromName(key.fill));
    m_pickedColorSwatch->setStyleSheet(
        swatchFromChannels(key.picked.isValid() ? key.picked : QColor(0, 0, 0)));
    m_pickedColorLabel->setText(key.picked.isValid() ? colourText(key.picked) : noColourText());
    const QSignalBlocker quiet(m_selectColorCheck);
    m_selectColorCheck->setChecked(key.enabled);
}
