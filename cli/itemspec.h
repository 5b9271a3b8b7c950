#pragma once

#include <QColor>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>

// One item to pack, as a picture file on the command line or an entry of a manifest describes it.
// Checked for everything that can be checked without its picture.
struct ItemSpec
{
    // Where the item was described (the picture file or the manifest), for messages.
    QString origin;
    // Position in the packed file, from 0.
    int index = 0;

    bool isText = false;
    // Picture items: the picture file.
    QString picture;
    // Text items: what the text window renders.
    QString text;
    QString family;
    int pointSize = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QColor textColor = QColor(2, 2, 2);
    QSize maxSize;

    QPointF at;
    bool hasCut = false;
    QRect cut;
    bool cutOn = false;
    bool hasKey = false;
    QColor keyBegin = QColor(0, 0, 0);
    QColor keyEnd = QColor(255, 255, 255);
    QColor fill = QColor(0, 0, 0);
    bool fillOn = false;
};
