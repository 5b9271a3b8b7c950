#pragma once

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCharFormat>

class Config;
class QMenu;

// A plain-text editor for Lisp-like text: line numbers and fold markers in a side area,
// whitespace markers, indentation-aware Tab, Backspace and Return, search and replace, and case
// conversion. Font, tab width and indentation rules come from a Config, which must outlive the
// editor; they are applied again whenever the Config broadcasts reread().
class NotePad : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit NotePad(Config *config, QWidget *parent = nullptr);
    ~NotePad() override;

    QWidget *sideArea() const { return m_sideArea; }
    // Width of the side area: the number column and the fold marker with its margins.
    int sideAreaWidth() const;
    int lineDigits() const { return m_lineDigits; }
    int numberWidth() const { return m_numberWidth; }
    // The menu a right click opens, enabled for the current selection; the caller owns it.
    QMenu *createContextMenu();

public slots:
    int search(QString text, bool backward, bool matchCase, bool regExp);
    void replace(QString text, QString replacement, bool backward, bool matchCase, bool regExp);
    void replaceAll(QString text, QString replacement, bool matchCase, bool regExp);
    void gotoLine(int lineNumber);
    void deleteSelected();
    void toUpperCase();
    void toLowerCase();
    void blockCountChanged(int count);
    void contentsChange(int position, int removed, int added);
    void ensureCursorVisible();
    void reconfig(int flags);
    void reconfig();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    // Layout (notepad.cpp).
    void updateMetrics();
    void layoutSideArea();
    // Search (notepad_search.cpp).
    QTextCursor findFrom(const QString &text, const QTextCursor &from, bool backward, bool matchCase,
                         bool regExp) const;
    QTextCursor findFrom(const QString &text, int from, bool matchCase, bool regExp) const;
    void replaceSelectionCase(bool upper);
    // Keys (notepad_keys.cpp).
    bool unindentBackspace();
    bool indentTab();
    void autoIndentNewLine();
    // Painting and mouse (notepad_paint.cpp).
    void paintWhitespace(QPainter &painter, const QTextBlock &block, const QPointF &offset);
    void paintFoldLabel(QPainter &painter, const QTextBlock &block);
    void paintSideArea(QPaintEvent *event);
    void paintMarker(QPainter &painter, const QTextBlock &block, int top, int lineHeight);
    QRect foldLabelRect(const QTextBlock &block) const;
    QTextBlock foldLabelAt(const QPoint &viewportPos) const;
    bool isFoldStart(const QTextBlock &block) const;
    void sideAreaClicked(const QPoint &pos);

    QTextBlock m_hoverBlock;
    QTextCharFormat m_charFormat;
    QWidget *m_sideArea = nullptr;
    int m_lineDigits = 2;
    int m_numberWidth = 0;
    int m_markerSize = 9;
    int m_sideMargin = 3;
    int m_markerHalf = 2;
    Config *m_config;
};
