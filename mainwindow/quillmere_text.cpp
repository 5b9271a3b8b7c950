// Opening the text image window, fresh or for re-editing a text item.
#include "mainwindow/quillmere.h"

#include "core/document/osddocument.h"
#include "core/settings/config.h"
#include "textexport/exporttextimage.h"
#include "widgets/styled/tablewidgetex.h"

#include <QCoreApplication>

void Quillmere::slot_textButten()
{
    openTextWindow(false);
}

void Quillmere::slot_loadingText()
{
    openTextWindow(true);
}

void Quillmere::openTextWindow(bool reedit)
{
    // Read now and written back when this slot returns; the window reads it only while it is built.
    Config config(settingsFolder());
    warnIfSettingsReadOnly(config);

    if (m_textWindow) {
        // Closed first, so that a window still open leaves its unsent text behind as well.
        if (!m_textWindow->isHidden())
            m_textWindow->close();
        delete m_textWindow;
        m_textWindow = nullptr;
    }
    m_textWindow = new ExportTextImage(&config, this);
    connect(m_textWindow, &ExportTextImage::exportTextImage, this, &Quillmere::on_exportTextImage);
    if (!reedit) {
        // A text typed and left unsent waits for the next fresh window; a re-edit shows its item.
        m_textWindow->restoreDraft(m_textDraft);
        ExportTextImage *window = m_textWindow;
        connect(window, &ExportTextImage::signal_closeExportTextWindow, this,
                [this, window] { m_textDraft = window->unsentText(); });
    }
    m_textWindow->setAttribute(Qt::WA_ShowModal);
    m_textWindow->setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint);

    // Centred horizontally, 20 pixels below the vertical centre.
    const int x = (width() - 600) / 2;
    const int y = (height() - 310) / 2;
    m_textWindow->setGeometry(QRect(mapToParent(QPoint(x, y)), QSize(600, 350)));
    m_textWindow->setMaxImageSize(QSize(m_tabWidget->width() - 20, m_tabWidget->height() - 50));

    if (reedit) {
        const OsdEntry *entry = m_document->entry(currentEntryId());
        if (entry && entry->kind == OsdEntry::Kind::Text)
            m_textWindow->loadText(entry->text.colour, entry->text.font, entry->text.content);
    }

    m_textWindow->showNormal();
}
