// Opening the text image window, fresh or for re-editing a text item.
#include "mainwindow/quillmere.h"

void Quillmere::slot_textButten() {}
void Quillmere::slot_loadingText() {}
