// Export of the tabs into an OSD file and import of OSD files into tabs.
#include "mainwindow/quillmere.h"

void Quillmere::slot_inputButten() {}
void Quillmere::slot_outputButten() {}
