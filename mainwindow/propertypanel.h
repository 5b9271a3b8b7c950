#pragma once

#include <QFrame>

class CheckBoxEx;
class DoubleSlider;
class LabelEx;
class PushButtonEx;
class QLabel;

// The 220-pixel property column at the right of the main window: keying switch, reset, picked
// colour, key ranges and fill colour. It only builds and lays out its controls; the main window
// connects them and changes their texts and swatches.
class PropertyPanel : public QFrame
{
    Q_OBJECT
public:
    // parent is the main window; the panel lives as long as it.
    explicit PropertyPanel(QWidget *parent);

    QLabel *title() const { return m_title; }
    CheckBoxEx *selectColorCheck() const { return m_selectColorCheck; }
    PushButtonEx *resetButton() const { return m_resetButton; }
    QLabel *currentColorTitle() const { return m_currentColorTitle; }
    QLabel *pickedColorSwatch() const { return m_pickedColorSwatch; }
    QLabel *pickedColorLabel() const { return m_pickedColorLabel; }
    // channel 0, 1, 2: red, green, blue.
    DoubleSlider *slider(int channel) const { return m_sliders[channel]; }
    QLabel *minLabel(int channel) const { return m_minLabels[channel]; }
    QLabel *maxLabel(int channel) const { return m_maxLabels[channel]; }
    QLabel *fillColorTitle() const { return m_fillColorTitle; }
    LabelEx *fillColorSwatch() const { return m_fillColorSwatch; }

private:
    QLabel *m_title = nullptr;
    CheckBoxEx *m_selectColorCheck = nullptr;
    PushButtonEx *m_resetButton = nullptr;
    QLabel *m_currentColorTitle = nullptr;
    QLabel *m_pickedColorSwatch = nullptr;
    QLabel *m_pickedColorLabel = nullptr;
    DoubleSlider *m_sliders[3] = {};
    QLabel *m_minLabels[3] = {};
    QLabel *m_maxLabels[3] = {};
    QLabel *m_fillColorTitle = nullptr;
    LabelEx *m_fillColorSwatch = nullptr;
};
