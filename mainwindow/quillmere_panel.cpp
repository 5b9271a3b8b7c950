// The property panel: keying switch, reset, picked colour, key ranges and fill colour.
#include "mainwindow/quillmere.h"

void Quillmere::initPropertyPanel() {}
