#pragma once

// Private to the OSD file's writer and reader: the field layouts and the checks both apply, so that
// nothing is written that could not be read back. The project file stores colours and fonts in the
// same layouts, with the same checks.
#include "interfaces/device/osdfile.h"
#include "interfaces/device/osdfileerror.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

namespace OsdFileCodec {

// Bits of a record's flag byte.
enum RecordFlag : quint8
{
    EnableCutImageFlag = 0x01,
    CanEnableCutFlag = 0x02,
    AvailableFlag = 0x04,
    SelectColorFlag = 0x08,
    HasSourceFlag = 0x10,
    KnownRecordFlags = 0x1F
};

// Bits of a font's flag byte.
enum FontFlag : quint8
{
    UnderlineFlag = 0x01,
    OverlineFlag = 0x02,
    StrikeOutFlag = 0x04,
    FixedPitchFlag = 0x08,
    KerningFlag = 0x10,
    KnownFontFlags = 0x1F
};

// Bytes of a record without its pixel data and its text source, and the least a text source can
// take (all strings empty, no family list).
constexpr int RecordFixedSize = 68;
constexpr int ColorSize = 11;
constexpr int SourceMinSize =
    4 + 4 + 4 + 4 + 4 + 8 + 4 + 1 + 1 + 1 + 2 + 2 + 1 + 1 + 8 + 8 + 1 + 1 + ColorSize;

constexpr quint32 KnownResolveBits = QFont::AllPropertiesResolved;
constexpr quint16 KnownStyleStrategyBits = 0x9FFF;

inline bool validDimension(qint64 v, bool allowUnset)
{
    return (allowUnset && v == -1) || (v >= 0 && v <= OsdFile::MaxDimension);
}

inline bool validKeyValue(qint64 v)
{
    return v >= -1 && v <= 255;
}

// The pixel data holds completion-width pixels of 3 bytes for every row; no rows, no data.
inline qint64 expectedPixelBytes(qint64 height, qint64 completionWidth)
{
    return height > 0 ? height * completionWidth * 3 : 0;
}

// A QColor as Qt itself streams it: spec, alpha and four 16-bit components, kept bit for bit.
struct RawColor
{
    quint8 spec = 0;
    quint16 value[5] = {0xFFFF, 0, 0, 0, 0};
};

RawColor rawColor(const QColor &color);
bool validRawColor(const RawColor &raw);
QColor colorFromRaw(const RawColor &raw);

// Everything a QFont keeps that makes two fonts compare equal, plus the mask of the attributes
// that were set explicitly.
struct FontFields
{
    quint32 resolveMask = 0;
    QString family;
    QString styleName;
    QStringList families;
    double pointSize = -1;
    qint32 pixelSize = -1;
    quint8 weight = QFont::Normal;
    quint8 style = QFont::StyleNormal;
    quint8 styleHint = QFont::AnyStyle;
    quint16 styleStrategy = QFont::PreferDefault;
    quint16 stretch = 0;
    quint8 capitalization = QFont::MixedCase;
    quint8 letterSpacingType = QFont::PercentageSpacing;
    double letterSpacing = 0;
    double wordSpacing = 0;
    quint8 hintingPreference = QFont::PreferDefaultHinting;
    quint8 flags = 0;
};

FontFields fontFields(const QFont &font);
// No error for fields that a QFont can take.
OsdFileError fontFieldsProblem(const FontFields &f);
QFont fontFromFields(const FontFields &f);

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(const char *data, qint64 size);

} // namespace OsdFileCodec
