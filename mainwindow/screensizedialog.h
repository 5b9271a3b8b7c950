#pragma once

#include <QDialog>
#include <QSize>

class QSpinBox;

// Asks for a custom output screen size, width and height in pixels, within the sizes the
// output screen accepts.
class ScreenSizeDialog : public QDialog
{
    Q_OBJECT
public:
    ScreenSizeDialog(const QSize &size, QWidget *parent);

    QSize size() const;

private:
    QSpinBox *m_width = nullptr;
    QSpinBox *m_height = nullptr;
};
