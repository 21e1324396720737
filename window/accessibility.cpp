#include "window/accessibility.h"

#include "window/announcer.h"
#include "window/read_only_box.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include <algorithm>

namespace window {
namespace {

// A read-only box as assistive technology sees it: text to read, a caret
// and a selection to move, nothing to rewrite. The toolkit's own text
// interfaces let any client replace or insert text in a read-only box and
// call the box editable, so these boxes answer for themselves.
class ReadOnlyTextAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    ReadOnlyTextAccessible(QWidget* box, ReadableText& text, bool multiLine)
        : QAccessibleWidget(box, QAccessible::EditableText), text_(text), multiLine_(multiLine)
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
        return t == QAccessible::Value ? text_.wholeText() : QAccessibleWidget::text(t);
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
        const auto [start, end] = text_.selectedRange();
        const bool exists = selectionIndex == 0 && start != end;
        *startOffset = exists ? start : 0;
        *endOffset = exists ? end : 0;
    }
    int selectionCount() const override
    {
        const auto [start, end] = text_.selectedRange();
        return start != end ? 1 : 0;
    }
    void addSelection(int startOffset, int endOffset) override { text_.selectRange(startOffset, endOffset); }
    void removeSelection(int selectionIndex) override
    {
        if (selectionIndex == 0)
            text_.moveCaret(text_.caret());
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override
    {
        if (selectionIndex == 0)
            text_.selectRange(startOffset, endOffset);
    }

    int cursorPosition() const override { return text_.caret(); }
    void setCursorPosition(int position) override { text_.moveCaret(position); }

    QString text(int startOffset, int endOffset) const override
    {
        const QString whole = text_.wholeText();
        startOffset = std::clamp(startOffset, 0, static_cast<int>(whole.size()));
        endOffset = std::clamp(endOffset, startOffset, static_cast<int>(whole.size()));
        return whole.mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(text_.wholeText().size()); }

    QRect characterRect(int offset) const override
    {
        const QRect local = text_.characterRect(offset);
        return QRect(widget()->mapToGlobal(local.topLeft()), local.size());
    }
    int offsetAtPoint(const QPoint& point) const override { return text_.offsetAt(widget()->mapFromGlobal(point)); }

    void scrollToSubstring(int startIndex, int endIndex) override
    {
        // The caret goes to the far end first so the box scrolls the whole
        // substring into view, then back to its start.
        text_.moveCaret(endIndex);
        text_.moveCaret(startIndex);
    }

    QString attributes(int, int* startOffset, int* endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return QString();
    }

private:
    ReadableText& text_;
    bool multiLine_;
};

QAccessibleInterface* accessibleFor(const QString& className, QObject* object)
{
    if (className == QLatin1String(ReadOnlyLine::staticMetaObject.className())) {
        auto* box = static_cast<ReadOnlyLine*>(object);
        return new ReadOnlyTextAccessible(box, *box, false);
    }
    if (className == QLatin1String(ReadOnlyArea::staticMetaObject.className())) {
        auto* box = static_cast<ReadOnlyArea*>(object);
        return new ReadOnlyTextAccessible(box, *box, true);
    }
    if (className == QLatin1String(Announcer::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<Announcer*>(object), QAccessible::Notification);
    return nullptr;
}

} // namespace

void installAccessibility()
{
    QAccessible::installFactory(accessibleFor);
}

} // namespace window
