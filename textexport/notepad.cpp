#include "textexport/notepad.h"

#include "core/settings/config.h"
#include "core/text/linescanner.h"
#include "textexport/editcontextmenu.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QMenu>
#include <QResizeEvent>
#include <QTextBlock>
#include <QTextDocument>

NotePad::NotePad(Config *config, QWidget *parent) : QPlainTextEdit(parent), m_config(config)
{
    reconfig(3);

    m_sideArea = new QWidget(this);
    QPalette sidePalette = m_sideArea->palette();
    sidePalette.setColor(QPalette::Window, QColor(30, 60, 90));
    m_sideArea->setPalette(sidePalette);
    m_sideArea->setAutoFillBackground(true);
    m_sideArea->setCursor(Qt::PointingHandCursor);
    m_sideArea->installEventFilter(this);

    setLineWrapMode(QPlainTextEdit::NoWrap);
    setCursorWidth(2);

    m_lineDigits = 2;
    setMouseTracking(true);
    viewport()->setMouseTracking(true);

    QPalette editorPalette = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        editorPalette.setColor(group, QPalette::Highlight, Qt::yellow);
        editorPalette.setColor(group, QPalette::HighlightedText, Qt::blue);
    }
    setPalette(editorPalette);

    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &NotePad::ensureCursorVisible);
    connect(this, &QPlainTextEdit::blockCountChanged, this, &NotePad::blockCountChanged);
    connect(document(), &QTextDocument::contentsChange, this, &NotePad::contentsChange);
    connect(m_config, &Config::reread, this, qOverload<int>(&NotePad::reconfig));
    connect(this, &QPlainTextEdit::updateRequest, m_sideArea, qOverload<>(&QWidget::update));

    updateMetrics();
    layoutSideArea();
}

NotePad::~NotePad() = default;

int NotePad::sideAreaWidth() const
{
    return m_numberWidth + m_markerSize + 2 * m_sideMargin;
}

void NotePad::reconfig()
{
    reconfig(3);
}

void NotePad::reconfig(int flags)
{
    if (flags & 2) {
        QFont font(m_config->fontFamily, m_config->fontSize);
        font.setFixedPitch(true);
        // The stored family may not exist here; still fall back to a fixed-pitch one.
        font.setStyleHint(QFont::TypeWriter);
        setFont(font);
        setTabStopDistance(m_config->tabSize *
                           QFontMetricsF(this->font()).horizontalAdvance(QLatin1Char('X')));
        if (m_sideArea) {
            // The number column and the markers follow the font.
            updateMetrics();
            layoutSideArea();
        }
    }
    if (!(flags & 1)) {
        for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next()) {
            if (block.userState() >= 0)
                block.setUserState(block.userState() | LineScanner::NeedsRepaint);
        }
        QResizeEvent event(size(), size());
        QCoreApplication::sendEvent(this, &event);
    }
}

void NotePad::updateMetrics()
{
    QFont bold = font();
    bold.setWeight(QFont::Bold);
    const QFontMetrics normalMetrics(font());
    const QFontMetrics boldMetrics(bold);
    int digitWidth = 0;
    for (char digit = '0'; digit <= '9'; ++digit) {
        digitWidth = qMax(digitWidth, normalMetrics.horizontalAdvance(QLatin1Char(digit)));
        digitWidth = qMax(digitWidth, boldMetrics.horizontalAdvance(QLatin1Char(digit)));
    }
    // An odd marker size keeps the plus and minus strokes centred.
    m_markerSize = qBound(9, normalMetrics.height() * 2 / 3, 17) | 1;
    m_markerHalf = m_markerSize / 2 - 2;
    m_sideMargin = qMax(3, m_markerSize / 3);
    m_numberWidth = m_config->showLineNumber ? m_lineDigits * digitWidth + m_sideMargin : 0;
}

void NotePad::layoutSideArea()
{
    setViewportMargins(sideAreaWidth(), 0, 0, 0);
    const QRect contents = contentsRect();
    m_sideArea->setGeometry(contents.left(), contents.top(), sideAreaWidth(), contents.height());
    m_sideArea->setFont(font());
    m_sideArea->update();
}

void NotePad::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    updateMetrics();
    layoutSideArea();
}

void NotePad::blockCountChanged(int count)
{
    int digits = 1;
    for (int rest = count; rest >= 10; rest /= 10)
        ++digits;
    const int lineDigits = qMax(2, digits);
    if (lineDigits == m_lineDigits)
        return;
    m_lineDigits = lineDigits;
    updateMetrics();
    layoutSideArea();
}

void NotePad::contentsChange(int position, int removed, int added)
{
    Q_UNUSED(removed)
    QTextDocument *doc = document();
    const QTextBlock first = doc->findBlock(position);
    if (!first.isValid())
        return;
    QTextBlock lastChanged = doc->findBlock(position + added);
    if (!lastChanged.isValid())
        lastChanged = doc->lastBlock();

    LineScanner::rescan(
        first.blockNumber(), lastChanged.blockNumber(), doc->blockCount(),
        [doc](int line) { return doc->findBlockByNumber(line).text(); },
        [doc](int line) { return doc->findBlockByNumber(line).userState(); },
        [doc](int line, int state) { doc->findBlockByNumber(line).setUserState(state); });
    m_sideArea->update();
}

void NotePad::ensureCursorVisible()
{
    QTextCursor cursor = textCursor();
    QTextBlock block = cursor.block();
    if (block.isVisible())
        return;
    while (block.isValid() && !block.isVisible())
        block = block.previous();
    if (!block.isValid())
        block = document()->firstBlock();
    cursor.setPosition(block.position());
    setTextCursor(cursor);
}

QMenu *NotePad::createContextMenu()
{
    return EditContextMenu::create(this);
}

void NotePad::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createContextMenu();
    menu->exec(event->globalPos());
    delete menu;
}
