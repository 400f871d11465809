#pragma once
// A read-only box of received lines, one block per line, counted the way the module's own text
// would be: every line followed by CR LF.

#include <QPlainTextEdit>

class LineBox : public QPlainTextEdit {
public:
    LineBox();

    // Appends the line (which holds no CR LF: the framer cuts there) at the end without moving
    // the view. A lone CR or LF in it shows as its control picture, so that it stays one line.
    void appendLine(const QString& line);
    // Drops the oldest line with its CR LF.
    void removeFirstLine();
    // Characters held, each line counted with its CR LF.
    qsizetype length() const;
};
