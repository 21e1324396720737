#include "linux/colour_button.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <qdrawutil.h>

namespace linux_ui {

ColourButton::ColourButton(const QString& text, QColor face, QWidget* parent) : QPushButton(text, parent)
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::Button, face);
    setPalette(palette);
}

void ColourButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool sunken = isDown() || isChecked();
    qDrawWinButton(&painter, rect(), palette(), sunken, &palette().button());

    QRect label = rect().adjusted(kEdge, kEdge, -kEdge, -kEdge);
    if (sunken)
        label.translate(1, 1);
    style()->drawItemText(&painter, label, Qt::AlignCenter | Qt::TextShowMnemonic, palette(), isEnabled(), text(),
                          QPalette::ButtonText);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(kEdge, kEdge, -kEdge, -kEdge);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void ColourButton::keyPressEvent(QKeyEvent* event)
{
    // The toolkit presses only a default button on Return, and neither of
    // the window's buttons is one: the focus alone decides what Return does.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier)
        return click();
    QPushButton::keyPressEvent(event);
}

} // namespace linux_ui
