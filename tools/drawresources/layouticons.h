#pragma once

class QPainter;

// The pictures of screen layout: the toolbar's overview switch (30 x 30 grid) and the property
// panel's six alignment buttons (16 x 16 grid).
namespace LayoutIcons {
void drawOverview(QPainter &p);
void drawAlignLeft(QPainter &p);
void drawAlignHCenter(QPainter &p);
void drawAlignRight(QPainter &p);
void drawAlignTop(QPainter &p);
void drawAlignVCenter(QPainter &p);
void drawAlignBottom(QPainter &p);
} // namespace LayoutIcons
