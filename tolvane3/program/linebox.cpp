#include "linebox.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

constexpr char16_t CarriageReturnPicture = u'\u240D';
constexpr char16_t LineFeedPicture = u'\u240A';

} // namespace

LineBox::LineBox() {
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    // Read-only, yet the text stays selectable and copyable from the keyboard too.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void LineBox::appendLine(const QString& line) {
    QString shown = line;
    shown.replace(QLatin1Char('\r'), QChar(CarriageReturnPicture));
    shown.replace(QLatin1Char('\n'), QChar(LineFeedPicture));
    // A cursor of its own: the view's caret and scroll position stay where they are.
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    if (!document()->isEmpty()) {
        end.insertBlock();
    }
    end.insertText(shown);
}

void LineBox::removeFirstLine() {
    if (document()->isEmpty()) {
        return;
    }
    QTextCursor first(document());
    if (document()->blockCount() == 1) {
        first.select(QTextCursor::Document);
    } else {
        first.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
    }
    first.removeSelectedText();
}

qsizetype LineBox::length() const {
    // Qt ends every block with one separator character; each line holds two (CR LF).
    const QTextDocument* text = document();
    return text->isEmpty() ? 0 : text->characterCount() + text->blockCount();
}
