#pragma once

#include <QRect>
#include <QWidget>

class CutDialog;

// Transparent cover over the whole picture that darkens everything outside the selection
// rectangle it holds, and passes the rectangle's reports on.
class PhotoShotDialog : public QWidget
{
    Q_OBJECT
public:
    explicit PhotoShotDialog(QWidget *parent = nullptr);

    CutDialog *cutDialog() const { return m_cutDialog; }

signals:
    void CutWindowsChanged(QRect rect);

public slots:
    void om_CutWindowsChanged(QRect rect);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    CutDialog *m_cutDialog = nullptr;
};
