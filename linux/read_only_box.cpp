#include "linux/read_only_box.h"

#include <QFocusEvent>
#include <QStyle>
#include <QStyleOptionFrame>

namespace linux_ui {

ReadOnlyLine::ReadOnlyLine(const QString& text, QWidget* parent) : QLineEdit(text, parent)
{
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

void ReadOnlyLine::focusInEvent(QFocusEvent* event)
{
    // The toolkit selects a line box's whole text when the keyboard brings
    // the focus; a box the pupil only reads would then be announced as
    // selected, and as unselected again on the way out.
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason) {
        QFocusEvent unselecting(event->type(), Qt::OtherFocusReason);
        return QLineEdit::focusInEvent(&unselecting);
    }
    QLineEdit::focusInEvent(event);
}

ReadOnlyArea::ReadOnlyArea(const QString& text, QWidget* parent) : QPlainTextEdit(text, parent)
{
    setReadOnly(true);
    // Read-only leaves the mouse only; the caret keys must move too, for
    // selecting and for a screen reader's reading.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setTabChangesFocus(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

} // namespace linux_ui
