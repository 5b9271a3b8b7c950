#include "mainwindow/exchangecontroller.h"

#include "core/geometry/outputscreen.h"
#include "interfaces/device/control.h"
#include "interfaces/model/datamode.h"
#include "mainwindow/windowlogging.h"
#include "widgets/styled/custommegbox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>

// The texts are the window's (context "Quillmere"), translated where they always were.

namespace {
// The rebuild needs at least one record and a text source entry (maybe null) for each.
bool isImportable(int records, int sources)
{
    return records > 0 && records == sources;
}
} // namespace

ExchangeController::ExchangeController(QWidget *window, Window hooks)
    : QObject(window), m_window(window), m_hooks(std::move(hooks))
{}

void ExchangeController::refuseImport(QWidget *window)
{
    CustomMegBox::waringMessageBox(
        window, QCoreApplication::translate("Quillmere", "错误提示"),
        QCoreApplication::translate("Quillmere", "OSD数据为空或者OSD数据有误,此次导入无效!"),
        QCoreApplication::translate("Quillmere", "OK"));
}

bool ExchangeController::exportFile()
{
    m_hooks.fillDataModel();
    // The device shows only what lies on its screen; the file still keeps every item as placed.
    const QStringList offScreen = m_hooks.itemsOffScreen();
    if (!offScreen.isEmpty()) {
        CustomMegBox notice(
            m_window, CustomMegBox::Information, QCoreApplication::translate("Quillmere", "提示"),
            QCoreApplication::translate("Quillmere",
                                        "以下OSD不完全在输出画面(%1)内,设备只显示画面内的部分:\n%2")
                .arg(OutputScreen::sizeText(m_hooks.screen()), offScreen.join(QStringLiteral(", "))),
            QCoreApplication::translate("Quillmere", "OK"));
        notice.setObjectName(QStringLiteral("offScreenNotice"));
        notice.exec();
    }
    const QString fileName = QFileDialog::getSaveFileName(
        m_window, QCoreApplication::translate("Quillmere", "导出文件"), QString(),
        QCoreApplication::translate("Quillmere", "PicFile (*.pic)") + QLatin1Char('\n') +
            QCoreApplication::translate("Quillmere", "LogoFile (*.logo)"));
    if (fileName.isNull())
        return false;
    qCDebug(lcExchange) << "需要保存到的目录:" << fileName;
    Control *control = Control::getInstance();
    if (!control->savaOSDfile(fileName)) {
        // Nothing was replaced: an earlier file under that name is as it was.
        CustomMegBox::waringMessageBox(
            m_window, QCoreApplication::translate("Quillmere", "错误提示"),
            QCoreApplication::translate("Quillmere", "文件未导出。\n%1").arg(control->errorString()),
            QCoreApplication::translate("Quillmere", "OK"));
        return false;
    }
    emit exported(fileName);
    // Said without stopping the work: how many items went into which file.
    const int count = DataMode::getInstance()->getOSDInfos().size();
    auto *note = new CustomMegBox(
        m_window, CustomMegBox::Information, QCoreApplication::translate("Quillmere", "提示"),
        QCoreApplication::translate("Quillmere", "已将 %n 个OSD导出到:\n%1", nullptr, count)
            .arg(QDir::toNativeSeparators(fileName)),
        QCoreApplication::translate("Quillmere", "OK"));
    note->setObjectName(QStringLiteral("exportedNote"));
    note->setModal(false);
    connect(note, &QDialog::finished, note, &QObject::deleteLater);
    note->show();
    return true;
}

void ExchangeController::chooseFilesToImport()
{
    // The import replaces the work: unsaved work is offered for saving first.
    if (!m_hooks.settleUnsavedWork())
        return;
    auto *dialog = new QFileDialog(m_window, QCoreApplication::translate("Quillmere", "导入文件"));
    dialog->setNameFilters({QCoreApplication::translate("Quillmere", "PicFile (*.pic)"),
                            QCoreApplication::translate("Quillmere", "LogoFile (*.logo)"),
                            QCoreApplication::translate("Quillmere", "AllFile (*.pic *.logo)")});
    dialog->setFileMode(QFileDialog::ExistingFiles);
    const bool accepted = dialog->exec() == QDialog::Accepted;
    const QStringList files = dialog->selectedFiles();
    delete dialog;
    if (accepted)
        importFiles(files);
}

bool ExchangeController::importFiles(const QStringList &files)
{
    if (files.isEmpty())
        return false;
    // Read and check every file before the current work is given up: a bad file leaves the tabs
    // and the data model exactly as they are.
    Control *control = Control::getInstance();
    if (!control->prepareOSDfiles(files)) {
        CustomMegBox::waringMessageBox(
            m_window, QCoreApplication::translate("Quillmere", "错误提示"),
            QCoreApplication::translate("Quillmere", "导入失败,当前的OSD内容未作改动。\n%1")
                .arg(control->errorString()),
            QCoreApplication::translate("Quillmere", "OK"));
        return false;
    }
    // Files that read well but hold nothing to rebuild are refused here, with the tabs still there.
    if (!isImportable(control->preparedRecordCount(), control->preparedSourceCount())) {
        control->discardPrepared();
        refuseImport(m_window);
        return false;
    }

    m_hooks.clearList();
    for (const QString &file : files) {
        if (!control->loadOSDfile(file)) {
            control->discardPrepared();
            DataMode::getInstance()->clearDataModel();
            // The tabs are gone already; undo brings them back.
            m_hooks.keepClearedList();
            CustomMegBox::waringMessageBox(m_window, QCoreApplication::translate("Quillmere", "错误提示"),
                                           control->errorString(),
                                           QCoreApplication::translate("Quillmere", "OK"));
            return false;
        }
    }
    control->discardPrepared();
    m_hooks.rebuild();
    emit imported(files.last());
    return true;
}
