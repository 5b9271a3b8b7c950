#pragma once

#include <QString>
#include <functional>

// Scans lines of Lisp-like text for parenthesis depth, double-quoted strings and ";" comments.
// Every line gets an integer state; the editor keeps it as the text block's user state and draws
// its fold markers and indentation from it.
class LineScanner
{
public:
    enum StateBit
    {
        ClosesBlock = 0x01,  // ends at depth 0, or its depth decreased
        OpensBlock = 0x02,   // starts at depth 0, or its depth increased
        EndsInString = 0x04, // ends inside a double-quoted string
        CommentLine = 0x08,  // its first non-blank character is ";"
        InsideBlock = 0x10,  // depth above 0 at both ends
        Folded = 0x20,
        DepthUnderflow = 0x40, // a ")" took the depth below 0; the column is in the upper bits
        NeedsRepaint = 0x80,
    };
    static constexpr int Unscanned = -1;
    static constexpr int ValueShift = 8; // depth at the end of the line, or the underflow column

    // The state of one line. previousState is the state of the line above (Unscanned for the first
    // line); oldState is this line's state before, whose fold and repaint marks are kept.
    static int scanLine(const QString &text, int previousState, int oldState);

    // The depth that a line with this state hands to the line below it. A line that went below
    // depth 0, or one not scanned yet, hands on depth 0.
    static int carriedDepth(int state);
    // Whether the line below starts inside a string.
    static bool carriesString(int state);
    // The column of the ")" that went below depth 0, or -1.
    static int underflowColumn(int state);
    // The state without the fold and repaint marks, for comparing scans.
    static int scanned(int state);

    // Re-scans lines after an edit of the lines first to lastChanged and marks each re-scanned line
    // for repainting. Past the edited lines it stops at the first line whose scan is unchanged, as
    // nothing below it can change then. Returns the last line scanned.
    static int rescan(int first, int lastChanged, int lineCount, const std::function<QString(int)> &lineText,
                      const std::function<int(int)> &stateOf, const std::function<void(int, int)> &setState);
};
