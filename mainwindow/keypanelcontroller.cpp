#include "mainwindow/keypanelcontroller.h"

#include "mainwindow/propertypanel.h"
#include "widgets/doubleslider.h"
#include "widgets/styled/checkboxex.h"
#include "widgets/styled/labelex.h"

#include <QColorDialog>
#include <QKeyEvent>

KeyPanelController::KeyPanelController(OsdDocument *document, PropertyPanel *panel,
                                       std::function<int()> currentId, QObject *parent)
    : QObject(parent), m_document(document), m_panel(panel), m_currentId(std::move(currentId))
{
    connect(m_document, &OsdDocument::changed, this, &KeyPanelController::entryChanged);
    for (int channel = 0; channel < 3; ++channel) {
        DoubleSlider *slider = m_panel->slider(channel);
        connect(slider, &DoubleSlider::signal_valueChanged, this,
                [this, channel](int low, int high) { setChannel(channel, low, high); });
        // A drag of a handle is one keying step: it ends when the mouse or the key lets go.
        slider->installEventFilter(this);
    }
    connect(m_panel->fillColorSwatch(), &LabelEx::signal_mouseclicked, this,
            [this] { chooseFill(m_panel->window()); });
    connect(m_panel->selectColorCheck(), &QCheckBox::toggled, this, &KeyPanelController::switchToggled);
}

KeyRecipe KeyPanelController::key() const
{
    const OsdEntry *entry = m_document->entry(m_currentId());
    return entry ? entry->key : KeyRecipe();
}

void KeyPanelController::setKey(const KeyRecipe &key)
{
    m_document->setKey(m_currentId(), key);
}

void KeyPanelController::showCurrent()
{
    m_panel->showKey(key());
}

void KeyPanelController::entryChanged(int id, OsdDocument::Aspect aspect)
{
    if (aspect == OsdDocument::Aspect::Key && id == m_currentId())
        showCurrent();
}

void KeyPanelController::switchToggled(bool on)
{
    // The switch belongs to the entry; it reaches the record with the next keying step.
    KeyRecipe k = key();
    k.enabled = on;
    setKey(k);
}

void KeyPanelController::setChannel(int channel, int low, int high)
{
    KeyRecipe k = key();
    k.setChannel(channel, low, high);
    setKey(k);
    emit keyEdited(m_currentId(), Edit::Range);
}

void KeyPanelController::pick(const QColor &colour)
{
    KeyRecipe k = key();
    k.pick(colour);
    setKey(k);
    emit keyEdited(m_currentId(), Edit::Pick);
}

bool KeyPanelController::choose(QColor KeyRecipe::*field, QWidget *parent)
{
    KeyRecipe k = key();
    const QColor colour =
        QColorDialog::getColor(k.*field, parent, QString(), QColorDialog::ColorDialogOptions());
    if (!colour.isValid())
        return false;
    k.*field = colour;
    setKey(k);
    return true;
}

void KeyPanelController::chooseFill(QWidget *parent)
{
    if (choose(&KeyRecipe::fill, parent))
        emit keyEdited(m_currentId(), Edit::Fill);
}

void KeyPanelController::chooseBegin(QWidget *parent)
{
    choose(&KeyRecipe::begin, parent);
}

void KeyPanelController::chooseEnd(QWidget *parent)
{
    choose(&KeyRecipe::end, parent);
}

bool KeyPanelController::eventFilter(QObject *watched, QEvent *event)
{
    const bool released =
        event->type() == QEvent::MouseButtonRelease ||
        (event->type() == QEvent::KeyRelease && !static_cast<QKeyEvent *>(event)->isAutoRepeat());
    if (released && qobject_cast<DoubleSlider *>(watched))
        emit gestureEnded();
    return QObject::eventFilter(watched, event);
}
