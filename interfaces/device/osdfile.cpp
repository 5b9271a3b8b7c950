#include "interfaces/device/osdfile.h"

#include "interfaces/model/sourcedata.h"
#include "interfaces/model/videocontrolosd.h"

#include <utility>

const char OsdFile::Magic[8] = {'B', 'L', 'O', 'S', 'D', '\r', '\n', '\x1A'};

// -------------------------------------------------------------------------------------------------
// Contents

OsdFile::Contents::~Contents()
{
    clear();
}

OsdFile::Contents::Contents(Contents &&other) noexcept
    : m_records(std::move(other.m_records)), m_sources(std::move(other.m_sources))
{
    other.m_records.clear();
    other.m_sources.clear();
}

OsdFile::Contents &OsdFile::Contents::operator=(Contents &&other) noexcept
{
    if (this != &other) {
        clear();
        m_records = std::move(other.m_records);
        m_sources = std::move(other.m_sources);
        other.m_records.clear();
        other.m_sources.clear();
    }
    return *this;
}

void OsdFile::Contents::append(VideoControlOSD *record, SourceData *source)
{
    // Both lists grow or neither does, and references are taken only once both hold the entries.
    m_records.append(record);
    try {
        m_sources.append(source);
    } catch (...) {
        m_records.removeLast();
        throw;
    }
    SharedRecord::retain(record);
    SharedRecord::retain(source);
}

void OsdFile::Contents::clear()
{
    const QList<VideoControlOSD *> records = std::exchange(m_records, {});
    const QList<SourceData *> sources = std::exchange(m_sources, {});
    for (VideoControlOSD *r : records)
        SharedRecord::release(r);
    for (SourceData *s : sources)
        SharedRecord::release(s);
}
