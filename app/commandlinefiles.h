#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// The OSD files named on the editor's command line (as the desktop entry passes them). Each is
// read and checked alone, so that one that cannot be opened keeps none of the others out.
class CommandLineFiles
{
    Q_DECLARE_TR_FUNCTIONS(CommandLineFiles)

public:
    struct Checked
    {
        QStringList readable; // in the order given
        QStringList refusals; // "file: reason", one for each file left out
    };
    static Checked check(const QStringList &files);

    // What the operator reads about the files left out, in one message.
    static QString report(const QStringList &refusals);
};
