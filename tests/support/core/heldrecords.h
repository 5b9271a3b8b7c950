#pragma once

#include "interfaces/model/sharedrecord.h"
#include "interfaces/model/sourcedata.h"
#include "interfaces/model/videocontrolosd.h"

#include <QList>

// Records and sources made by a test are held through this, so that they go away with it, as the
// data model's lists hold theirs.
class HeldRecords
{
public:
    HeldRecords() = default;
    HeldRecords(const HeldRecords &) = delete;
    HeldRecords &operator=(const HeldRecords &) = delete;
    ~HeldRecords() { clear(); }

    VideoControlOSD *record(VideoControlOSD *r) { return hold(r); }
    SourceData *source(SourceData *s) { return hold(s); }
    void clear()
    {
        for (SharedRecord *r : qAsConst(m_all))
            SharedRecord::release(r);
        m_all.clear();
    }

private:
    template <typename T> T *hold(T *r)
    {
        SharedRecord::retain(r);
        m_all.append(r);
        return r;
    }

    QList<SharedRecord *> m_all;
};
