#include "core/text/linescanner.h"

int LineScanner::carriedDepth(int state)
{
    if (state < 0 || (state & DepthUnderflow))
        return 0;
    return state >> ValueShift;
}

bool LineScanner::carriesString(int state)
{
    return state >= 0 && !(state & DepthUnderflow) && (state & EndsInString);
}

int LineScanner::underflowColumn(int state)
{
    if (state < 0 || !(state & DepthUnderflow))
        return -1;
    return state >> ValueShift;
}

int LineScanner::scanned(int state)
{
    return state < 0 ? state : state & ~(Folded | NeedsRepaint);
}

int LineScanner::scanLine(const QString &text, int previousState, int oldState)
{
    const int marks = oldState < 0 ? 0 : oldState & (Folded | NeedsRepaint);
    const int startDepth = carriedDepth(previousState);
    bool inString = carriesString(previousState);
    int depth = startDepth;

    const int length = text.size();
    int i = 0;
    while (i < length && text.at(i).isSpace())
        ++i;
    const bool commentLine = !inString && i < length && text.at(i) == QLatin1Char(';');

    // A backslash escapes the next character, in and out of strings, so "\"" stays a string and
    // "\\" ends one.
    bool escaped = false;
    for (; i < length; ++i) {
        const QChar c = text.at(i);
        if (escaped) {
            escaped = false;
            continue;
        }
        if (c == QLatin1Char('\\')) {
            escaped = true;
        } else if (c == QLatin1Char('"')) {
            inString = !inString;
        } else if (inString) {
            continue;
        } else if (c == QLatin1Char(';')) {
            break;
        } else if (c == QLatin1Char('(')) {
            ++depth;
        } else if (c == QLatin1Char(')')) {
            if (--depth < 0)
                return DepthUnderflow | (i << ValueShift) | marks;
        }
    }

    int state = marks | (depth << ValueShift);
    if (startDepth == 0 || depth > startDepth)
        state |= OpensBlock;
    if (depth == 0 || depth < startDepth)
        state |= ClosesBlock;
    if (inString)
        state |= EndsInString;
    if (commentLine)
        state |= CommentLine;
    if (startDepth > 0 && depth > 0)
        state |= InsideBlock;
    return state;
}

int LineScanner::rescan(int first, int lastChanged, int lineCount,
                        const std::function<QString(int)> &lineText, const std::function<int(int)> &stateOf,
                        const std::function<void(int, int)> &setState)
{
    int line = qMax(first, 0);
    int previous = line > 0 ? stateOf(line - 1) : Unscanned;
    int last = line - 1;
    for (; line < lineCount; ++line) {
        const int oldState = stateOf(line);
        const int newState = scanLine(lineText(line), previous, oldState);
        setState(line, newState | NeedsRepaint);
        last = line;
        if (line > lastChanged && oldState != Unscanned && scanned(newState) == scanned(oldState))
            break;
        previous = newState;
    }
    return last;
}
