#include "linux/announcer.h"

#include <QAccessible>
#include <QLabel>

namespace linux_ui {

Announcer::Announcer(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Announcer"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 0, 0);
    setVisible(false);
}

void Announcer::announce(const QString& text)
{
    // One braille line: the result's line break becomes a space.
    const QString line = QString(text).replace(QLatin1Char('\n'), QLatin1Char(' '));
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    // Screen readers speak an announcement and show it in braille, with no
    // notification around it.
    QAccessibleAnnouncementEvent announcement(this, line);
    QAccessible::updateAccessibility(&announcement);
#else
    hide();
    // Made with its first words: a label without any would be an unnamed
    // one to assistive technology.
    if (!words_)
        words_ = new QLabel(this);
    words_->setText(line);
    show();
#endif
}

} // namespace linux_ui
