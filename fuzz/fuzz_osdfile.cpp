// libFuzzer target for the OSD file reader: arbitrary bytes go into OsdFile::decode, the code that
// Control::loadOSDfile runs on every file. Whatever the reader accepts must survive the writer and
// come back equal, and every record it creates must be freed again.
#include "interfaces/osdfile.h"
#include "interfaces/sourcedata.h"
#include "interfaces/videocontrolosd.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QtEndian>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void failCheck(const char *what, int line)
{
    std::fprintf(stderr, "fuzz_osdfile: check failed at line %d: %s\n", line, what);
    std::abort();
}

#define REQUIRE(condition)                                                                                   \
    do {                                                                                                     \
        if (!(condition))                                                                                    \
            failCheck(#condition, __LINE__);                                                                 \
    } while (false)

// Bit for bit: two colours that compare equal may still be stored differently.
bool sameColor(const QColor &a, const QColor &b)
{
    return a.spec() == b.spec() && a.rgba64() == b.rgba64() && a == b;
}

bool sameRect(const QRect &a, const QRect &b)
{
    return a.topLeft() == b.topLeft() && a.bottomRight() == b.bottomRight();
}

void compareRecords(const VideoControlOSD *a, const VideoControlOSD *b)
{
    REQUIRE(a->image() == b->image());
    REQUIRE(a->size() == b->size());
    REQUIRE(a->completionImageWidth() == b->completionImageWidth());
    REQUIRE(a->OSDFileLength() == b->OSDFileLength());
    REQUIRE(a->location() == b->location());
    REQUIRE(sameRect(a->CutImageSize(), b->CutImageSize()));
    REQUIRE(a->IsEnableCutImage() == b->IsEnableCutImage());
    REQUIRE(a->IsCanEnableCut() == b->IsCanEnableCut());
    REQUIRE(a->IsAvailable() == b->IsAvailable());
    REQUIRE(a->red() == b->red() && a->green() == b->green() && a->blue() == b->blue());
    REQUIRE(sameColor(a->selectColor(), b->selectColor()));
    REQUIRE(a->IsSelectColor() == b->IsSelectColor());
}

void compareSources(const SourceData *a, const SourceData *b)
{
    REQUIRE((a == nullptr) == (b == nullptr));
    if (!a)
        return;
    REQUIRE(a->getContent() == b->getContent());
    REQUIRE(a->getTextFont() == b->getTextFont());
    REQUIRE(a->getTextFont().resolve() == b->getTextFont().resolve());
    REQUIRE(sameColor(a->getTextColor(), b->getTextColor()));
}

// What a decoded record promises to its users (the import rebuilds images from these fields).
void checkRecord(const VideoControlOSD *r)
{
    REQUIRE(r != nullptr);
    REQUIRE(r->holderCount() == 1);
    REQUIRE(r->pImageValue() == nullptr);
    const QSize size = r->size();
    REQUIRE(size.width() >= -1 && size.width() <= OsdFile::MaxDimension);
    REQUIRE(size.height() >= -1 && size.height() <= OsdFile::MaxDimension);
    REQUIRE(r->completionImageWidth() >= 0 && r->completionImageWidth() <= OsdFile::MaxDimension);
    const qint64 expected = size.height() > 0 ? qint64(size.height()) * r->completionImageWidth() * 3 : 0;
    REQUIRE(r->image().size() == expected);
}

void checkOne(const QByteArray &bytes)
{
    const int live = SharedRecord::liveCount();
    {
        OsdFile::Contents contents;
        QString error;
        if (!OsdFile::decode(bytes, &contents, &error)) {
            REQUIRE(!error.isEmpty());
            REQUIRE(contents.count() == 0 && contents.sources().isEmpty());
        } else {
            REQUIRE(contents.records().size() == contents.sources().size());
            for (int i = 0; i < contents.count(); ++i) {
                checkRecord(contents.records().at(i));
                if (const SourceData *s = contents.sources().at(i))
                    REQUIRE(s->holderCount() == 1);
            }

            // Nothing is read that the writer would refuse, and one round through the writer is a
            // fixed point: the same records come back, and writing them again gives the same bytes.
            QByteArray again;
            QString writeError;
            REQUIRE(OsdFile::encode(contents.records(), contents.sources(), &again, &writeError));
            OsdFile::Contents reread;
            QString readError;
            REQUIRE(OsdFile::decode(again, &reread, &readError));
            REQUIRE(reread.count() == contents.count());
            for (int i = 0; i < contents.count(); ++i) {
                compareRecords(reread.records().at(i), contents.records().at(i));
                compareSources(reread.sources().at(i), contents.sources().at(i));
            }
            QByteArray third;
            REQUIRE(OsdFile::encode(reread.records(), reread.sources(), &third, &writeError));
            REQUIRE(third == again);
        }
    }
    REQUIRE(SharedRecord::liveCount() == live);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Fonts take their defaults from the GUI application, as they do in the editor; nothing is
    // drawn, so the minimal platform will do. Qt gets arguments of its own, so that it cannot take
    // any of the fuzzer's.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "minimal");
    static int argc = 1;
    static char name[] = "fuzz_osdfile";
    static char *argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > size_t(OsdFile::MaxInMemorySize))
        return 0;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    checkOne(bytes);

    // Nearly every mutation breaks the stated length or the checksum, which the reader checks
    // first. The same bytes sealed again reach the record fields.
    if (size >= size_t(OsdFile::HeaderSize + OsdFile::TrailerSize)) {
        QByteArray sealed(reinterpret_cast<const char *>(data), int(size));
        qToLittleEndian(quint32(size), sealed.data() + 12);
        const quint32 crc = OsdFile::crc32(sealed.constData(), sealed.size() - OsdFile::TrailerSize);
        qToLittleEndian(crc, sealed.data() + sealed.size() - OsdFile::TrailerSize);
        if (sealed != bytes)
            checkOne(sealed);
    }
    return 0;
}
