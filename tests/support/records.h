#pragma once

#include "core/pixels/publicbase.h"
#include "interfaces/model/sharedrecord.h"
#include "interfaces/model/sourcedata.h"
#include "interfaces/model/videocontrolosd.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QString>

namespace TestSupport {

// Records held the way the data model holds them, so that they go with this object.
class Records
{
public:
    Records() = default;
    Records(const Records &) = delete;
    Records &operator=(const Records &) = delete;
    ~Records()
    {
        for (VideoControlOSD *r : qAsConst(records))
            SharedRecord::release(r);
        for (SourceData *s : qAsConst(sources))
            SharedRecord::release(s);
    }
    void addPicture(const QImage &image, const QPoint &location)
    {
        auto *r = new VideoControlOSD;
        SharedRecord::retain(r);
        int completionWidth = 0;
        r->setImage(PublicBase::imageToOsdData(image, &completionWidth));
        r->setSize(image.size());
        r->setCompletionImageWidth(completionWidth);
        r->setOSDFileLength(image.width() * image.height() * 3);
        r->setLocation(location);
        r->setIsAvailable(true);
        records.append(r);
        sources.append(nullptr);
    }
    void addText(const QImage &image, const QPoint &location, const QString &text)
    {
        addPicture(image, location);
        auto *s = new SourceData;
        SharedRecord::retain(s);
        s->setContent(text);
        s->setTextFont(QFont(QStringLiteral("DejaVu Sans"), 20));
        s->setTextColor(QColor(255, 0, 0));
        sources.last() = s;
    }

    QList<VideoControlOSD *> records;
    QList<SourceData *> sources;
};

} // namespace TestSupport
