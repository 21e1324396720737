#include "app/command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace app {
namespace {

// The options the toolkit takes from the command line itself, as Qt 6.4 and
// 6.8 document and read them: QCoreApplication's -qmljsdebugger;
// QGuiApplication's own, with -testability; QApplication's, with the obsolete
// -qdevel and -qdebug it still swallows; the X11 platform's -display, -name,
// -visual, -nograb and -dograb, and -geometry, -title and -icon where X11 is
// the default platform. Each is read with one dash or two. A value is the
// next argument; only where the toolkit reads "-name=value" as well may it
// be joined on: written so anywhere else, the toolkit would pass it over.
struct ToolkitOption {
    const char* name;
    bool takesValue;
    bool takesJoinedValue;
};
constexpr ToolkitOption kToolkitOptions[] = {
    {"platform", true, false},
    {"platformpluginpath", true, false},
    {"platformtheme", true, false},
    {"plugin", true, false},
    {"qwindowgeometry", true, false},
    {"qwindowicon", true, false},
    {"qwindowtitle", true, false},
    {"session", true, false},
    {"style", true, true},
    {"stylesheet", true, true},
    {"qmljsdebugger", true, true},
    {"display", true, false},
    {"name", true, false},
    {"visual", true, false},
    {"geometry", true, false},
    {"icon", true, false},
    {"title", true, false},
    {"reverse", false, false},
    {"testability", false, false},
    {"widgetcount", false, false},
    {"qdevel", false, false},
    {"qdebug", false, false},
    {"nograb", false, false},
    {"dograb", false, false},
};

constexpr char kHelp[] =
    "Употреба: koren [ОПЦИЯ НА Qt]...\n"
    "   или:   koren -h | --help | -v | --version\n"
    "Упражнение по корен квадратен за ученици: прозорец, който пита за корен\n"
    "квадратен от естествено число и предлага пет възможни корена.\n"
    "\n"
    "  -h, --help     показва тази помощ и излиза\n"
    "  -v, --version  показва името и версията на програмата и излиза\n"
    "\n"
    "Приема и стандартните опции на библиотеката Qt, например -platform ИМЕ\n"
    "или -display ДИСПЛЕЙ; всички са описани в „man koren“.\n";

constexpr char kUnknownOption[] = "непозната опция";
constexpr char kUnexpectedArgument[] = "неочакван аргумент";
constexpr char kMissingValue[] = "липсва стойност след опцията";

int refuse(const char* what, const QString& argument)
{
    std::fprintf(stderr, "koren: %s „%s“; вижте „koren --help“\n", what, qPrintable(argument));
    return kUsageExitStatus;
}

// The option an argument names: without its dashes or a value joined on.
QString optionName(const QString& argument)
{
    const QString word = argument.mid(argument.startsWith(u"--") ? 2 : 1);
    return word.left(word.indexOf(u'='));
}

const ToolkitOption* toolkitOption(const QString& name)
{
    for (const ToolkitOption& option : kToolkitOptions) {
        if (name == QLatin1String(option.name))
            return &option;
    }
    return nullptr;
}

bool isSwitch(const QString& name, const QList<QCommandLineOption>& ownOptions)
{
    if (const ToolkitOption* known = toolkitOption(name))
        return !known->takesValue;
    return std::any_of(ownOptions.begin(), ownOptions.end(),
                       [&](const QCommandLineOption& own) { return own.names().contains(name); });
}

// "-platform=xcb", which the toolkit passes over (it reads "-platform xcb").
// The joined value must be one the parser took for that option, so that the
// value of another option ("-qwindowtitle -platform=x") is not mistaken.
QString valueJoinedUnread(const QStringList& arguments, const QCommandLineParser& parser)
{
    for (const QString& argument : arguments.mid(1)) {
        const qsizetype equals = argument.indexOf(u'=');
        if (!argument.startsWith(u'-') || equals < 0)
            continue;
        const QString name = optionName(argument);
        const ToolkitOption* known = toolkitOption(name);
        if (known && known->takesValue && !known->takesJoinedValue
            && parser.values(name).contains(argument.mid(equals + 1)))
            return argument;
    }
    return {};
}

} // namespace

std::optional<int> answerCommandLine(int argc, const char* const argv[])
{
    if (argc < 1) // not even the program's name: nothing to read
        return std::nullopt;
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QList<QCommandLineOption> ownOptions{help, version};
    parser.addOptions(ownOptions);
    for (const ToolkitOption& known : kToolkitOptions) {
        QCommandLineOption option(QString::fromLatin1(known.name));
        if (known.takesValue)
            option.setValueName(QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }

    if (!parser.parse(arguments)) {
        // Unknown options are named as written. Anything else that stops the
        // parser is a value joined on to a switch ("-reverse=1", which the
        // toolkit would pass over), or a value missing after the last option.
        const QStringList unknown = parser.unknownOptionNames();
        for (const QString& argument : arguments.mid(1)) {
            if (!argument.startsWith(u'-'))
                continue;
            const QString name = optionName(argument);
            const bool atFault = unknown.isEmpty() ? argument.contains(u'=') && isSwitch(name, ownOptions)
                                                   : name == unknown.constFirst();
            if (atFault)
                return refuse(kUnknownOption, argument);
        }
        return refuse(kMissingValue, arguments.constLast());
    }
    if (const QString joined = valueJoinedUnread(arguments, parser); !joined.isEmpty())
        return refuse(kUnknownOption, joined);
    if (!parser.positionalArguments().isEmpty())
        return refuse(kUnexpectedArgument, parser.positionalArguments().constFirst());

    if (parser.isSet(help)) {
        std::fputs(kHelp, stdout);
        return EXIT_SUCCESS;
    }
    if (parser.isSet(version)) {
        std::fputs("koren " KOREN_VERSION_TEXT "\n", stdout);
        return EXIT_SUCCESS;
    }
    return std::nullopt;
}

} // namespace app
