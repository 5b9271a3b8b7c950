#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QObject>
#include <QString>
#include <QTemporaryDir>

class OSDItem;
class Quillmere;

// The tests of export and import: a folder for their files, real file dialogs, and a data model
// emptied before each test.
class ExchangeFixture : public QObject
{
    Q_OBJECT

protected slots:
    void initTestCase();
    void init();

protected:
    // Adds a picture item in the current tab through the picture button and its file dialog.
    OSDItem *addPicture(Quillmere &w, const QImage &image);
    // Adds a text item in the current tab as the text window's send does.
    OSDItem *addText(Quillmere &w, const QImage &image, const QColor &color, const QFont &font,
                     const QString &text);
    // Exports every tab to path through the export button and its file dialog.
    void exportTo(Quillmere &w, const QString &path);
    // Writes bytes to the file name in the folder; its path, or empty when it cannot be written.
    QString writeBytes(const QString &name, const QByteArray &bytes);

    QTemporaryDir m_dir;
    int m_fileCounter = 0;
};
