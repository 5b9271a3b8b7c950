#pragma once

#include <QCoreApplication>
#include <QObject>
#include <QString>
#include <QVector>
#include <QtGlobal>

#include <utility>

// Why OsdFile refused a file or a list of records: what went wrong, in which record, and the
// numbers that go with it. message() turns it into the reason the operator reads; it is the one
// place that words the refusals, so the reader and the writer cannot drift apart.
class OsdFileError
{
    Q_GADGET
    Q_DECLARE_TR_FUNCTIONS(OsdFileError)

public:
    // The detail each code carries is given after it.
    enum Code
    {
        None,

        // The file as a whole.
        FileNotFound,
        NotRegularFile,
        CannotOpen,   // systemReason
        FileTooLarge, // size (−1: not known, the writer's sum passed the limit), limit
        Empty,
        NotOsdFile,         // the magic does not match
        HeaderTruncated,    // size
        UnsupportedVersion, // version found, version supported
        BadHeaderFlags,
        Truncated,  // length stated, real length
        ExtraBytes, // length stated, real length
        ShrankWhileReading,
        ReadFailed,          // systemReason
        RecordCountMismatch, // count
        BytesAfterRecords,   // bytes left over
        ChecksumMismatch,
        OutOfMemory,

        // One record (record is its index) or its text source.
        DataPastEnd,
        BadRecordFlags,     // flags
        BadSize,            // width, height
        BadCompletionWidth, // completion width
        BadKeyValues,       // red, green, blue
        BadFillColor,
        PixelLengthMismatch, // length, expected length
        PixelDataPastEnd,
        PixelDataTooLarge, // length, limit
        SourcePastEnd,
        TextTooLong, // length (−1: not stated), limit
        TextNotUtf8,
        FontNameTooLong, // limit
        FontNameNotUtf8,
        FontNameCountMismatch, // count
        BadFontResolveMask,
        BadFontSize,
        BadFontWeight,    // weight
        BadFontStyle,     // style
        BadFontStyleHint, // style hint
        BadFontStyleStrategy,
        BadFontStretch,    // stretch
        BadCapitalization, // capitalization
        BadFontSpacing,
        BadHintingPreference, // hinting preference
        BadFontFlags,
        BadTextColor,

        // Only the writer refuses these.
        ListsDiffer, // records, sources
        NullRecord,
        CannotCreate, // systemReason
        WriteFailed,  // systemReason

        // Only the streaming writer refuses these: the records do not keep to the count and the
        // length its header stated.
        NotStarted,
        LengthBelowCount,           // length stated, count stated
        MoreRecordsThanStated,      // count stated
        RecordPastStatedLength,     // record length, length stated
        FewerRecordsThanStated,     // records written, count stated
        RecordsShortOfStatedLength, // bytes of records written, length stated
        Cancelled,
    };
    Q_ENUM(Code)

    OsdFileError() = default;
    OsdFileError(Code code, QVector<qint64> detail = {}) : code(code), detail(std::move(detail)) {}
    static OsdFileError fromSystem(Code code, const QString &reason);

    bool isError() const { return code != None; }
    // The same error, said of the record with this index.
    OsdFileError atRecord(int index) const;

    // The reason as the operator reads it (empty for None); the caller adds the file name.
    QString message() const;

    Code code = None;
    // Index of the record the error is about, −1 when it is about the file as a whole.
    int record = -1;
    QVector<qint64> detail;
    // What the operating system said, for the codes that pass it on.
    QString systemReason;
};
