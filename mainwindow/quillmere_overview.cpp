// The overview's place in the window: its switch, and what it shows of the tabs.
#include "mainwindow/quillmere.h"

#include "interfaces/records/itemrecords.h"
#include "mainwindow/overviewcontroller.h"
#include "mainwindow/overviewscene.h"
#include "osditem/osditem.h"
#include "widgets/customtoolbutton.h"
#include "widgets/previewview.h"
#include "widgets/styled/tablewidgetex.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>

void Quillmere::initOverview(QHBoxLayout *workArea)
{
    m_overview = new OverviewController(this, [this] {
        QVector<OverviewController::Shown> shown;
        for (int tab = 0; tab < m_tabWidget->count(); ++tab) {
            const OsdEntry *entry = m_document->entry(entryIdOf(tab));
            OSDItem *item = itemOfPage(m_tabWidget->widget(tab));
            if (item && entry)
                shown.append({entry->id, item->pixmap(), entry->position, m_tabWidget->tabText(tab)});
        }
        return shown;
    });
    workArea->addWidget(m_overview->view());
    connect(m_overview, &OverviewController::nudgeRequested, this, &Quillmere::nudgeCurrentItem);
    connect(m_overview, &OverviewController::gestureEnded, this, &Quillmere::closeGesture);
    connect(m_overview, &OverviewController::moved, this, [this](int id, const QPoint &pos) {
        const int tab = m_document->indexOf(id);
        if (tab >= 0)
            moveItem(itemOfPage(m_tabWidget->widget(tab)), pos);
    });
    connect(m_overview, &OverviewController::picked, this, [this](int id) {
        const int tab = m_document->indexOf(id);
        if (tab >= 0)
            m_tabWidget->setCurrentIndex(tab);
    });
    connect(m_tabWidget, &QTabWidget::currentChanged, this,
            [this](int tab) { m_overview->setCurrentEntry(entryIdOf(tab)); });
}

bool Quillmere::isOverviewVisible() const
{
    return m_overview->isShown();
}

void Quillmere::setOverviewVisible(bool visible)
{
    if (visible == m_overview->isShown())
        return;
    // The switch shows its state in its caption: accent while the overview is up.
    m_overviewToolButton->captionLabel()->setStyleSheet(visible ? QStringLiteral("color:rgb(222,89,15);")
                                                                : QString());
    if (visible) {
        m_overview->show(m_outputScreenSize, currentEntryId());
        m_tabWidget->hide();
        // Fitting needs the view's final size, which the layout gives it only now.
        layout()->activate();
        m_overview->fit();
    } else {
        m_overview->hide();
        m_tabWidget->show();
    }
}

void Quillmere::refreshOverview()
{
    m_overview->refresh(m_outputScreenSize, currentEntryId());
}
