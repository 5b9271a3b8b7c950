#pragma once

class QPainter;

// The text window's format and send actions, drawn on a 32 x 32 grid for its dark toolbar.
// Letters are built from strokes rather than a font, so the result does not depend on the
// fonts installed where the tool runs.
namespace TextIcons {
void drawBold(QPainter &p);
void drawItalic(QPainter &p);
void drawUnderline(QPainter &p);
void drawSend(QPainter &p);
} // namespace TextIcons
