#include "linux/accessibility.h"

#include "linux/announcer.h"
#include "linux/read_only_box.h"
#include "linux/sorbela.h"
#include "quiz/element_table.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextLayout>

#include <algorithm>

namespace linux_ui {
namespace {

// The pieces of one kind, other than lines, that a text is cut into, given
// by where each begins; together they cover the whole text, which is one
// piece when no kind is asked for. A text that ends in a line break ends in
// an empty paragraph, where the caret can stand.
QList<int> pieceStarts(const QString& text, QAccessible::TextBoundaryType kind)
{
    const auto size = static_cast<int>(text.size());
    QList<int> starts{0};
    if (kind == QAccessible::NoBoundary)
        return starts;
    if (kind == QAccessible::ParagraphBoundary) {
        for (int i = 0; i < size; ++i)
            if (text.at(i) == QLatin1Char('\n'))
                starts << i + 1;
        return starts;
    }
    QTextBoundaryFinder finder(kind == QAccessible::CharBoundary   ? QTextBoundaryFinder::Grapheme
                               : kind == QAccessible::WordBoundary ? QTextBoundaryFinder::Word
                                                                   : QTextBoundaryFinder::Sentence,
                               text);
    for (int at = static_cast<int>(finder.toNextBoundary()); at > 0 && at < size;
         at = static_cast<int>(finder.toNextBoundary())) {
        // Words and the gaps between them are pieces; a gap is not cut at
        // each of its punctuation marks.
        const auto ends = QTextBoundaryFinder::StartOfItem | QTextBoundaryFinder::EndOfItem;
        if (kind != QAccessible::WordBoundary || (finder.boundaryReasons() & ends))
            starts << at;
    }
    // The caret after the last character stands on none.
    if (kind == QAccessible::CharBoundary && size > 0)
        starts << size;
    return starts;
}

// A read-only box as assistive technology sees it: text to read in pieces of
// every kind, a caret and a selection to move, nothing to rewrite. The
// toolkit's own text interfaces let any client rewrite a read-only box, and
// its generic answer for words and sentences never returns at the end of the
// text, so the boxes answer for themselves. Each kind of box reaches its
// widget directly for what only the widget knows.
class ReadOnlyText : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    ReadOnlyText(QWidget* box, bool multiLine)
        : QAccessibleWidget(box, QAccessible::EditableText), multiLine_(multiLine)
    {
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.editable = false;
        state.selectableText = true;
        state.multiLine = multiLine_;
        return state;
    }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? wholeText() : QAccessibleWidget::text(t);
    }
    void setText(QAccessible::Text, const QString&) override {}

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override
    {
        const auto [start, end] = selectedRange();
        const bool exists = selectionIndex == 0 && start != end;
        *startOffset = exists ? start : 0;
        *endOffset = exists ? end : 0;
    }
    int selectionCount() const override
    {
        const auto [start, end] = selectedRange();
        return start != end ? 1 : 0;
    }
    void addSelection(int startOffset, int endOffset) override { select(clamped(startOffset), clamped(endOffset)); }
    void removeSelection(int selectionIndex) override
    {
        if (selectionIndex == 0)
            select(cursorPosition(), cursorPosition());
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override
    {
        if (selectionIndex == 0)
            addSelection(startOffset, endOffset);
    }
    void setCursorPosition(int position) override { select(clamped(position), clamped(position)); }

    QString text(int startOffset, int endOffset) const override
    {
        const QString whole = wholeText();
        startOffset = std::clamp(startOffset, 0, static_cast<int>(whole.size()));
        endOffset = std::clamp(endOffset, startOffset, static_cast<int>(whole.size()));
        return whole.mid(startOffset, endOffset - startOffset);
    }

    // The piece of the kind asked for that holds the offset, and the ones
    // just before and after it. As in the toolkit's own interfaces, -1
    // stands for the end of the text and -2 for the caret, and an offset
    // outside the text gets an empty answer at -1. There is nothing before
    // the first piece and nothing after the last: the answer is empty, at
    // the start or the end.
    QString textAtOffset(int offset, QAccessible::TextBoundaryType kind, int* startOffset,
                         int* endOffset) const override
    {
        return piece(offset, kind, 0, startOffset, endOffset);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType kind, int* startOffset,
                             int* endOffset) const override
    {
        return piece(offset, kind, -1, startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType kind, int* startOffset,
                            int* endOffset) const override
    {
        return piece(offset, kind, 1, startOffset, endOffset);
    }

    QRect characterRect(int offset) const override
    {
        if (offset < 0 || offset >= characterCount())
            return QRect();
        const QRect local = characterRectIn(offset);
        return QRect(widget()->mapToGlobal(local.topLeft()), local.size());
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        // Far-off points are answered before any arithmetic on them.
        if (!QRect(widget()->mapToGlobal(QPoint(0, 0)), widget()->size()).contains(point))
            return -1;
        return offsetAt(widget()->mapFromGlobal(point));
    }

    void scrollToSubstring(int startIndex, int endIndex) override
    {
        // The caret goes to the far end first so the box scrolls the whole
        // substring into view, then back to its start.
        setCursorPosition(endIndex);
        setCursorPosition(startIndex);
    }

    QString attributes(int, int* startOffset, int* endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return QString();
    }

protected:
    virtual QString wholeText() const = 0;
    // An empty range at the caret when nothing is selected.
    virtual std::pair<int, int> selectedRange() const = 0;
    // Selects from anchor to the caret's new place; offsets within the text.
    virtual void select(int anchor, int caret) = 0;
    // Where each line begins, as the box shows its lines.
    virtual QList<int> lineStarts() const = 0;
    // In the box's own coordinates, for an offset within the text.
    virtual QRect characterRectIn(int offset) const = 0;
    virtual int offsetAt(QPoint local) const = 0;

    int clamped(int offset) const { return std::clamp(offset, 0, characterCount()); }

private:
    // step: 0 for the piece at the offset, -1 for the one before, 1 after.
    QString piece(int offset, QAccessible::TextBoundaryType kind, int step, int* startOffset, int* endOffset) const
    {
        const QString whole = wholeText();
        const auto size = static_cast<int>(whole.size());
        if (offset == -2)
            offset = cursorPosition();
        else if (offset == -1)
            offset = size;
        if (offset < 0 || offset > size) {
            *startOffset = *endOffset = -1;
            return QString();
        }
        const QList<int> starts = kind == QAccessible::LineBoundary ? lineStarts() : pieceStarts(whole, kind);
        const auto count = static_cast<int>(starts.size());
        const int wanted = static_cast<int>(std::upper_bound(starts.begin(), starts.end(), offset) - starts.begin()) - 1
                         + step;
        int start = size;
        int end = size;
        if (wanted < 0) {
            start = end = 0; // before the first piece
        } else if (wanted < count) {
            start = starts.at(wanted);
            end = wanted + 1 < count ? starts.at(wanted + 1) : size;
        }
        *startOffset = start;
        *endOffset = end;
        return whole.mid(start, end - start);
    }

    bool multiLine_;
};

class LineText final : public ReadOnlyText {
public:
    explicit LineText(QLineEdit* box) : ReadOnlyText(box, false) {}

    int cursorPosition() const override { return box()->cursorPosition(); }
    int characterCount() const override { return static_cast<int>(box()->text().size()); }

protected:
    QLineEdit* box() const { return static_cast<QLineEdit*>(widget()); }

    QString wholeText() const override { return box()->text(); }
    std::pair<int, int> selectedRange() const override
    {
        if (!box()->hasSelectedText())
            return {cursorPosition(), cursorPosition()};
        return {box()->selectionStart(), box()->selectionEnd()};
    }
    void select(int anchor, int caret) override { box()->setSelection(anchor, caret - anchor); }
    QList<int> lineStarts() const override { return {0}; }
    QRect characterRectIn(int offset) const override
    {
        // Measured from the caret, which the box places after any scrolling.
        const QString text = box()->text();
        const QFontMetrics metrics = box()->fontMetrics();
        const QRect caret = box()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const int x = caret.center().x() + metrics.horizontalAdvance(text.left(offset))
                    - metrics.horizontalAdvance(text.left(box()->cursorPosition()));
        return QRect(x, caret.top(), metrics.horizontalAdvance(text.at(offset)), caret.height());
    }
    int offsetAt(QPoint local) const override
    {
        // Asking the box where a point falls changes nothing in it.
        return box()->cursorPositionAt(local);
    }
};

class AreaText final : public ReadOnlyText {
public:
    explicit AreaText(QPlainTextEdit* box) : ReadOnlyText(box, true) {}

    int cursorPosition() const override { return box()->textCursor().position(); }
    int characterCount() const override { return box()->document()->characterCount() - 1; }

    // The viewport and the scroll bars are the box's own business: its text
    // is read through the caret and the pieces above, and neither can take
    // the focus (the viewport would report the box's focus as its own).
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

protected:
    QPlainTextEdit* box() const { return static_cast<QPlainTextEdit*>(widget()); }

    QString wholeText() const override { return box()->toPlainText(); }
    std::pair<int, int> selectedRange() const override
    {
        const QTextCursor cursor = box()->textCursor();
        return {cursor.selectionStart(), cursor.selectionEnd()};
    }
    void select(int anchor, int caret) override
    {
        QTextCursor cursor = box()->textCursor();
        cursor.setPosition(anchor);
        cursor.setPosition(caret, QTextCursor::KeepAnchor);
        box()->setTextCursor(cursor);
    }
    QList<int> lineStarts() const override
    {
        // The lines the box shows, wrapped at its width.
        QList<int> starts;
        const QTextDocument* document = box()->document();
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
            document->documentLayout()->blockBoundingRect(block); // lays the block out if it is not yet
            const QTextLayout* layout = block.layout();
            for (int i = 0; i < layout->lineCount(); ++i)
                starts << block.position() + layout->lineAt(i).textStart();
            if (layout->lineCount() == 0)
                starts << block.position();
        }
        return starts;
    }
    QRect characterRectIn(int offset) const override
    {
        QTextCursor cursor(box()->document());
        cursor.setPosition(offset);
        const QRect caret = box()->cursorRect(cursor).translated(box()->viewport()->pos());
        const QChar character = box()->document()->characterAt(offset);
        const bool printable = character != QChar::ParagraphSeparator && character != QLatin1Char('\n');
        return QRect(caret.left(), caret.top(), printable ? box()->fontMetrics().horizontalAdvance(character) : 0,
                     caret.height());
    }
    int offsetAt(QPoint local) const override
    {
        return box()->cursorForPosition(local - box()->viewport()->pos()).position();
    }
};

// The program as a screen reader names it wherever the pupil goes, by its
// name in the desktop's menu. The toolkit's own answer is the command; the
// application's display name would serve too, but the toolkit also adds
// that to the window's title.
class Program final : public QAccessibleApplication {
public:
    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name)
            return QAccessibleApplication::text(t);
        return QString::fromUtf8(quiz::kProgramName.data(), static_cast<qsizetype>(quiz::kProgramName.size()));
    }
};

QAccessibleInterface* accessibleFor(const QString& className, QObject* object)
{
    if (object == QCoreApplication::instance())
        return new Program;
    if (className == QLatin1String(ReadOnlyLine::staticMetaObject.className()))
        return new LineText(static_cast<ReadOnlyLine*>(object));
    if (className == QLatin1String(ReadOnlyArea::staticMetaObject.className()))
        return new AreaText(static_cast<ReadOnlyArea*>(object));
    if (className == QLatin1String(Announcer::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<Announcer*>(object), QAccessible::Notification);
    // A frame named by its title, so that a screen reader can read it out.
    if (className == QLatin1String(Sorbela::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<Sorbela*>(object), QAccessible::Window);
    return nullptr;
}

} // namespace

void installAccessibility()
{
    QAccessible::installFactory(accessibleFor);
}

} // namespace linux_ui
