// Writes the seed corpus of fuzz_osdfile with the project's own writer: OSD files with pictures,
// texts, cuts, fill colours of every colour model and many records, each a few KB at most.
// Usage: make_osdfile_seeds <directory>
#include "interfaces/device/osdfile.h"
#include "interfaces/model/sourcedata.h"
#include "interfaces/model/videocontrolosd.h"

#include <QDir>
#include <QFont>
#include <QGuiApplication>

#include <cstdio>
#include <functional>

namespace {

// The records of one seed, held like the data model holds them.
class Seed
{
public:
    ~Seed()
    {
        for (VideoControlOSD *r : qAsConst(m_records))
            SharedRecord::release(r);
        for (SourceData *s : qAsConst(m_sources))
            SharedRecord::release(s);
    }

    VideoControlOSD *picture(int width, int height)
    {
        auto *r = new VideoControlOSD;
        QByteArray pixels(width * height * 3, Qt::Uninitialized);
        for (int i = 0; i < pixels.size(); ++i)
            pixels[i] = char((i * 37 + width) & 0xFF);
        r->setImage(pixels);
        r->setSize(QSize(width, height));
        r->setCompletionImageWidth(width);
        r->setOSDFileLength(width * height * 3);
        r->setIsAvailable(true);
        add(r, nullptr);
        return r;
    }

    SourceData *text(const QString &content, const QFont &font, const QColor &color)
    {
        VideoControlOSD *r = picture(6, 2);
        r->setRed(255 - color.red());
        r->setGreen(255 - color.green());
        r->setBlue(255 - color.blue());
        auto *s = new SourceData;
        s->setContent(content);
        s->setTextFont(font);
        s->setTextColor(color);
        SharedRecord::retain(s);
        m_sources.last() = s;
        return s;
    }

    bool write(const QString &path) const
    {
        OsdFileError error;
        if (OsdFile::write(path, m_records, m_sources, &error))
            return true;
        std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(error.message()));
        return false;
    }

private:
    void add(VideoControlOSD *r, SourceData *s)
    {
        SharedRecord::retain(r);
        m_records.append(r);
        m_sources.append(s);
    }

    QList<VideoControlOSD *> m_records;
    QList<SourceData *> m_sources;
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "minimal");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <directory>\n", argv[0]);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }

    const std::vector<std::pair<const char *, std::function<void(Seed &)>>> seeds = {
        {"empty", [](Seed &) {}},
        {"picture", [](Seed &s) { s.picture(4, 3)->setLocation(QPoint(12, -7)); }},
        {"picture-cut",
         [](Seed &s) {
             VideoControlOSD *r = s.picture(8, 5);
             r->setCutImageSize(QRect(1, 2, 5, 3));
             r->setIsEnableCutImage(true);
             r->setIsCanEnableCut(true);
         }},
        {"picture-keyed",
         [](Seed &s) {
             VideoControlOSD *r = s.picture(3, 3);
             r->setSelectColor(QColor(10, 200, 30));
             r->setIsSelectColor(true);
         }},
        {"picture-padded",
         [](Seed &s) {
             // Stored rows longer than the picture, as the device may want them.
             VideoControlOSD *r = s.picture(5, 2);
             r->setImage(QByteArray(7 * 2 * 3, '\x40'));
             r->setCompletionImageWidth(7);
         }},
        {"never-set",
         [](Seed &s) {
             VideoControlOSD *r = s.picture(0, 0);
             r->setSize(QSize());
             r->setIsAvailable(false);
         }},
        {"colours",
         [](Seed &s) {
             const QColor colours[] = {QColor(),
                                       QColor::fromHsv(200, 40, 90),
                                       QColor::fromHsl(10, 20, 30, 40),
                                       QColor::fromCmyk(1, 2, 3, 4),
                                       QColor::fromRgbF(0.25, 0.5, 0.75),
                                       QColor(QColor::fromRgbF(0.1, 0.2, 0.3).toExtendedRgb()),
                                       QColor::fromHsv(-1, 0, 128)};
             for (const QColor &c : colours)
                 s.picture(1, 1)->setSelectColor(c);
         }},
        {"text",
         [](Seed &s) {
             QFont font(QStringLiteral("DejaVu Sans"), 24);
             font.setBold(true);
             s.text(QStringLiteral("文本编辑 OSD"), font, QColor(255, 0, 0));
         }},
        {"text-font-details",
         [](Seed &s) {
             QFont font;
             font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Liberation Sans")});
             font.setStyleName(QStringLiteral("Italic"));
             font.setPixelSize(31);
             font.setItalic(true);
             font.setUnderline(true);
             font.setStrikeOut(true);
             font.setFixedPitch(true);
             font.setKerning(false);
             font.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
             font.setWordSpacing(-2);
             font.setCapitalization(QFont::SmallCaps);
             font.setStretch(QFont::Condensed);
             font.setStyleHint(QFont::Monospace, QFont::PreferAntialias);
             font.setHintingPreference(QFont::PreferFullHinting);
             s.text(QStringLiteral("a\nb\tc 😀"), font, QColor::fromHsv(120, 255, 255, 128));
         }},
        {"mixed",
         [](Seed &s) {
             s.picture(2, 2)->setLocation(QPoint(100, 200));
             s.text(QStringLiteral("OSD"), QFont(QStringLiteral("Liberation Serif"), 9), QColor(0, 0, 255));
             VideoControlOSD *r = s.picture(3, 1);
             r->setCutImageSize(QRect(0, 0, 2, 1));
             r->setIsCanEnableCut(true);
         }},
        {"many",
         [](Seed &s) {
             for (int i = 0; i < 60; ++i) {
                 if (i % 7 == 3)
                     s.text(QString::number(i), QFont(), QColor(i, 2 * i, 3 * i));
                 else
                     s.picture(1 + i % 3, 1 + i % 2)->setLocation(QPoint(i, -i));
             }
         }},
    };

    int failures = 0;
    for (const auto &seed : seeds) {
        Seed s;
        seed.second(s);
        if (!s.write(dir.filePath(QString::fromLatin1(seed.first) + QStringLiteral(".pic"))))
            ++failures;
    }
    return failures == 0 ? 0 : 1;
}
