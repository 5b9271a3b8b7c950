#pragma once

#include <QString>

// "label: done/total" on stderr, rewritten in place, for long work; only when stderr is a terminal,
// so that logs and pipes get nothing.
class ProgressLine
{
public:
    explicit ProgressLine(const QString &label);
    ~ProgressLine();
    ProgressLine(const ProgressLine &) = delete;
    ProgressLine &operator=(const ProgressLine &) = delete;

    bool isShown() const { return m_enabled; }
    void show(int done, int total);

    static bool stderrIsTerminal();

private:
    QString m_label;
    bool m_enabled = false;
    bool m_written = false;
};
