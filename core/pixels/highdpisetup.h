#pragma once

// How the editor meets screens of more than 96 dots per inch. Call before the application object
// exists: Qt reads these settings only while it builds the first QGuiApplication.
class HighDpiSetup
{
public:
    static void prepare();
};
