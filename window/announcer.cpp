#include "window/announcer.h"

namespace window {

Announcer::Announcer(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Announcer"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 0, 0);
    setVisible(false);
}

void Announcer::announce(const QString& text)
{
    hide();
    setAccessibleName(text);
    show();
}

} // namespace window
