#include "textexport/notepad.h"

#include "core/settings/config.h"
#include "core/text/linescanner.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTextBlock>
#include <QTextLayout>

namespace {
const QChar kSpaceMark(0x00B7);
const QChar kTabMark(0x21B9);

int stateOf(const QTextBlock &block)
{
    return block.isValid() ? block.userState() : LineScanner::Unscanned;
}

bool hasBits(int state, int bits)
{
    return state >= 0 && (state & bits) == bits;
}

bool isCommentLine(const QTextBlock &block)
{
    return hasBits(stateOf(block), LineScanner::CommentLine);
}
} // namespace

bool NotePad::isFoldStart(const QTextBlock &block) const
{
    const int state = stateOf(block);
    if (state < 0 || (state & LineScanner::DepthUnderflow))
        return false;
    // The first of a run of comment lines, or a line that leaves a parenthesis open.
    if (state & LineScanner::CommentLine)
        return !isCommentLine(block.previous()) && isCommentLine(block.next());
    return (state & LineScanner::OpensBlock) && !(state & LineScanner::ClosesBlock);
}

QRect NotePad::foldLabelRect(const QTextBlock &block) const
{
    const int state = stateOf(block);
    if (state < 0 || (state & (LineScanner::Folded | LineScanner::DepthUnderflow)) != LineScanner::Folded)
        return QRect();
    const QTextLayout *layout = block.layout();
    if (!layout || layout->lineCount() == 0)
        return QRect();
    const QTextLine line = layout->lineAt(0);
    const QRectF geometry = blockBoundingGeometry(block).translated(contentOffset());
    const int xWidth = fontMetrics().horizontalAdvance(QLatin1Char('X'));
    const int left = qRound(geometry.left() + layout->position().x() + line.naturalTextWidth()) + 2 * xWidth;
    const int top = qRound(geometry.top() + line.y()) + 2;
    return QRect(left, top, 6 * xWidth, qRound(line.height()) - 4);
}

QTextBlock NotePad::foldLabelAt(const QPoint &viewportPos) const
{
    const QTextBlock block = cursorForPosition(QPoint(0, viewportPos.y())).block();
    if (foldLabelRect(block).contains(viewportPos))
        return block;
    return QTextBlock();
}

void NotePad::paintEvent(QPaintEvent *event)
{
    QPlainTextEdit::paintEvent(event);

    QPainter painter(viewport());
    painter.setPen(Qt::darkGray);
    painter.setFont(font());
    const QPointF offset = contentOffset();
    const int bottom = event->rect().bottom();
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF geometry = blockBoundingGeometry(block).translated(offset);
        if (geometry.top() > bottom)
            break;
        if (!block.isVisible())
            continue;
        if (m_config->whitespaces)
            paintWhitespace(painter, block, geometry.topLeft());
        paintFoldLabel(painter, block);
    }
}

void NotePad::paintWhitespace(QPainter &painter, const QTextBlock &block, const QPointF &offset)
{
    const QString text = block.text();
    const QTextLayout *layout = block.layout();
    if (!layout)
        return;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t'))
            continue;
        const QTextLine line = layout->lineForTextPosition(i);
        if (!line.isValid())
            continue;
        const qreal x = offset.x() + layout->position().x() + line.cursorToX(i);
        const qreal baseline = offset.y() + layout->position().y() + line.y() + line.ascent();
        painter.drawText(QPointF(x, baseline), QString(c == QLatin1Char(' ') ? kSpaceMark : kTabMark));
    }
}

void NotePad::paintFoldLabel(QPainter &painter, const QTextBlock &block)
{
    const QRect box = foldLabelRect(block);
    if (box.isNull())
        return;
    painter.drawRoundedRect(box, 4, 6);
    const bool comment = hasBits(stateOf(block), LineScanner::CommentLine);
    painter.drawText(box, Qt::AlignCenter, comment ? QStringLiteral("...;") : QStringLiteral("...)"));
}

bool NotePad::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_sideArea) {
        switch (event->type()) {
        case QEvent::Paint:
            paintSideArea(static_cast<QPaintEvent *>(event));
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::LeftButton) {
                sideAreaClicked(mouse->pos());
                return true;
            }
            break;
        }
        case QEvent::MouseButtonRelease:
            return static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton;
        default:
            break;
        }
    }
    return QPlainTextEdit::eventFilter(watched, event);
}

void NotePad::paintSideArea(QPaintEvent *event)
{
    QPainter painter(m_sideArea);
    painter.setPen(Qt::gray);
    const int currentLine = textCursor().blockNumber();
    const QPointF offset = contentOffset();
    const QRect area = event->rect();
    QFont numberFont = font();

    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF geometry = blockBoundingGeometry(block).translated(offset);
        if (geometry.top() > area.bottom())
            break;
        if (!block.isVisible() || geometry.bottom() < area.top())
            continue;
        const QTextLayout *layout = block.layout();
        const qreal lineTop = layout && layout->lineCount() > 0 ? layout->lineAt(0).y() : 0;
        const int top = qRound(geometry.top() + lineTop);
        const int lineHeight =
            layout && layout->lineCount() > 0 ? qRound(layout->lineAt(0).height()) : fontMetrics().height();

        if (m_config->showLineNumber) {
            const bool current = block.blockNumber() == currentLine;
            numberFont.setWeight(current ? 75 : 50);
            painter.setFont(numberFont);
            painter.setPen(current ? Qt::yellow : Qt::gray);
            painter.drawText(QRect(0, top, m_numberWidth, lineHeight), Qt::AlignRight | Qt::AlignVCenter,
                             QString::number(block.blockNumber() + 1));
            painter.setPen(Qt::gray);
        }
        paintMarker(painter, block, top, lineHeight);

        const int state = block.userState();
        if (state >= 0 && (state & LineScanner::NeedsRepaint))
            block.setUserState(state & ~LineScanner::NeedsRepaint);
    }
}

void NotePad::paintMarker(QPainter &painter, const QTextBlock &block, int top, int lineHeight)
{
    const int state = stateOf(block);
    if (state < 0 || (state & LineScanner::DepthUnderflow))
        return;
    const int left = m_numberWidth + m_sideMargin;
    const int centreX = left + m_markerSize / 2;
    const int centreY = top + lineHeight / 2;
    const int bottom = top + lineHeight;
    const QRect box(left, centreY - m_markerSize / 2, m_markerSize, m_markerSize);
    const bool folded = state & LineScanner::Folded;

    auto drawSign = [&]() {
        painter.drawLine(centreX - m_markerHalf, centreY, centreX + m_markerHalf, centreY);
        if (folded)
            painter.drawLine(centreX, centreY - m_markerHalf, centreX, centreY + m_markerHalf);
    };

    if (state & LineScanner::CommentLine) {
        const bool before = isCommentLine(block.previous());
        const bool after = isCommentLine(block.next());
        if (!before && after) {
            painter.drawEllipse(box);
            drawSign();
            painter.drawLine(centreX, box.bottom() + 1, centreX, bottom);
        } else if (before && after) {
            painter.drawLine(centreX, top, centreX, bottom);
        } else if (before) {
            painter.drawLine(centreX, top, centreX, centreY);
            painter.drawLine(centreX, centreY, box.right(), centreY);
        }
        return;
    }

    const bool opens = (state & LineScanner::OpensBlock) && !(state & LineScanner::ClosesBlock);
    const bool closes = (state & LineScanner::ClosesBlock) && !(state & LineScanner::OpensBlock);
    const bool inside = state & LineScanner::InsideBlock;
    if (opens) {
        if (inside)
            painter.drawLine(centreX, top, centreX, box.top() - 1);
        painter.drawRoundedRect(box, 7, 3);
        drawSign();
        painter.drawLine(centreX, box.bottom() + 1, centreX, bottom);
    } else if (closes) {
        painter.drawLine(centreX, top, centreX, centreY);
        painter.drawLine(centreX, centreY, box.right(), centreY);
        if (LineScanner::carriedDepth(state) > 0)
            painter.drawLine(centreX, centreY, centreX, bottom);
    } else if (inside) {
        painter.drawLine(centreX, top, centreX, bottom);
    }
}

void NotePad::sideAreaClicked(const QPoint &pos)
{
    const int left = m_numberWidth + m_sideMargin;
    if (pos.x() < left - m_sideMargin || pos.x() > left + m_markerSize + m_sideMargin)
        return;
    QTextBlock block = cursorForPosition(QPoint(0, pos.y())).block();
    if (!isFoldStart(block))
        return;
    block.setUserState(block.userState() ^ LineScanner::Folded);
    ensureCursorVisible();
    viewport()->update();
    m_sideArea->update();
}

void NotePad::mouseMoveEvent(QMouseEvent *event)
{
    m_hoverBlock = foldLabelAt(event->pos());
    viewport()->setCursor(m_hoverBlock.isValid() ? Qt::PointingHandCursor : Qt::IBeamCursor);
    QPlainTextEdit::mouseMoveEvent(event);
}

void NotePad::mousePressEvent(QMouseEvent *event)
{
    if (m_hoverBlock.isValid()) {
        // A click on a fold label opens the fold again.
        const int state = m_hoverBlock.userState();
        if (state >= 0)
            m_hoverBlock.setUserState(state & ~LineScanner::Folded);
        m_hoverBlock = QTextBlock();
        viewport()->setCursor(Qt::IBeamCursor);
        viewport()->update();
        m_sideArea->update();
    }
    QPlainTextEdit::mousePressEvent(event);
}
