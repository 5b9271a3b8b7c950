#include "cli/itembuilder.h"

#include "core/geometry/cutgeometry.h"
#include "core/pixels/colorkeyer.h"
#include "core/pixels/pictureloader.h"
#include "core/pixels/rasterform.h"
#include "core/text/textrenderer.h"
#include "interfaces/model/sourcedata.h"
#include "interfaces/model/videocontrolosd.h"
#include "interfaces/records/itemrecords.h"

#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>

#include <algorithm>

namespace {

// Takes over a new record or source: the result holds it.
template <typename T> T *held(T *record)
{
    SharedRecord::retain(record);
    return record;
}

// The cut panel takes windows of at least 64 × 64 pixels, or the whole side of a smaller picture.
QString cutProblem(const QRect &cut, const QSize &picture)
{
    if (!CutGeometry::fitsInside(cut, picture))
        return QStringLiteral("the cut window %1,%2,%3x%4 is not inside the %5x%6 picture")
            .arg(cut.x())
            .arg(cut.y())
            .arg(cut.width())
            .arg(cut.height())
            .arg(picture.width())
            .arg(picture.height());
    const int minWidth = std::min(CutGeometry::MinimumFieldExtent, picture.width());
    const int minHeight = std::min(CutGeometry::MinimumFieldExtent, picture.height());
    if (cut.width() < minWidth || cut.height() < minHeight)
        return QStringLiteral("the cut window %1x%2 is under the smallest window the editor cuts (%3x%4)")
            .arg(cut.width())
            .arg(cut.height())
            .arg(minWidth)
            .arg(minHeight);
    return QString();
}

// Keys the item's source picture, and cuts, as the editor's sliders and cut panel do.
void keyAndCut(const ItemSpec &spec, const QImage &source, ItemBuilder::Result *result)
{
    QImage whole = source;
    if (spec.hasKey) {
        ColorKeyer::Keyed keyed = ColorKeyer::keyed(source, spec.keyBegin, spec.keyEnd, spec.fill, true);
        ItemRecords::writeKeyed(result->record, keyed.image, keyed.osdData, keyed.completionWidth, spec.fill,
                                spec.fillOn);
        whole = keyed.image;
    }
    if (spec.hasCut) {
        VideoControlOSD *cut = held(ItemRecords::cutRecord(whole, spec.cut, spec.cutOn, result->record));
        SharedRecord::release(result->record);
        result->record = cut;
    }
}

} // namespace

void ItemBuilder::Result::release()
{
    SharedRecord::release(record);
    SharedRecord::release(source);
    record = nullptr;
    source = nullptr;
}

QString ItemBuilder::renderFamily(const QString &wanted, bool *substituted)
{
    const QStringList families = QFontDatabase().families();
    for (const QString &family : families) {
        if (family.compare(wanted, Qt::CaseInsensitive) == 0) {
            *substituted = false;
            return family;
        }
    }
    *substituted = true;
    return QFontInfo(QFont(wanted)).family();
}

void ItemBuilder::build(const ItemSpec &spec, Result *result, bool keepPicture)
{
    if (spec.isText) {
        bool substituted = false;
        const QString family =
            renderFamily(spec.family.isEmpty() ? defaultFamily() : spec.family, &substituted);
        const QFont font = TextRenderer::makeFont(family, QString::number(spec.pointSize), spec.bold,
                                                  spec.italic, spec.underline);
        const QSize maxSize = spec.maxSize.isValid() ? spec.maxSize : ItemRecords::defaultTextMaxSize();
        const TextRenderer::Result rendered = TextRenderer::render(spec.text, font, spec.textColor, maxSize);
        // Only line breaks draw nothing; the text window refuses to send that.
        if (rendered.image.isNull()) {
            // The text window's words, so the tool and the editor refuse alike.
            result->error = QCoreApplication::translate("ExportTextImage", "输入的信息为空不能发送文本!");
            return;
        }
        result->record = held(ItemRecords::textRecord(rendered.image, spec.textColor));
        result->source = held(ItemRecords::textSource(spec.textColor, font, rendered.text));
        if (keepPicture)
            result->picture = rendered.image;
        // The text item keys the picture it was handed.
        keyAndCut(spec, rendered.image, result);
    } else {
        QString reason;
        QImage decoded =
            PictureLoader::load(spec.picture, &reason, keepPicture ? &result->original : nullptr);
        if (decoded.isNull()) {
            // Named once: a picture given on the command line is already the item's origin.
            result->error =
                spec.picture == spec.origin
                    ? reason
                    : QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(spec.picture), reason);
            return;
        }
        const QImage picture = RasterForm::convert(std::move(decoded));
        if (spec.hasCut) {
            const QString problem = cutProblem(spec.cut, picture.size());
            if (!problem.isEmpty()) {
                result->error = problem;
                return;
            }
        }
        result->record = held(ItemRecords::pictureRecord(picture));
        keyAndCut(spec, picture, result);
    }
    result->record->setLocation(ItemRecords::location(spec.at));
    // The file stores the pixel data only; the picture itself is not needed any more.
    result->record->setPImageValue(nullptr);
}
