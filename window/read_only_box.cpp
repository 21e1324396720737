#include "window/read_only_box.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>

namespace window {
namespace {

// The boxes' own menu, in the window's language: the toolkit's menu would
// speak English unless a translation of it happened to be installed.
const QString kCopy = QStringLiteral("&Копирай");
const QString kSelectAll = QStringLiteral("Избери &всичко");

template <typename Box>
void popUpCopyMenu(Box* box, QPoint globalPos, bool hasSelection, bool hasText)
{
    auto* menu = new QMenu(box);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* copy = menu->addAction(kCopy, box, &Box::copy);
    copy->setShortcut(QKeySequence::Copy);
    copy->setEnabled(hasSelection);
    menu->addSeparator();
    QAction* all = menu->addAction(kSelectAll, box, &Box::selectAll);
    all->setShortcut(QKeySequence::SelectAll);
    all->setEnabled(hasText);
    menu->popup(globalPos);
}

// Shift+F10 is the other menu key of every desktop; the toolkit only knows
// the Menu key itself.
bool isMenuChord(const QKeyEvent* event)
{
    return event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier;
}

int clamp(int offset, const QString& text)
{
    return std::clamp(offset, 0, static_cast<int>(text.size()));
}

} // namespace

ReadOnlyLine::ReadOnlyLine(const QString& text, QWidget* parent) : QLineEdit(text, parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setReadOnly(true);
}

int ReadOnlyLine::textRoom() const
{
    // The box draws its text inside the style's contents rectangle, less
    // its margins, two pixels each side and the caret's one.
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    return contents.marginsRemoved(textMargins()).width() - 2 * 2 - 1;
}

QString ReadOnlyLine::wholeText() const
{
    return text();
}

int ReadOnlyLine::caret() const
{
    return cursorPosition();
}

void ReadOnlyLine::moveCaret(int offset)
{
    setCursorPosition(clamp(offset, text()));
}

std::pair<int, int> ReadOnlyLine::selectedRange() const
{
    if (!hasSelectedText())
        return {cursorPosition(), cursorPosition()};
    return {selectionStart(), selectionEnd()};
}

void ReadOnlyLine::selectRange(int start, int end)
{
    start = clamp(start, text());
    end = clamp(end, text());
    setSelection(start, end - start);
}

QRect ReadOnlyLine::characterRect(int offset) const
{
    // Measured from the caret, which the box places after any scrolling.
    offset = clamp(offset, text());
    const QFontMetrics metrics = fontMetrics();
    const QRect caretRect = cursorRect();
    const int x = caretRect.center().x() + metrics.horizontalAdvance(text().left(offset))
        - metrics.horizontalAdvance(text().left(cursorPosition()));
    const int width = offset < text().size() ? metrics.horizontalAdvance(text().at(offset)) : 0;
    return QRect(x, caretRect.top(), width, caretRect.height());
}

int ReadOnlyLine::offsetAt(QPoint point) const
{
    // Asking the box where a point falls changes nothing in it.
    return const_cast<ReadOnlyLine*>(this)->cursorPositionAt(point);
}

void ReadOnlyLine::contextMenuEvent(QContextMenuEvent* event)
{
    const QPoint at = event->reason() == QContextMenuEvent::Keyboard ? mapToGlobal(cursorRect().bottomLeft())
                                                                     : event->globalPos();
    popUpCopyMenu(this, at, hasSelectedText(), !text().isEmpty());
}

void ReadOnlyLine::keyPressEvent(QKeyEvent* event)
{
    if (!isMenuChord(event))
        return QLineEdit::keyPressEvent(event);
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, cursorRect().bottomLeft(), mapToGlobal(cursorRect().bottomLeft()));
    contextMenuEvent(&menu);
}

ReadOnlyArea::ReadOnlyArea(const QString& text, QWidget* parent) : QPlainTextEdit(text, parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setTabChangesFocus(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
}

QString ReadOnlyArea::wholeText() const
{
    return toPlainText();
}

int ReadOnlyArea::caret() const
{
    return textCursor().position();
}

void ReadOnlyArea::moveCaret(int offset)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(clamp(offset, toPlainText()));
    setTextCursor(cursor);
}

std::pair<int, int> ReadOnlyArea::selectedRange() const
{
    const QTextCursor cursor = textCursor();
    return {cursor.selectionStart(), cursor.selectionEnd()};
}

void ReadOnlyArea::selectRange(int start, int end)
{
    const QString text = toPlainText();
    QTextCursor cursor = textCursor();
    cursor.setPosition(clamp(start, text));
    cursor.setPosition(clamp(end, text), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

QRect ReadOnlyArea::characterRect(int offset) const
{
    const QString text = toPlainText();
    offset = clamp(offset, text);
    QTextCursor cursor(document());
    cursor.setPosition(offset);
    const QRect caretRect = cursorRect(cursor).translated(viewport()->pos());
    const bool printable = offset < text.size() && text.at(offset) != QLatin1Char('\n');
    const int width = printable ? fontMetrics().horizontalAdvance(text.at(offset)) : 0;
    return QRect(caretRect.left(), caretRect.top(), width, caretRect.height());
}

int ReadOnlyArea::offsetAt(QPoint point) const
{
    return cursorForPosition(point - viewport()->pos()).position();
}

void ReadOnlyArea::contextMenuEvent(QContextMenuEvent* event)
{
    const QPoint at = event->reason() == QContextMenuEvent::Keyboard
        ? viewport()->mapToGlobal(cursorRect().bottomLeft())
        : event->globalPos();
    popUpCopyMenu(this, at, textCursor().hasSelection(), !document()->isEmpty());
}

void ReadOnlyArea::keyPressEvent(QKeyEvent* event)
{
    if (!isMenuChord(event))
        return QPlainTextEdit::keyPressEvent(event);
    const QPoint caret = viewport()->mapTo(this, cursorRect().bottomLeft());
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, caret, mapToGlobal(caret));
    contextMenuEvent(&menu);
}

} // namespace window
