#include "mainwindow/placementcontroller.h"

#include "core/geometry/outputscreen.h"
#include "mainwindow/propertypanel.h"
#include "widgets/styled/spinboxex.h"

#include <QSignalBlocker>
#include <QToolButton>

PlacementController::PlacementController(OsdDocument *document, PropertyPanel *panel,
                                         std::function<QSize(int id)> shownSize, QObject *parent)
    : QObject(parent), m_document(document), m_panel(panel), m_shownSize(std::move(shownSize)),
      m_screen(OutputScreen::defaultSize())
{
    connect(m_document, &OsdDocument::changed, this, &PlacementController::entryChanged);
    SpinBoxEx *fields[] = {m_panel->xSpin(), m_panel->ySpin()};
    for (SpinBoxEx *field : fields) {
        connect(field, QOverload<int>::of(&QSpinBox::valueChanged), this, &PlacementController::fieldsEdited);
        // Stepping a field is one move until the field is left.
        connect(field, &QSpinBox::editingFinished, this, &PlacementController::gestureEnded);
    }
    const QList<Qt::Alignment> alignments = PropertyPanel::alignments();
    for (int i = 0; i < alignments.size(); ++i) {
        const Qt::Alignment alignment = alignments[i];
        connect(m_panel->alignButton(i), &QToolButton::clicked, this,
                [this, alignment] { align(alignment); });
    }
    showCurrent();
}

void PlacementController::setCurrent(int id)
{
    m_current = id;
    showCurrent();
}

const OsdEntry *PlacementController::placeable(int id) const
{
    const OsdEntry *entry = m_document->entry(id);
    return entry && entry->kind != OsdEntry::Kind::Empty ? entry : nullptr;
}

void PlacementController::showCurrent()
{
    const OsdEntry *entry = placeable(m_current);
    const QPoint at = entry ? entry->position : QPoint();
    {
        const QSignalBlocker blockX(m_panel->xSpin());
        const QSignalBlocker blockY(m_panel->ySpin());
        m_panel->xSpin()->setValue(at.x());
        m_panel->ySpin()->setValue(at.y());
    }
    m_panel->xSpin()->setEnabled(entry);
    m_panel->ySpin()->setEnabled(entry);
    for (int i = 0; i < PropertyPanel::alignments().size(); ++i)
        m_panel->alignButton(i)->setEnabled(entry);
}

void PlacementController::entryChanged(int id, OsdDocument::Aspect aspect)
{
    if (id == m_current && (aspect == OsdDocument::Aspect::Position || aspect == OsdDocument::Aspect::Source))
        showCurrent();
}

bool PlacementController::moveTo(int id, const QPoint &pos)
{
    const OsdEntry *entry = placeable(id);
    if (!entry || entry->position == pos)
        return false;
    m_document->setPosition(id, pos);
    return true;
}

void PlacementController::moveCurrent(const QPoint &pos)
{
    if (moveTo(m_current, pos))
        emit moved(m_current);
}

void PlacementController::fieldsEdited()
{
    moveCurrent(QPoint(m_panel->xSpin()->value(), m_panel->ySpin()->value()));
}

void PlacementController::nudge(const QPoint &delta)
{
    if (const OsdEntry *entry = placeable(m_current))
        moveCurrent(entry->position + delta);
}

void PlacementController::align(Qt::Alignment alignment)
{
    if (const OsdEntry *entry = placeable(m_current)) {
        const QRect shown(entry->position, m_shownSize(m_current));
        moveCurrent(OutputScreen(m_screen).aligned(shown, alignment));
    }
}
