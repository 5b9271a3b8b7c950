// The property panel: keying switch, reset, picked colour, key ranges and fill colour.
#include "mainwindow/propertypanel.h"

#include "interfaces/styled/checkboxex.h"
#include "interfaces/styled/labelex.h"
#include "interfaces/styled/pushbuttonex.h"
#include "widgets/doubleslider.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
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

} // namespace

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
    m_resetButton->setText(QStringLiteral("重置"));
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

    panelLayout->addStretch();
    setLayout(panelLayout);
}
