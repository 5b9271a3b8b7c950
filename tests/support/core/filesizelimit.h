#pragma once

#include <QString>
#include <QtGlobal>

namespace TestSupport {

// Holds this process (and the processes it starts meanwhile) to files of at most `bytes` bytes
// for as long as it lives, with SIGXFSZ ignored: a write past the limit then fails with the
// system's "File too large" instead of ending the process. The superuser is held to it too, so
// it runs in CI as root. Unavailable (isSet() false) where the system has no such limit.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    bool isSet() const { return m_set; }
    // The system's words for a write past the limit.
    static QString reason();

private:
    bool m_set = false;
    quint64 m_previous = 0;
    void *m_previousHandler = nullptr;
};

} // namespace TestSupport
