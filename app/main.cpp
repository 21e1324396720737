#include "runtime/clock_random.h"
#include "window/locale_format.h"
#include "window/sorbela.h"

#include <QApplication>
#include <QFileInfo>
#include <QLocale>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// While the toolkit connects to the display, its complaints are held back.
// If it finds no display at all, the user gets one plain line instead of a
// plugin dump and an abort; if it fails for any other reason (a platform
// plugin that is missing or cannot load), the toolkit's own account of it
// is what helps, so that goes out whole. If it starts, they go out as usual.
QtMessageHandler previousHandler = nullptr;
struct HeldMessage {
    QtMsgType type;
    QString message;
    QString line; // as the toolkit would have printed it
};
std::vector<HeldMessage> heldBack;

bool saysNoDisplay(const QString& message)
{
    return message.startsWith(QLatin1String("could not connect to display"))
        || message.startsWith(QLatin1String("Failed to create wl_display"));
}

bool saysNoPlugin(const QString& message)
{
    return message.startsWith(QLatin1String("Could not find the Qt platform plugin"));
}

[[noreturn]] void failToStart(const QString& fatal)
{
    bool noDisplay = false;
    bool noPlugin = false;
    for (const HeldMessage& held : heldBack) {
        noDisplay = noDisplay || saysNoDisplay(held.message);
        noPlugin = noPlugin || saysNoPlugin(held.message);
    }
    if (noDisplay && !noPlugin) {
        std::fputs("koren: не може да се отвори прозорец: няма достъп до графичен дисплей"
                   " (проверете DISPLAY или WAYLAND_DISPLAY)\n",
                   stderr);
    } else {
        for (const HeldMessage& held : heldBack)
            std::fprintf(stderr, "%s\n", qUtf8Printable(held.line));
        std::fprintf(stderr, "%s\n", qUtf8Printable(fatal));
    }
    std::fflush(stderr);
    std::_Exit(EXIT_FAILURE);
}

void holdBackStartupMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtFatalMsg)
        failToStart(message);
    heldBack.push_back({type, message, qFormatLogMessage(type, context, message)});
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
    joinOnlyARunningSessionBus();

    previousHandler = qInstallMessageHandler(holdBackStartupMessages);
    QApplication app(argc, argv);
    qInstallMessageHandler(previousHandler);
    for (const HeldMessage& held : heldBack)
        qt_message_output(held.type, QMessageLogContext(), held.line);
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
