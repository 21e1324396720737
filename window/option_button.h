#pragma once

#include <QRadioButton>

namespace window {

// An option that answers a click anywhere on its coloured rectangle, not
// only on its circle and caption: the whole rectangle looks like the option.
class OptionButton final : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

} // namespace window
