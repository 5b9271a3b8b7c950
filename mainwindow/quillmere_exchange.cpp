// The list's side of the exchange with OSD files: its records for an export, tabs of imported records.
#include "mainwindow/quillmere.h"

#include "core/document/osddocument.h"
#include "core/geometry/outputscreen.h"
#include "core/pixels/publicbase.h"
#include "core/text/productname.h"
#include "interfaces/device/control.h"
#include "interfaces/model/datamode.h"
#include "interfaces/model/sourcedata.h"
#include "interfaces/model/videocontrolosd.h"
#include "interfaces/records/itemrecords.h"
#include "mainwindow/exchangecontroller.h"
#include "mainwindow/projectcontroller.h"
#include "mainwindow/windowlogging.h"
#include "osditem/osditem.h"
#include "widgets/styled/custommegbox.h"
#include "widgets/styled/tablewidgetex.h"

#include <QDir>
#include <QFileDialog>
#include <QTimer>
#include <memory>

void Quillmere::fillDataModelFromTabs()
{
    // The file is made from the list's value, the road a project and the command-line tool take:
    // new records, not the items' own. The data model holds them until the next export or a reset.
    QList<VideoControlOSD *> records;
    QList<SourceData *> sources;
    ItemRecords::listRecords(projectState(), &records, &sources);
    DataMode::getInstance()->setOSDInfos(records);
    DataMode::getInstance()->setSourcedatList(sources);
}

void Quillmere::initExchange()
{
    ExchangeController::Window hooks;
    hooks.fillDataModel = [this] { fillDataModelFromTabs(); };
    hooks.itemsOffScreen = [this] { return itemsOffScreen(); };
    hooks.screen = [this] { return m_outputScreenSize; };
    hooks.settleUnsavedWork = [this] { return m_project->settleUnsavedWork(); };
    hooks.clearList = [this] { resetTabs(); };
    hooks.rebuild = [this] { rebuildFromDataModel(); };
    hooks.keepClearedList = [this] { markChanged(Step::Import); };
    m_exchange = new ExchangeController(this, hooks);
    connect(m_exchange, &ExchangeController::exported, this, [this](const QString &fileName) {
        markSaved();
        // A project keeps its name in the title; the export is only a copy of what the device needs.
        if (m_project->fileName().isEmpty())
            setWindowTitle(ProductName::windowTitle(fileName));
    });
    connect(m_exchange, &ExchangeController::imported, this, [this](const QString &fileName) {
        // The work is the imported file's now, no longer the project's.
        m_project->forgetFile();
        setWindowTitle(ProductName::windowTitle(fileName));
    });
}

void Quillmere::slot_outputButten()
{
    m_exchange->exportFile();
}

void Quillmere::slot_inputButten()
{
    m_exchange->chooseFilesToImport();
}

bool Quillmere::importFiles(const QStringList &files)
{
    return m_exchange->importFiles(files);
}

void Quillmere::rebuildFromDataModel()
{
    const QList<VideoControlOSD *> records = DataMode::getInstance()->getOSDInfos();
    const QList<SourceData *> sources = DataMode::getInstance()->getSourcedatList();
    if (records.isEmpty() || records.size() != sources.size()) {
        ExchangeController::refuseImport(this);
        return;
    }

    QList<bool> isPicture;
    for (SourceData *source : sources)
        isPicture.append(source == nullptr);

    m_tabWidget->beginBulkInsert();
    for (int i = 0; i < records.size(); ++i) {
        VideoControlOSD *record = records.at(i);
        const QPointF pos(record->location());
        if (i == 0)
            rebuildFirstItem(isPicture.at(i), record->image(), record->size(), record->completionImageWidth(),
                             record, sources.at(i), pos);
        else
            rebuildNextItem(isPicture.at(i), record->image(), record->size(), record->completionImageWidth(),
                            record, sources.at(i), pos);
        // The tab keys further with the fill colour and switch its record came with.
        const int id = entryIdOf(m_tabWidget->count() - 1);
        if (const OsdEntry *entry = m_document->entry(id)) {
            KeyRecipe key = entry->key;
            key.fill = record->selectColor();
            key.enabled = record->IsSelectColor();
            m_document->setKey(id, key);
        }
    }
    m_tabWidget->endBulkInsert();
    m_tabWidget->setCurrentIndex(m_tabWidget->count() - 1);
    QTimer::singleShot(0, this, SLOT(slot_updataAllslider()));
    // Undo gives back the list before the import; the imported list is what is saved.
    markChanged(Step::Import);
    markSaved();
}

OSDItem *Quillmere::makeImportedItem(bool isPicture, const QByteArray &data, const QSize &size,
                                     int completionWidth, VideoControlOSD *record, SourceData *source,
                                     const QPointF &pos)
{
    // The record's pixel data is shown as it is, without a decoded copy: 50 large pictures would
    // not fit into a 32-bit process twice. Only unusual layouts are decoded.
    QImage image = PublicBase::osdDataView(data, size.width(), size.height(), completionWidth);
    if (image.isNull()) {
        const std::unique_ptr<QImage> decoded(
            PublicBase::osdDataToImage(data, size.width(), size.height(), completionWidth));
        if (decoded)
            image = std::move(*decoded);
    }

    OSDItem *item = newItem(image, isPicture);
    if (isPicture) {
        item->setCut(record->CutImageSize());
        item->setShowCutArea(record->IsCanEnableCut() && item->hasCut());
        // A cut switch without a window inside the picture would give the device an empty or
        // shifted window; the preview shows the whole picture, and so must the file.
        if (!item->hasCut()) {
            record->setIsEnableCutImage(false);
            record->setIsCanEnableCut(false);
        }
    }
    item->setHasOriginal(false);
    item->showImages();
    item->setPos(pos);
    item->setVideoControlOSD(record);
    item->setSourceData(source);
    return item;
}

void Quillmere::rebuildFirstItem(bool isPicture, const QByteArray &data, const QSize &size,
                                 int completionWidth, VideoControlOSD *record, SourceData *source,
                                 const QPointF &pos)
{
    addItem(makeImportedItem(isPicture, data, size, completionWidth, record, source, pos), ItemTab::Current);
    qCDebug(lcExchange) << "建立第一次UI界面操作:" << m_tabWidget->currentIndex();
}

void Quillmere::rebuildNextItem(bool isPicture, const QByteArray &data, const QSize &size,
                                int completionWidth, VideoControlOSD *record, SourceData *source,
                                const QPointF &pos)
{
    addItem(makeImportedItem(isPicture, data, size, completionWidth, record, source, pos), ItemTab::New);
    qCDebug(lcExchange) << "建立第N次UI界面操作:" << m_tabWidget->currentIndex();
}
