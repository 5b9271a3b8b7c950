#include "interfaces/device/osdfile_codec.h"

#include <QDataStream>

#include <cmath>

namespace OsdFileCodec {

RawColor rawColor(const QColor &color)
{
    QByteArray bytes;
    {
        QDataStream s(&bytes, QIODevice::WriteOnly);
        s.setVersion(QDataStream::Qt_5_15);
        s << color;
    }
    RawColor raw;
    QDataStream s(bytes);
    s.setVersion(QDataStream::Qt_5_15);
    qint8 spec = 0;
    s >> spec;
    raw.spec = quint8(spec);
    for (quint16 &v : raw.value)
        s >> v;
    return raw;
}

bool validRawColor(const RawColor &raw)
{
    switch (raw.spec) {
    case QColor::Invalid:
        return raw.value[0] == 0xFFFF && raw.value[1] == 0 && raw.value[2] == 0 && raw.value[3] == 0 &&
               raw.value[4] == 0;
    case QColor::Hsv:
    case QColor::Hsl:
        // The hue is kept in hundredths of a degree; 0xFFFF marks an achromatic colour.
        return raw.value[1] < 36000 || raw.value[1] == 0xFFFF;
    case QColor::Rgb:
    case QColor::Cmyk:
        return true;
    case QColor::ExtendedRgb:
        // Alpha, red, green and blue are half-precision floats; a NaN or an infinity (all exponent
        // bits set) would make the colour unequal to itself and meaningless to the device.
        for (int k = 0; k < 4; ++k) {
            if ((raw.value[k] & 0x7C00) == 0x7C00)
                return false;
        }
        return true;
    default:
        return false;
    }
}

QColor colorFromRaw(const RawColor &raw)
{
    QByteArray bytes;
    {
        QDataStream s(&bytes, QIODevice::WriteOnly);
        s.setVersion(QDataStream::Qt_5_15);
        s << qint8(raw.spec);
        for (quint16 v : raw.value)
            s << v;
    }
    QDataStream s(bytes);
    s.setVersion(QDataStream::Qt_5_15);
    QColor color;
    s >> color;
    return color;
}

FontFields fontFields(const QFont &font)
{
    FontFields f;
    f.resolveMask = font.resolve();
    f.family = font.family();
    f.styleName = font.styleName();
    f.families = font.families();
    f.pointSize = font.pointSizeF();
    f.pixelSize = font.pixelSize();
    f.weight = quint8(qBound(0, font.weight(), 255));
    f.style = quint8(font.style());
    f.styleHint = quint8(font.styleHint());
    f.styleStrategy = quint16(font.styleStrategy());
    f.stretch = quint16(qBound(0, font.stretch(), 65535));
    f.capitalization = quint8(font.capitalization());
    f.letterSpacingType = quint8(font.letterSpacingType());
    f.letterSpacing = font.letterSpacing();
    f.wordSpacing = font.wordSpacing();
    f.hintingPreference = quint8(font.hintingPreference());
    f.flags = (font.underline() ? UnderlineFlag : 0) | (font.overline() ? OverlineFlag : 0) |
              (font.strikeOut() ? StrikeOutFlag : 0) | (font.fixedPitch() ? FixedPitchFlag : 0) |
              (font.kerning() ? KerningFlag : 0);
    return f;
}

OsdFileError fontFieldsProblem(const FontFields &f)
{
    if (f.resolveMask & ~KnownResolveBits)
        return OsdFileError::BadFontResolveMask;
    const bool pointSized = f.pointSize > 0 && std::isfinite(f.pointSize) && f.pointSize <= 1e6;
    const bool pixelSized = f.pixelSize > 0 && f.pixelSize <= 1000000;
    const bool pointUnset = f.pointSize == -1;
    const bool pixelUnset = f.pixelSize == -1;
    if (!((pointSized && pixelUnset) || (pixelSized && pointUnset) || (pointUnset && pixelUnset)))
        return OsdFileError::BadFontSize;
    if (f.weight > 99)
        return {OsdFileError::BadFontWeight, {f.weight}};
    if (f.style > QFont::StyleOblique)
        return {OsdFileError::BadFontStyle, {f.style}};
    if (f.styleHint > QFont::Fantasy)
        return {OsdFileError::BadFontStyleHint, {f.styleHint}};
    if (f.styleStrategy & ~KnownStyleStrategyBits)
        return OsdFileError::BadFontStyleStrategy;
    if (f.stretch > 4000)
        return {OsdFileError::BadFontStretch, {f.stretch}};
    if (f.capitalization > QFont::Capitalize)
        return {OsdFileError::BadCapitalization, {f.capitalization}};
    if (f.letterSpacingType > QFont::AbsoluteSpacing || !std::isfinite(f.letterSpacing) ||
        std::fabs(f.letterSpacing) > 1e6 || !std::isfinite(f.wordSpacing) || std::fabs(f.wordSpacing) > 1e6)
        return OsdFileError::BadFontSpacing;
    if (f.hintingPreference > QFont::PreferFullHinting)
        return {OsdFileError::BadHintingPreference, {f.hintingPreference}};
    if (f.flags & ~KnownFontFlags)
        return OsdFileError::BadFontFlags;
    return OsdFileError();
}

QFont fontFromFields(const FontFields &f)
{
    QFont font;
    font.setFamily(f.family);
    font.setFamilies(f.families);
    font.setStyleName(f.styleName);
    if (f.pixelSize > 0)
        font.setPixelSize(f.pixelSize);
    else if (f.pointSize > 0)
        font.setPointSizeF(f.pointSize);
    font.setWeight(f.weight);
    font.setStyle(QFont::Style(f.style));
    font.setStyleHint(QFont::StyleHint(f.styleHint), QFont::StyleStrategy(f.styleStrategy));
    font.setStretch(f.stretch);
    font.setCapitalization(QFont::Capitalization(f.capitalization));
    font.setLetterSpacing(QFont::SpacingType(f.letterSpacingType), f.letterSpacing);
    font.setWordSpacing(f.wordSpacing);
    font.setHintingPreference(QFont::HintingPreference(f.hintingPreference));
    font.setUnderline(f.flags & UnderlineFlag);
    font.setOverline(f.flags & OverlineFlag);
    font.setStrikeOut(f.flags & StrikeOutFlag);
    font.setKerning(f.flags & KerningFlag);
    // Setting the pitch also stops the font from ignoring it, so only a font that had it set
    // explicitly gets it.
    if (f.resolveMask & QFont::FixedPitchResolved)
        font.setFixedPitch(f.flags & FixedPitchFlag);
    font.resolve(f.resolveMask);
    return font;
}

bool isValidUtf8(const char *data, qint64 size)
{
    const auto *p = reinterpret_cast<const uchar *>(data);
    const uchar *end = p + size;
    while (p < end) {
        const uchar c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int extra;
        uint lowest;
        uint cp;
        if ((c & 0xE0) == 0xC0) {
            extra = 1;
            lowest = 0x80;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            lowest = 0x800;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            lowest = 0x10000;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (end - p <= extra)
            return false;
        for (int k = 1; k <= extra; ++k) {
            if ((p[k] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (p[k] & 0x3F);
        }
        if (cp < lowest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        p += extra + 1;
    }
    return true;
}

} // namespace OsdFileCodec
