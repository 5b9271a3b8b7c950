#pragma once

#include <QFrame>
#include <QString>

class QLabel;
class QPushButton;

// A toolbar button: a 30×30 picture above a centred caption on a dark background that lightens
// under the pointer and darkens while pressed. It lies over a flat QAbstractButton (its parent),
// takes that button's size and forwards pressed, released and clicked to it.
class CustomToolButton : public QFrame
{
    Q_OBJECT
public:
    enum VisualState
    {
        Normal = 0,
        Hovered = 1,
        Pressed = 2
    };

    explicit CustomToolButton(QWidget *parent);

    void setImageAndText(QString picture, QString caption);

    int visualState() const { return m_state; }
    QString picture() const { return m_picture; }
    QString caption() const { return m_caption; }
    QPushButton *pictureButton() const { return m_pushButton; }
    QLabel *captionLabel() const { return m_label; }

signals:
    void pressed();
    void released();
    void clicked(bool checked = false);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void restyle();
    // Sets the caption in the label: in a smaller size when it is wider than the button (English
    // words are longer than the Chinese the toolbar was drawn for), elided when even that is too wide.
    void fitCaption();
    void setState(VisualState state);
    void handleRelease();

    QPushButton *m_pushButton = nullptr;
    QLabel *m_label = nullptr;
    int m_state = Normal;
    bool m_pressed = false;
    QString m_picture;
    QString m_caption;
};
