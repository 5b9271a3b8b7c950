#include "mainwindow/screensizedialog.h"

#include "core/geometry/outputscreen.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>

ScreenSizeDialog::ScreenSizeDialog(const QSize &size, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("screenSizeDialog"));
    setWindowTitle(tr("输出画面尺寸"));
    setStyleSheet(QStringLiteral("QDialog{background:rgb(56,56,56);}QLabel{color:rgb(210,210,210);}"
                                 "QSpinBox{color:rgb(210,210,210);background:rgb(38,38,38);}"));
    auto *form = new QFormLayout(this);
    m_width = new QSpinBox(this);
    m_width->setRange(OutputScreen::minimumSize().width(), OutputScreen::maximumSize().width());
    m_width->setValue(size.width());
    m_height = new QSpinBox(this);
    m_height->setRange(OutputScreen::minimumSize().height(), OutputScreen::maximumSize().height());
    m_height->setValue(size.height());
    form->addRow(tr("宽", "width of the output screen, in pixels"), m_width);
    form->addRow(tr("高", "height of the output screen, in pixels"), m_height);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
    // Wide enough for its whole title: the title bar's buttons take about as much again as the
    // longer English title needs room.
    setMinimumWidth(fontMetrics().horizontalAdvance(windowTitle()) * 3 / 2 + 120);
}

QSize ScreenSizeDialog::size() const
{
    return QSize(m_width->value(), m_height->value());
}
