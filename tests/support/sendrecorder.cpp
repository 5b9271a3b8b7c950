#include "support/sendrecorder.h"

#include "textexport/exporttextimage.h"

namespace TestSupport {

SendRecorder::SendRecorder(ExportTextImage *window)
{
    QObject::connect(window, &ExportTextImage::exportTextImage, window,
                     [this](QImage *image, QColor color, QFont font, QString text) {
                         sent.append({image ? image->copy() : QImage(), color, font, text});
                     });
}

} // namespace TestSupport
