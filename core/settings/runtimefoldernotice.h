#pragma once

#include <QtGlobal>

class QString;

// Qt's start-up notice that XDG_RUNTIME_DIR is not set (as under su, in containers and in most
// pipelines) says nothing about the product's work: Qt goes on with a folder of its own. It must not
// be the first thing an operator reads. Every other message still goes to the handler before.
class RuntimeFolderNotice
{
public:
    static bool matches(QtMsgType type, const QString &message);
    // Installs a message handler that drops the notice and passes everything else on. Call before
    // the application object exists: Qt gives the notice while it starts.
    static void filterOut();
};
