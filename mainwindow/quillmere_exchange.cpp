// Export of the tabs into an OSD file and import of OSD files into tabs.
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
#include "mainwindow/projectcontroller.h"
#include "mainwindow/windowlogging.h"
#include "osditem/osditem.h"
#include "widgets/styled/custommegbox.h"
#include "widgets/styled/tablewidgetex.h"

#include <QDir>
#include <QFileDialog>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QTimer>
#include <memory>

namespace {
// The rebuild needs at least one record and a text source entry (maybe null) for each.
bool isImportable(int records, int sources)
{
    return records > 0 && records == sources;
}

void refuseImport(QWidget *parent)
{
    CustomMegBox::waringMessageBox(parent, Quillmere::tr("错误提示"),
                                   Quillmere::tr("OSD数据为空或者OSD数据有误,此次导入无效!"),
                                   Quillmere::tr("OK"));
}
} // namespace

void Quillmere::fillDataModelFromTabs()
{
    QList<VideoControlOSD *> records;
    QList<SourceData *> sources;
    for (int i = 0; i < m_tabWidget->count(); ++i) {
        qCDebug(lcExchange) << "当前序号: " << i << ".保存的indexof是多少"
                            << m_tabWidget->indexOf(m_tabWidget->widget(i));
        auto *view = qobject_cast<QGraphicsView *>(m_tabWidget->widget(i));
        if (!view || !view->scene())
            continue;
        const QList<QGraphicsItem *> items = view->scene()->items();
        for (QGraphicsItem *graphicsItem : items) {
            auto *item = qgraphicsitem_cast<OSDItem *>(graphicsItem);
            if (!item || !item->videoControlOSD())
                continue;
            VideoControlOSD *record = item->videoControlOSD();
            const OsdEntry *entry = m_document->entry(entryIdOf(i));
            record->setLocation(entry ? entry->position : ItemRecords::location(item->scenePos()));
            records.append(record);
            sources.append(item->sourceData());
        }
    }
    DataMode::getInstance()->setOSDInfos(records);
    DataMode::getInstance()->setSourcedatList(sources);
}

void Quillmere::slot_outputButten()
{
    fillDataModelFromTabs();
    // The device shows only what lies on its screen; the file still keeps every item as placed.
    const QStringList offScreen = itemsOffScreen();
    if (!offScreen.isEmpty()) {
        CustomMegBox notice(
            this, CustomMegBox::Information, tr("提示"),
            tr("以下OSD不完全在输出画面(%1)内,设备只显示画面内的部分:\n%2")
                .arg(OutputScreen::sizeText(m_outputScreenSize), offScreen.join(QStringLiteral(", "))),
            tr("OK"));
        notice.setObjectName(QStringLiteral("offScreenNotice"));
        notice.exec();
    }
    const QString fileName = QFileDialog::getSaveFileName(
        this, tr("导出文件"), QString(), tr("PicFile (*.pic)") + QLatin1Char('\n') + tr("LogoFile (*.logo)"));
    if (fileName.isNull())
        return;
    qCDebug(lcExchange) << "需要保存到的目录:" << fileName;
    Control *control = Control::getInstance();
    if (!control->savaOSDfile(fileName)) {
        // Nothing was replaced: an earlier file under that name is as it was.
        CustomMegBox::waringMessageBox(this, tr("错误提示"),
                                       tr("文件未导出。\n%1").arg(control->errorString()), tr("OK"));
        return;
    }
    markSaved();
    // A project keeps its name in the title; the export is only a copy of what the device needs.
    if (m_project->fileName().isEmpty())
        setWindowTitle(ProductName::windowTitle(fileName));
    // Said without stopping the work: how many items went into which file.
    const int count = DataMode::getInstance()->getOSDInfos().size();
    auto *note = new CustomMegBox(
        this, CustomMegBox::Information, tr("提示"),
        tr("已将 %n 个OSD导出到:\n%1", nullptr, count).arg(QDir::toNativeSeparators(fileName)), tr("OK"));
    note->setObjectName(QStringLiteral("exportedNote"));
    note->setModal(false);
    connect(note, &QDialog::finished, note, &QObject::deleteLater);
    note->show();
}

void Quillmere::slot_inputButten()
{
    // The import replaces the work: unsaved work is offered for saving first.
    if (!m_project->settleUnsavedWork())
        return;
    auto *dialog = new QFileDialog(this, tr("导入文件"));
    dialog->setNameFilters({tr("PicFile (*.pic)"), tr("LogoFile (*.logo)"), tr("AllFile (*.pic *.logo)")});
    dialog->setFileMode(QFileDialog::ExistingFiles);
    const bool accepted = dialog->exec() == QDialog::Accepted;
    const QStringList files = dialog->selectedFiles();
    delete dialog;
    if (accepted)
        importFiles(files);
}

bool Quillmere::importFiles(const QStringList &files)
{
    if (files.isEmpty())
        return false;
    // Read and check every file before the current work is given up: a bad file leaves the tabs
    // and the data model exactly as they are.
    Control *control = Control::getInstance();
    if (!control->prepareOSDfiles(files)) {
        CustomMegBox::waringMessageBox(this, tr("错误提示"),
                                       tr("导入失败,当前的OSD内容未作改动。\n%1").arg(control->errorString()),
                                       tr("OK"));
        return false;
    }
    // Files that read well but hold nothing to rebuild are refused here, with the tabs still there.
    if (!isImportable(control->preparedRecordCount(), control->preparedSourceCount())) {
        control->discardPrepared();
        refuseImport(this);
        return false;
    }

    resetTabs();
    for (const QString &file : files) {
        if (!control->loadOSDfile(file)) {
            control->discardPrepared();
            DataMode::getInstance()->clearDataModel();
            // The tabs are gone already; undo brings them back.
            markChanged(Step::Import);
            CustomMegBox::waringMessageBox(this, tr("错误提示"), control->errorString(), tr("OK"));
            return false;
        }
    }
    control->discardPrepared();
    rebuildFromDataModel();
    // The work is the imported file's now, no longer the project's.
    m_project->forgetFile();
    setWindowTitle(ProductName::windowTitle(files.last()));
    return true;
}

void Quillmere::rebuildFromDataModel()
{
    const QList<VideoControlOSD *> records = DataMode::getInstance()->getOSDInfos();
    const QList<SourceData *> sources = DataMode::getInstance()->getSourcedatList();
    if (!isImportable(records.size(), sources.size())) {
        refuseImport(this);
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
