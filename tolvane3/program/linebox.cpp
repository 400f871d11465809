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
    pendingLines_.append(shown);
    const qsizetype counted = line.size() + 2;
    lineLengths_.push_back(counted);
    length_ += counted;
    scheduleUpdate();
}

void LineBox::removeFirstLine() {
    if (lineLengths_.empty()) {
        return;
    }
    const auto inView = static_cast<qsizetype>(lineLengths_.size()) - pendingLines_.size();
    length_ -= lineLengths_.front();
    lineLengths_.pop_front();
    if (inView > 0) {
        ++pendingRemovals_;
    } else {
        pendingLines_.removeFirst();
    }
    scheduleUpdate();
}

void LineBox::clearLines() {
    lineLengths_.clear();
    length_ = 0;
    pendingLines_.clear();
    pendingRemovals_ = 0;
    clear();
}

void LineBox::scheduleUpdate() {
    if (!updateScheduled_) {
        updateScheduled_ = true;
        QMetaObject::invokeMethod(this, &LineBox::updateView, Qt::QueuedConnection);
    }
}

void LineBox::updateView() {
    updateScheduled_ = false;
    QTextDocument* view = document();
    if (pendingRemovals_ > 0) {
        QTextCursor dropped(view);
        if (pendingRemovals_ >= view->blockCount()) {
            dropped.select(QTextCursor::Document);
        } else {
            dropped.setPosition(
                view->findBlockByNumber(static_cast<int>(pendingRemovals_)).position(),
                QTextCursor::KeepAnchor);
        }
        dropped.removeSelectedText();
        pendingRemovals_ = 0;
    }
    if (!pendingLines_.isEmpty()) {
        // A cursor of its own: the view's caret and scroll position stay where they are.
        QTextCursor end(view);
        end.movePosition(QTextCursor::End);
        const QString separator(QChar::ParagraphSeparator);
        end.insertText((view->isEmpty() ? QString() : separator) + pendingLines_.join(separator));
        pendingLines_.clear();
    }
    if (followsNewest_) {
        moveCursor(QTextCursor::End);
    }
}
