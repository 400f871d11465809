#pragma once
// A read-only box of received lines, one block per line, counted the way the module's own text
// would be: every line followed by CR LF.
//
// The count and the order of lines change at once; the view catches up once per turn of the
// event loop. A visible text widget lays out and repaints on every single edit, which would
// make a listing of thousands of lines freeze the window; one edit per turn costs next to nothing.

#include <QPlainTextEdit>
#include <QStringList>
#include <deque>

class LineBox : public QPlainTextEdit {
public:
    LineBox();

    // Shows the newest line with the caret after it; otherwise the view stays where it is.
    void setFollowsNewest(bool follows) { followsNewest_ = follows; }

    // Appends the line (which holds no CR LF: the framer cuts there). A lone CR or LF in it
    // shows as its control picture, so that it stays one line.
    void appendLine(const QString& line);
    // Drops the oldest line with its CR LF.
    void removeFirstLine();
    // Empties the box (QPlainTextEdit::clear would leave the count behind).
    void clearLines();
    // Characters held, each line counted with its CR LF.
    qsizetype length() const { return length_; }

private:
    void scheduleUpdate();
    // Brings the view up to date in at most two edits: the dropped lines, the new ones.
    void updateView();

    std::deque<qsizetype> lineLengths_; // every line held, oldest first, with its CR LF
    qsizetype length_ = 0;
    QStringList pendingLines_;      // the newest lines, not in the view yet
    qsizetype pendingRemovals_ = 0; // the view's oldest lines that are gone
    bool updateScheduled_ = false;
    bool followsNewest_ = false;
};
