#pragma once

#include <QWidget>

class QLabel;

namespace linux_ui {

// Speaks a text through the screen reader, and puts it on the braille
// display, without showing anything or taking the focus. With Qt 6.8 and
// later that is an announcement; before, a notification with no size that
// appears each time, holding the text as a label: screen readers read a
// notification that appears and show on braille the labels inside it (a
// change to the focused button's description they do not read).
class Announcer final : public QWidget {
    Q_OBJECT

public:
    explicit Announcer(QWidget* parent);

    void announce(const QString& text);

private:
    QLabel* words_ = nullptr;
};

} // namespace linux_ui
