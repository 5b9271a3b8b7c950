#pragma once

class QPainter;

// The main toolbar's pictures, drawn on a 30 x 30 grid.
namespace ToolbarIcons {
void drawNew(QPainter &p);
void drawImport(QPainter &p);
void drawExport(QPainter &p);
void drawPicture(QPainter &p);
void drawText(QPainter &p);
void drawOpen(QPainter &p);
void drawRecent(QPainter &p);
void drawSave(QPainter &p);
void drawSaveAs(QPainter &p);
} // namespace ToolbarIcons
