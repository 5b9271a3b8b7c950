#pragma once

#include "support/exchangefixture.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

class Quillmere;

// Every kind of change an operator makes to the list, done through the window as the operator does
// it, and the ways to compare two moments of the list: the file it exports, the tab titles, what
// the previews show and the keying panel.
class EditingSteps : public ExchangeFixture
{
    Q_OBJECT

protected:
    // Columns prepare, step and undoText: one row per kind of change, with the step's undo text.
    static void addStepRows();
    // The list the steps start from: OSD1 a picture (current), OSD2 a text.
    bool startList(Quillmere &w);
    // Does one step by its name in the rows; importPath is the file the import step reads.
    void doStep(Quillmere &w, const QString &what, const QString &importPath);

    QByteArray exported(Quillmere &w);
    static QStringList titles(Quillmere &w);
    static QList<QImage> shown(Quillmere &w);
    // Every entry's recipe, then the keying controls: ranges, their numbers and the switch.
    static QString panel(Quillmere &w);
    // Where an item's picture, place, cut or cut view is not its entry's; empty while all agree.
    static QString itemsAgainstEntries(Quillmere &w);
};
