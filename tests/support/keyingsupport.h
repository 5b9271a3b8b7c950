#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QString>

class OSDItem;
class Quillmere;
class VideoControlOSD;

namespace TestSupport {

// What the colour swatches carry after their background colour.
extern const QString kSwatchBorder;

// The item, its shown pixmap and its record all carry image.
void verifyItemShows(OSDItem *item, VideoControlOSD *record, const QImage &image, const QColor &fill,
                     bool keyingOn);

// Moves the mouse over the current tab's view as the window system would, at the item pixel p.
void hoverAt(Quillmere &w, const QPoint &p);

// Clicks the current tab's view at the item pixel p.
void clickAt(Quillmere &w, const QPoint &p);

// Answers the next colour dialog with color, or cancels it when color is invalid.
void answerColourDialog(const QColor &color);

// Shows the main window and lets it settle.
void showWindow(Quillmere &w);

} // namespace TestSupport
