#pragma once

#include <QUndoCommand>

#include <functional>

// One step of the OSD list's history. A step is recorded after its change has happened, so the
// first redo, when the stack takes it, does nothing; later undos and redos bring back what the step
// keeps. Recorded, not performed: the item and the cut panel make a drag, a cut or the cut-view
// switch themselves and only tell of it afterwards through their signals, so every kind of change
// is taken the same way, as what happened. Each kind of change has its own class; steps keep recipes and share pictures with the
// live list, so a keyed picture is keyed again rather than kept.
class HistoryCommand : public QUndoCommand
{
public:
    // The ids of the kinds that merge: a slider drag or a move is one step however many changes it
    // makes.
    enum MergeId
    {
        KeyMerge = 1,
        MoveMerge = 2
    };
    using BufferVisitor = std::function<void(const void *buffer, qint64 size)>;

    void undo() final;
    void redo() final;
    // The entry the step is about (for a step of the whole list, the one to show afterwards).
    int entry() const { return m_entry; }
    // The same step, to be pushed onto a stack again; its first redo does nothing.
    virtual HistoryCommand *clone() const = 0;
    // Every picture buffer the step keeps, for the history's memory budget.
    virtual void visitBuffers(const BufferVisitor &visit) const = 0;

protected:
    HistoryCommand(const QString &text, int entry, int gesture);
    virtual void bringBack(bool after) = 0;
    int gesture() const { return m_gesture; }
    // True when next continues this step: the same kind, entry and gesture.
    bool continuedBy(const QUndoCommand *next) const;

private:
    int m_entry;
    int m_gesture;
    bool m_done = true;
};
