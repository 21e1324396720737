#include "window/colour_button.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <qdrawutil.h>

namespace window {

ColourButton::ColourButton(const QString& text, QColor face, QWidget* parent) : QPushButton(text, parent), face_(face)
{
    setAutoDefault(false);
    setDefault(false);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Button, face_);
    setPalette(palette);
}

void ColourButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool sunken = isDown() || isChecked();
    QBrush face(face_);
    qDrawWinButton(&painter, rect(), palette(), sunken, &face);

    QRect label = rect().adjusted(kEdge, kEdge, -kEdge, -kEdge);
    if (sunken)
        label.translate(1, 1);
    style()->drawItemText(&painter, label, Qt::AlignCenter | Qt::TextShowMnemonic, palette(), isEnabled(), text(),
                          QPalette::ButtonText);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(4, 4, -4, -4);
        focus.backgroundColor = face_;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

} // namespace window
