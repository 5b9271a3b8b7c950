#include "support/core/randomrecords.h"

namespace TestSupport {

QByteArray randomBytes(QRandomGenerator &rng, int n)
{
    QByteArray b(n, Qt::Uninitialized);
    for (int i = 0; i < n; ++i)
        b[i] = char(rng.bounded(256));
    return b;
}

QColor randomColor(QRandomGenerator &rng)
{
    switch (rng.bounded(6)) {
    case 0:
        return QColor();
    case 1:
        return QColor(rng.bounded(256), rng.bounded(256), rng.bounded(256), rng.bounded(256));
    case 2:
        return QColor::fromRgba64(quint16(rng.bounded(65536)), quint16(rng.bounded(65536)),
                                  quint16(rng.bounded(65536)), quint16(rng.bounded(65536)));
    case 3:
        return QColor::fromHsv(rng.bounded(360), rng.bounded(256), rng.bounded(256));
    case 4:
        return QColor::fromHsl(rng.bounded(360), rng.bounded(256), rng.bounded(256), rng.bounded(256));
    default:
        return QColor::fromCmyk(rng.bounded(256), rng.bounded(256), rng.bounded(256), rng.bounded(256));
    }
}

QFont randomFont(QRandomGenerator &rng)
{
    static const char *const families[] = {"DejaVu Sans", "Noto Sans CJK SC", "Liberation Serif", "宋体", ""};
    QFont font(QString::fromUtf8(families[rng.bounded(5)]));
    if (rng.bounded(2))
        font.setPointSizeF(1 + rng.bounded(2000) / 10.0);
    else
        font.setPixelSize(1 + rng.bounded(300));
    if (rng.bounded(2))
        font.setWeight(rng.bounded(100));
    font.setItalic(rng.bounded(2));
    font.setUnderline(rng.bounded(2));
    if (rng.bounded(3) == 0)
        font.setStrikeOut(true);
    if (rng.bounded(4) == 0)
        font.setLetterSpacing(QFont::AbsoluteSpacing, rng.bounded(100) / 8.0);
    return font;
}

QString randomText(QRandomGenerator &rng)
{
    static const char *const texts[] = {"", "OSD", "欢迎光临", "第一行\n第二行", "emoji 😀 and ß", "\t  "};
    return QString::fromUtf8(texts[rng.bounded(6)]);
}

// A record as the editor builds it (consistent sizes), with every other field random.
VideoControlOSD *randomRecord(QRandomGenerator &rng, HeldRecords &held)
{
    auto *r = held.record(new VideoControlOSD);
    const int w = rng.bounded(0, 20);
    const int h = rng.bounded(0, 20);
    const int cw = rng.bounded(4) == 0 ? rng.bounded(0, 25) : w;
    r->setImage(randomBytes(rng, h * cw * 3));
    r->setSize(QSize(w, h));
    r->setCompletionImageWidth(cw);
    r->setOSDFileLength(rng.bounded(3) == 0 ? int(rng.generate()) : w * h * 3);
    r->setLocation(QPoint(int(rng.generate()), int(rng.generate())));
    if (rng.bounded(3) == 0)
        r->setCutImageSize(QRect());
    else
        r->setCutImageSize(QRect(QPoint(int(rng.generate()), int(rng.generate())),
                                 QPoint(int(rng.generate()), int(rng.generate()))));
    r->setIsEnableCutImage(rng.bounded(2));
    r->setIsCanEnableCut(rng.bounded(2));
    r->setIsAvailable(rng.bounded(2));
    r->setRed(rng.bounded(-1, 256));
    r->setGreen(rng.bounded(-1, 256));
    r->setBlue(rng.bounded(-1, 256));
    if (rng.bounded(2))
        r->setSelectColor(randomColor(rng));
    r->setIsSelectColor(rng.bounded(2));
    return r;
}

SourceData *randomSource(QRandomGenerator &rng, HeldRecords &held)
{
    auto *s = held.source(new SourceData);
    s->setContent(randomText(rng));
    s->setTextFont(randomFont(rng));
    s->setTextColor(randomColor(rng));
    return s;
}

} // namespace TestSupport
