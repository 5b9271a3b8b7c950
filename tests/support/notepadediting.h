#pragma once

#include <QString>

class NotePad;

namespace TestSupport {

// The editor's whole text.
QString documentText(const NotePad &editor);

// Selects from anchor to position, as a drag would.
void select(NotePad &editor, int anchor, int position);

// Puts the cursor at position, with nothing selected.
void placeCursor(NotePad &editor, int position);

} // namespace TestSupport
