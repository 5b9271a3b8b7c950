#pragma once

#include <QString>

// The widgets' long style sheets live in the resources (app/qss/), one rule per line.
class StyleSheet
{
public:
    // The sheet ":/qss/<name>.qss" with its line ends dropped, so that it reads as one line, as
    // Qt's style sheet parser does not need them. Warns and gives an empty sheet when the resource
    // is missing (an executable that does not link the resources).
    static QString load(const char *name);
};
