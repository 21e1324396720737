#pragma once

#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

extern char** environ;

namespace testing_support {

// Starts a test program from an environment of its own rather than the
// caller's, so that a pupil's or developer's desktop session cannot change
// a result: no platform plugin, scale, font configuration, style, theme,
// locale, display, bus, home or runtime folder of theirs reaches the
// toolkit. Only the variables in kKept come through. The program then runs
// on the offscreen platform in the C.UTF-8 locale, with an empty home and
// runtime folder (removed at exit) and no session bus. A test that needs
// something else says so on its command line: arguments of the form
// NAME=VALUE, anywhere among the others, are set on top and taken out of
// argv, e.g. `scale_tests QT_SCALE_FACTOR=1.5`.
class CleanEnvironment {
public:
    // What may come through: where programs are, where scratch files go,
    // the sanitizers' settings and the seed that replays a soak run.
    static constexpr const char* kKept[] = {"PATH",          "TMPDIR",       "ASAN_OPTIONS",
                                            "UBSAN_OPTIONS", "LSAN_OPTIONS", "KOREN_SEED"};

    CleanEnvironment(int& argc, char** argv)
    {
        for (std::string name : inheritedNames())
            if (!kept(name))
                ::unsetenv(name.c_str());

        if (!scratch_.isValid())
            fail("no scratch folder: " + scratch_.errorString().toStdString());
        const std::string home = scratch_.filePath(QStringLiteral("home")).toStdString();
        const std::string runtime = scratch_.filePath(QStringLiteral("runtime")).toStdString();
        if (::mkdir(home.c_str(), 0700) != 0 || ::mkdir(runtime.c_str(), 0700) != 0)
            fail("cannot make the scratch home and runtime folder");
        set("HOME", home);
        set("XDG_RUNTIME_DIR", runtime);
        set("LC_ALL", "C.UTF-8");
        set("LANG", "C.UTF-8");
        set("QT_QPA_PLATFORM", "offscreen");
        // An address libdbus cannot parse: it neither joins a bus nor starts one.
        set("DBUS_SESSION_BUS_ADDRESS", "disabled:");

        int left = 1;
        for (int i = 1; i < argc; ++i) {
            const char* equals = assignment(argv[i]);
            if (equals)
                set(std::string(argv[i], static_cast<std::size_t>(equals - argv[i])), equals + 1);
            else
                argv[left++] = argv[i];
        }
        argc = left;
        argv[argc] = nullptr;
    }

    CleanEnvironment(const CleanEnvironment&) = delete;
    CleanEnvironment& operator=(const CleanEnvironment&) = delete;

private:
    static std::vector<std::string> inheritedNames()
    {
        std::vector<std::string> names;
        for (char** entry = environ; *entry; ++entry)
            if (const char* equals = std::strchr(*entry, '='))
                names.emplace_back(*entry, static_cast<std::size_t>(equals - *entry));
        return names;
    }

    static bool kept(const std::string& name)
    {
        for (const char* keep : kKept)
            if (name == keep)
                return true;
        return false;
    }

    // Where the '=' of a NAME=VALUE argument is (NAME in capitals, digits
    // and underscores, not starting with a digit); null for any other.
    static const char* assignment(const char* argument)
    {
        const char* c = argument;
        if (!(*c == '_' || (*c >= 'A' && *c <= 'Z')))
            return nullptr;
        while (*c == '_' || (*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9'))
            ++c;
        return *c == '=' ? c : nullptr;
    }

    static void set(const std::string& name, const std::string& value)
    {
        if (::setenv(name.c_str(), value.c_str(), 1) != 0)
            fail("cannot set " + name);
    }

    [[noreturn]] static void fail(const std::string& what)
    {
        std::fprintf(stderr, "test set-up: %s\n", what.c_str());
        std::exit(2);
    }

    QTemporaryDir scratch_;
};

} // namespace testing_support
