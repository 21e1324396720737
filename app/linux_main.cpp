#include "app/command_line.h"
#include "linux/application.h"
#include "linux/locale_format.h"
#include "linux/sorbela.h"
#include "runtime/clock_random.h"

#include <QApplication>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

namespace {

// While the toolkit connects to the display its messages are held back.
// Finding no display at all, the user gets one plain line instead of a
// plugin dump and an abort; failing for any other reason (a platform plugin
// that is missing or will not load), the toolkit's own account is what
// helps, so that goes out whole. If it starts, they go out as usual.
std::vector<std::pair<QtMsgType, QString>> heldBack; // as the toolkit would print them

void holdBackStartupMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    const QString line = qFormatLogMessage(type, context, message);
    if (type != QtFatalMsg) {
        heldBack.emplace_back(type, line);
        return;
    }
    const bool noDisplay = std::any_of(heldBack.begin(), heldBack.end(), [](const auto& held) {
        return held.second.contains(QLatin1String("could not connect to display"))
            || held.second.contains(QLatin1String("Failed to create wl_display"));
    });
    if (noDisplay) {
        std::fputs(
            "koren: не може да се отвори прозорец: няма достъп до графичен дисплей"
            " (проверете DISPLAY или WAYLAND_DISPLAY)\n",
            stderr);
    } else {
        for (const auto& held : heldBack)
            std::fprintf(stderr, "%s\n", qUtf8Printable(held.second));
        std::fprintf(stderr, "%s\n", qUtf8Printable(line));
    }
    std::_Exit(EXIT_FAILURE);
}

// With no session bus to join, the accessibility bridge would have libdbus
// start one: a dbus-launch and a daemon that outlive the program, and files
// in the home folder. Accessibility then simply has no bus. libdbus finds a
// bus from DBUS_SESSION_BUS_ADDRESS or the socket in XDG_RUNTIME_DIR; an
// address it cannot parse stops it looking further.
void joinOnlyARunningSessionBus()
{
    if (qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
        return;
    const QString runtimeDir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtimeDir.isEmpty() && QFileInfo(runtimeDir + QLatin1String("/bus")).exists())
        return;
    qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
}

} // namespace

int main(int argc, char* argv[])
{
    if (const std::optional<int> answered = app::answerCommandLine(argc, argv))
        return *answered;

    joinOnlyARunningSessionBus();

    const QtMessageHandler usual = qInstallMessageHandler(holdBackStartupMessages);
    QApplication app(argc, argv);
    qInstallMessageHandler(usual);
    for (const auto& [type, line] : std::exchange(heldBack, {}))
        qt_message_output(type, QMessageLogContext(), line);

    QApplication::setApplicationName(QStringLiteral("koren"));
    QApplication::setApplicationVersion(QStringLiteral(KOREN_VERSION_TEXT));
    QApplication::setDesktopFileName(QStringLiteral("org.example.koren"));
    linux_ui::setUpApplication();

    runtime::ClockRandom random;
    linux_ui::Sorbela form(random, linux_ui::numberFormatOf(QLocale::system()));
    form.load();
    form.show();
    return QApplication::exec();
}
