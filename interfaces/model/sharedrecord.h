#pragma once

// Records and text sources are handed around as raw pointers (the editor creates them with new and
// never frees them). The data-model library keeps them alive by counting their holders: the data
// model's lists and every item that links one. When the last holder lets go, the library frees it.
class SharedRecord
{
public:
    SharedRecord(const SharedRecord &) = delete;
    SharedRecord &operator=(const SharedRecord &) = delete;

    // Null-safe. A record that was never retained stays with whoever created it.
    static void retain(const SharedRecord *record);
    static void release(const SharedRecord *record);

    int holderCount() const { return m_holders; }

    // Live records of all kinds, for tests and memory checks.
    static int liveCount();

protected:
    SharedRecord();
    virtual ~SharedRecord();

private:
    mutable int m_holders = 0;
};
