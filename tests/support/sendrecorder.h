#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QString>

class ExportTextImage;

namespace TestSupport {

// Records every press of "发送到硬件" on a text image window.
class SendRecorder
{
public:
    // What one press handed over; the image is copied while the signal is delivered.
    struct Sent
    {
        QImage image;
        QColor color;
        QFont font;
        QString text;
    };

    explicit SendRecorder(ExportTextImage *window);
    QList<Sent> sent;
};

} // namespace TestSupport
