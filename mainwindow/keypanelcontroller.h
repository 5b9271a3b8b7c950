#pragma once

#include "core/document/osddocument.h"

#include <QObject>

#include <functional>

class PropertyPanel;
class QWidget;

// The keying part of the property panel: it shows the current entry's keying recipe and turns the
// operator's edits of it (the switch, the three ranges, the fill colour and its ends, a pick) into
// document changes. Keying the entry's picture is the keying controller's: it hears which entry's
// key was edited and how.
class KeyPanelController : public QObject
{
    Q_OBJECT
public:
    enum class Edit
    {
        Range, // a slider: the picture is keyed at once
        Pick,  // a click on the picture: a step of its own
        Fill   // the fill colour: keys again what is keyed already
    };
    Q_ENUM(Edit)

    // currentId tells which entry the panel shows and edits (the tab in front; 0 for none). The
    // panel keeps what it was built with until the first showCurrent.
    KeyPanelController(OsdDocument *document, PropertyPanel *panel, std::function<int()> currentId,
                       QObject *parent = nullptr);

    // Shows the current entry's recipe, after the current entry changed.
    void showCurrent();
    // The current entry's recipe (the default one without an entry).
    KeyRecipe key() const;
    void setKey(const KeyRecipe &key);

    // channel 0, 1, 2: red, green, blue.
    void setChannel(int channel, int low, int high);
    void pick(const QColor &colour);
    // Each asks with a colour dialog over parent; nothing changes when it is cancelled.
    void chooseFill(QWidget *parent);
    void chooseBegin(QWidget *parent);
    void chooseEnd(QWidget *parent);

signals:
    void keyEdited(int id, KeyPanelController::Edit edit);
    // A slider was let go: the next range edit is a step of its own.
    void gestureEnded();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void entryChanged(int id, OsdDocument::Aspect aspect);
    void switchToggled(bool on);
    // Asks for one of the recipe's colours; false when the dialog was cancelled.
    bool choose(QColor KeyRecipe::*field, QWidget *parent);

    OsdDocument *m_document;
    PropertyPanel *m_panel;
    std::function<int()> m_currentId;
};
