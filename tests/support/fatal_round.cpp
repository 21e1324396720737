// Preloaded into the program (LD_PRELOAD) by the install check, to see the
// exit status of a fatal error from the program itself. Once the window is
// up, it plays one round whose chosen option reads 1e400: a caption no
// question produces, and a number whose square the program cannot hold.
// From the click on "Изведи" on, everything is the program's own. Should the
// program survive the round, the event loop is ended instead (status 0), so
// that the check sees a wrong status rather than waiting for a timeout.

#include <QAbstractButton>
#include <QApplication>
#include <QMetaObject>

#include <cstdio>

namespace {

void playAnImpossibleRound()
{
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [] {
            bool played = false;
            for (QWidget* window : QApplication::topLevelWidgets()) {
                auto* option = window->findChild<QAbstractButton*>(QStringLiteral("Option1_0"));
                auto* check = window->findChild<QAbstractButton*>(QStringLiteral("Command1_0"));
                if (!option || !check)
                    continue;
                option->setText(QStringLiteral("1e400"));
                option->click();
                check->click();
                played = true;
            }
            if (!played)
                std::fputs("fatal_round: no window with Option1_0 and Command1_0\n", stderr);
            QCoreApplication::quit();
        },
        Qt::QueuedConnection);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(playAnImpossibleRound)
