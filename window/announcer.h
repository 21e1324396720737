#pragma once

#include <QWidget>

namespace window {

// Speaks a text through the screen reader without showing anything or
// taking the focus: a notification with no size and no paint that appears,
// named with the text, each time. Screen readers read a notification that
// appears; a change to the focused button's description they do not.
class Announcer final : public QWidget {
    Q_OBJECT

public:
    explicit Announcer(QWidget* parent);

    void announce(const QString& text);
};

} // namespace window
