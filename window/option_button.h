#pragma once

#include <QRadioButton>

namespace window {

// One of the five answer options. It answers a click anywhere on its
// coloured rectangle, not only on its circle and caption, since the whole
// rectangle looks like the option; an arrow key always moves the choice to
// the neighbouring option, round from the last to the first; and Tab enters
// the group at its chosen option, or at the first while none is chosen.
class OptionButton final : public QRadioButton {
    Q_OBJECT

public:
    using QRadioButton::QRadioButton;

    // The width the caption has beside the circle.
    int textRoom() const;

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
};

} // namespace window
