#include "window/option_button.h"

#include <QButtonGroup>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QStyle>
#include <QStyleOptionButton>

namespace window {

int OptionButton::textRoom() const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    const QSize bare = style()->sizeFromContents(QStyle::CT_RadioButton, &option, QSize(0, 0), this);
    return width() - bare.width();
}

void OptionButton::keyPressEvent(QKeyEvent* event)
{
    // The toolkit moves only the focus when no option is chosen yet; on a
    // fresh question the pupil's first arrow would then choose nothing.
    int step = 0;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        step = -1;
        break;
    case Qt::Key_Down:
    case Qt::Key_Right:
        step = 1;
        break;
    default:
        break;
    }
    QButtonGroup* options = group();
    if (step == 0 || !options || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return QRadioButton::keyPressEvent(event);

    const auto count = static_cast<int>(options->buttons().size());
    QAbstractButton* next = options->button((options->id(this) + step + count) % count);
    if (!next)
        return QRadioButton::keyPressEvent(event);
    // Chosen before it takes the focus, so a screen reader announces it as
    // chosen.
    next->click();
    next->setFocus(Qt::OtherFocusReason);
}

void OptionButton::focusInEvent(QFocusEvent* event)
{
    // The toolkit keeps the group's tab stop wherever the focus last left
    // it, also after a new question has cleared the choice.
    QButtonGroup* options = group();
    const bool tabbed = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    if (tabbed && options) {
        QAbstractButton* entry = options->checkedButton() ? options->checkedButton() : options->button(0);
        if (entry && entry != this) {
            entry->setFocus(event->reason());
            return;
        }
    }
    QRadioButton::focusInEvent(event);
}

} // namespace window
