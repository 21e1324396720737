#include "window/announcer.h"

#include <QLabel>

namespace window {

Announcer::Announcer(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Announcer"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 0, 0);
    setVisible(false);
}

void Announcer::announce(const QString& text)
{
    hide();
    // Made with its first words: a label without any would be an unnamed
    // one to assistive technology.
    if (!words_)
        words_ = new QLabel(this);
    // One braille line: the result's line break becomes a space.
    words_->setText(QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')));
    show();
}

} // namespace window
