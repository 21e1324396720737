#include "runtime/clock_random.h"
#include "window/locale_format.h"
#include "window/sorbela.h"

#include <QApplication>
#include <QLocale>

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

// While the toolkit connects to the display, its complaints are held back:
// if it cannot, the user gets one plain line instead of a plugin dump and an
// abort; if it can, they go out as usual.
QtMessageHandler previousHandler = nullptr;
std::vector<std::pair<QtMsgType, QString>> heldBack;

void holdBackStartupMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg) {
        std::fputs("koren: не може да се отвори прозорец: няма достъп до графичен дисплей"
                   " (проверете DISPLAY или WAYLAND_DISPLAY)\n",
                   stderr);
        std::fflush(stderr);
        std::_Exit(EXIT_FAILURE);
    }
    heldBack.emplace_back(type, message);
}

} // namespace

int main(int argc, char* argv[])
{
    previousHandler = qInstallMessageHandler(holdBackStartupMessages);
    QApplication app(argc, argv);
    qInstallMessageHandler(previousHandler);
    for (const auto& [type, message] : heldBack)
        qt_message_output(type, QMessageLogContext(), message);
    heldBack.clear();

    QApplication::setApplicationName(QStringLiteral("koren"));
    QApplication::setApplicationVersion(QStringLiteral(KOREN_VERSION_TEXT));
    QApplication::setDesktopFileName(QStringLiteral("org.example.koren"));

    runtime::ClockRandom random;
    window::Sorbela form(random, window::numberFormatOf(QLocale::system()));
    form.load();
    form.show();
    return QApplication::exec();
}
