#include "interfaces/model/videocontrolosd.h"

VideoControlOSD::VideoControlOSD() = default;

VideoControlOSD::~VideoControlOSD()
{
    delete m_pImage;
}

void VideoControlOSD::setPImageValue(QImage *image)
{
    if (image == m_pImage)
        return;
    delete m_pImage;
    m_pImage = image;
}
