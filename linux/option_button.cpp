#include "linux/option_button.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QStyle>
#include <QStyleOptionButton>

namespace linux_ui {

OptionButton::OptionButton(const QString& text, QWidget* parent) : QRadioButton(text, parent)
{
    // The toolkit focuses a control on the mouse press and checks it on the
    // release: a screen reader would read the option out as chosen or not,
    // whichever it found as it got round to it. The window focuses it once
    // the click has chosen it.
    setFocusPolicy(Qt::TabFocus);
}

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
    next->click();
}

void OptionButton::keyReleaseEvent(QKeyEvent* event)
{
    // The toolkit checks the option as Space comes up.
    checkingBySpace_ = event->key() == Qt::Key_Space;
    QRadioButton::keyReleaseEvent(event);
    checkingBySpace_ = false;
}

} // namespace linux_ui
