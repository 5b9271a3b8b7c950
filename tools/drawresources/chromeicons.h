#pragma once

class QPainter;

// Small 16 x 16 (and 12 x 12) pictures of the window chrome: scroll-bar arrows, tab buttons,
// check marks, the combo arrow and the cut panel's window icon.
namespace ChromeIcons {

// Main scroll bars (bar rgb(79,79,79)). The style sheet shows the "pressed" file at rest and
// the "normal" file while the button is held, so "Rest" and "Held" name what the operator sees.
void drawScrollLeftRest(QPainter &p);
void drawScrollRightRest(QPainter &p);
void drawScrollUpRest(QPainter &p);
void drawScrollDownRest(QPainter &p);
void drawScrollLeftHeld(QPainter &p);
void drawScrollRightHeld(QPainter &p);
void drawScrollUpHeld(QPainter &p);
void drawScrollDownHeld(QPainter &p);

// Cut panel scroll bars (bar rgb(24,24,24)).
void drawCutTopNormal(QPainter &p);
void drawCutBottomNormal(QPainter &p);
void drawCutLeftNormal(QPainter &p);
void drawCutRightNormal(QPainter &p);
void drawCutTopHover(QPainter &p);
void drawCutBottomHover(QPainter &p);
void drawCutLeftHover(QPainter &p);
void drawCutRightHover(QPainter &p);

void drawChecked(QPainter &p);
void drawTabClose(QPainter &p);
void drawTabCloseHover(QPainter &p);
void drawTabAdd(QPainter &p);
void drawTabRemoveAll(QPainter &p);
void drawComboDown(QPainter &p);
void drawSpinUp(QPainter &p);
void drawSpinDown(QPainter &p);
void drawCutWindowIcon(QPainter &p);

} // namespace ChromeIcons
