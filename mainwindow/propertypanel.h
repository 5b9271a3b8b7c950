#pragma once

#include <QFrame>
#include <QList>
#include <QString>

struct KeyRecipe;
class CheckBoxEx;
class QColor;
class DoubleSlider;
class LabelEx;
class PushButtonEx;
class QLabel;
class QToolButton;
class QVBoxLayout;
class SpinBoxEx;

// The 220-pixel property column at the right of the main window: keying switch, reset, picked
// colour, key ranges, fill colour and the item's position on the output screen. It builds and lays
// out its controls and shows a tab's keying recipe in them; the main window connects them.
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
    QLabel *positionTitle() const { return m_positionTitle; }
    SpinBoxEx *xSpin() const { return m_xSpin; }
    SpinBoxEx *ySpin() const { return m_ySpin; }
    // The six alignment buttons, in the order of alignments().
    QToolButton *alignButton(int index) const { return m_alignButtons[index]; }
    static QList<Qt::Alignment> alignments();

    // Shows key: the switch, the sliders and their numbers, the picked colour and the fill colour.
    // A slider already at its range is left alone, so one being dragged stays under the pointer.
    void showKey(const KeyRecipe &key);
    // "(r,g,b)", and the swatch style of a colour written by channels and by name.
    static QString colourText(const QColor &c);
    static QString noColourText();
    static QString swatchFromChannels(const QColor &c);
    static QString swatchFromName(const QColor &c);

private:
    void addPositionGroup(QVBoxLayout *panelLayout);

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
    QLabel *m_positionTitle = nullptr;
    SpinBoxEx *m_xSpin = nullptr;
    SpinBoxEx *m_ySpin = nullptr;
    QToolButton *m_alignButtons[6] = {};
};
