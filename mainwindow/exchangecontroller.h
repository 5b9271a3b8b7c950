#pragma once

#include <QObject>
#include <QSize>
#include <QStringList>

#include <functional>

class QWidget;

// The exchange with OSD files: export of the list into a .pic or .logo file and import of such
// files into it, with their questions, file dialogs and messages, through the device control and
// the data model. The window lays the list's records into the data model and makes tabs of imported
// records; everything between is here.
class ExchangeController : public QObject
{
    Q_OBJECT
public:
    // What the exchange needs of the window.
    struct Window
    {
        // The list's records and text sources into the data model, in tab order.
        std::function<void()> fillDataModel;
        // "OSD3" and the like for every item not wholly on the output screen.
        std::function<QStringList()> itemsOffScreen;
        std::function<QSize()> screen;
        // Unsaved work offered for saving before it is replaced; false to stay.
        std::function<bool()> settleUnsavedWork;
        // The list emptied to one empty tab, before the records are loaded.
        std::function<void()> clearList;
        // Tabs made of the data model's records.
        std::function<void()> rebuild;
        // A file failed after the list was emptied: that is a step to undo.
        std::function<void()> keepClearedList;
    };

    ExchangeController(QWidget *window, Window hooks);

    // Asks for a file name and exports the list into it; false when nothing was written.
    bool exportFile();
    // Asks for files and imports them.
    void chooseFilesToImport();
    // Reads and checks every file first: a bad one leaves the list as it is and is named in a
    // warning. False when nothing was imported.
    bool importFiles(const QStringList &files);

    // Says that the files held nothing to make tabs of.
    static void refuseImport(QWidget *window);

signals:
    void exported(const QString &fileName);
    void imported(const QString &fileName);

private:
    QWidget *m_window;
    Window m_hooks;
};
