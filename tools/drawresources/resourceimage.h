#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>
#include <QVector>

class QPainter;

// A place where an image appears: the colour behind it and the size the widget shows it at
// (a tab's close button, for one, scales its 16 x 16 image into 12 x 12).
struct Backdrop
{
    QColor colour;
    int shownSize = 0; // 0: the image's own 1x size
};

// One PNG of the editor's resources: where it goes, how large it is and how it is drawn.
// Draw functions work in the units of the 1x size; a @2x twin is the same drawing at scale 2,
// so it is sharp rather than an enlarged copy.
struct ResourceImage
{
    using DrawFunction = void (*)(QPainter &);

    QString path;   // below app/res
    QSize baseSize; // size at scale 1
    int scale = 1;  // 2 for the @2x twins
    DrawFunction draw = nullptr;
    QVector<Backdrop> backdrops; // where the image appears in the editor, for the contact sheet

    QSize pixelSize() const { return baseSize * scale; }
};

QVector<ResourceImage> resourceImages();

// Renders one image on a transparent canvas, antialiased, at its exact pixel size.
QImage renderResource(const ResourceImage &resource);
