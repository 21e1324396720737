#pragma once

#include <QColor>
#include <QPushButton>

namespace linux_ui {

// A push button that shows its palette's button colour as a solid face with
// a raised edge, whatever the desktop style would do with a button's
// palette. Painted by hand: a style sheet would do the same at a cost in
// start-up time and memory. Return and Enter press it while it has the
// focus, as Space does.
class ColourButton final : public QPushButton {
public:
    ColourButton(const QString& text, QColor face, QWidget* parent);

    // The width the caption has inside the raised edge, pressed or not.
    int textRoom() const { return width() - 2 * kEdge - 1; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    static constexpr int kEdge = 2;
};

} // namespace linux_ui
