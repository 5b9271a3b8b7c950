#include "contactsheet.h"

#include <QFont>
#include <QPainter>

namespace {
const int kSheetWidth = 1500;
const int kGap = 12;
const int kLabelHeight = 18;
const int kMagnifiedSpan = 4;

struct Entry
{
    const ResourceImage *resource;
    QImage image;
    QSize blockSize;
};

int tileWidth(const ResourceImage &r)
{
    return r.baseSize.width() * kMagnifiedSpan + r.baseSize.width() + 3 * 8;
}

int tileHeight(const ResourceImage &r)
{
    return r.baseSize.height() * kMagnifiedSpan + 16;
}

void drawTile(QPainter &p, const QRect &tile, const Backdrop &backdrop, const Entry &entry)
{
    p.fillRect(tile, backdrop.colour);
    const ResourceImage &r = *entry.resource;
    const QSize base = r.baseSize;
    // Real size, as the widget shows it on a standard-density screen.
    const QSize shown = backdrop.shownSize > 0 ? QSize(backdrop.shownSize, backdrop.shownSize) : base;
    QImage actual = entry.image;
    if (actual.size() != shown)
        actual = entry.image.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    p.drawImage(QPoint(tile.left() + 8, tile.top() + 8), actual);
    const QSize magnified = base * kMagnifiedSpan;
    p.drawImage(QRect(QPoint(tile.left() + 16 + base.width(), tile.top() + 8), magnified), entry.image);
}
} // namespace

QImage renderContactSheet(const QVector<ResourceImage> &resources, const QString &resourceRoot)
{
    QVector<Entry> entries;
    for (const ResourceImage &r : resources) {
        Entry entry{&r, QImage(resourceRoot + QLatin1Char('/') + r.path), QSize()};
        const int tiles = r.backdrops.size();
        entry.blockSize = QSize(qMax(tiles * (tileWidth(r) + 4), 220), kLabelHeight + tileHeight(r));
        entries.append(entry);
    }

    // Flow the blocks into rows of the sheet's width.
    QVector<QPoint> origins;
    int x = kGap, y = kGap, rowHeight = 0;
    for (const Entry &entry : entries) {
        if (x + entry.blockSize.width() > kSheetWidth - kGap && x > kGap) {
            x = kGap;
            y += rowHeight + kGap;
            rowHeight = 0;
        }
        origins.append(QPoint(x, y));
        x += entry.blockSize.width() + kGap;
        rowHeight = qMax(rowHeight, entry.blockSize.height());
    }
    const int height = y + rowHeight + kGap;

    QImage sheet(kSheetWidth, height, QImage::Format_RGB32);
    sheet.fill(QColor(18, 18, 18));
    QPainter p(&sheet);
    QFont font = p.font();
    font.setPixelSize(11);
    p.setFont(font);
    for (int i = 0; i < entries.size(); ++i) {
        const Entry &entry = entries.at(i);
        const QPoint origin = origins.at(i);
        p.setPen(entry.image.isNull() ? QColor(255, 80, 80) : QColor(200, 200, 200));
        const QString size = QStringLiteral(" %1x%2").arg(entry.image.width()).arg(entry.image.height());
        p.drawText(QRect(origin, QSize(entry.blockSize.width(), kLabelHeight)), Qt::AlignLeft | Qt::AlignTop,
                   entry.resource->path + (entry.image.isNull() ? QStringLiteral(" MISSING") : size));
        int tileX = origin.x();
        for (const Backdrop &backdrop : entry.resource->backdrops) {
            const QRect tile(tileX, origin.y() + kLabelHeight, tileWidth(*entry.resource),
                             tileHeight(*entry.resource));
            drawTile(p, tile, backdrop, entry);
            tileX += tile.width() + 4;
        }
    }
    p.end();
    return sheet;
}
