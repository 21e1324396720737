#pragma once

#include <QRadioButton>

namespace linux_ui {

// One of the five answer options. It answers a click anywhere on its
// coloured rectangle, not only on its circle and caption, since the whole
// rectangle looks like the option; an arrow key always moves the choice to
// the neighbouring option, round from the last to the first. A mouse press
// does not focus it: the window moves the focus to an option once it is
// chosen (Sorbela::makeChoiceHeard).
class OptionButton final : public QRadioButton {
    Q_OBJECT

public:
    OptionButton(const QString& text, QWidget* parent);

    // The width the caption has beside the circle.
    int textRoom() const;
    // True while the Space key is checking it.
    bool checkingBySpace() const { return checkingBySpace_; }

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    bool checkingBySpace_ = false;
};

} // namespace linux_ui
