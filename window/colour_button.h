#pragma once

#include <QColor>
#include <QPushButton>

namespace window {

// A push button that shows its own colour as a solid face with a raised
// edge, whatever the desktop style would do with a button's palette. Painted
// by hand: a style sheet would do the same at a cost in start-up time and
// memory.
class ColourButton final : public QPushButton {
public:
    ColourButton(const QString& text, QColor face, QWidget* parent);

    // The width the caption has inside the raised edge, pressed or not.
    int textRoom() const { return width() - 2 * kEdge - 1; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static constexpr int kEdge = 2;

    QColor face_;
};

} // namespace window
