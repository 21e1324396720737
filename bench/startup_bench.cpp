// Start-up benchmark: starts the program and the reference window in turn,
// A B A B, on the X display in DISPLAY, and measures for each start the time
// from exec until the window's background colour is on the screen, and the
// process's peak resident memory once it is up.
// Usage: startup_bench [--rounds N] [--warmup N] [--probe X,Y] [--targets PAINT,MEMORY]
//                      PROGRAM REFERENCE

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// A point of the window's own background, clear of every element, with the
// window at the top-left corner as an X server without a window manager puts
// it (--probe moves it: Wine's windows sit below a title bar of their own).
int probeX = 480;
int probeY = 2;
constexpr unsigned long kBackground = 0xC0C0FF;

struct Sample {
    double firstPaintMs;
    double peakMiB;
};

unsigned long pixelAt(Display* display)
{
    XImage* image = XGetImage(display, DefaultRootWindow(display), probeX, probeY, 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return 0;
    const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
    XDestroyImage(image);
    return pixel;
}

double peakResidentMiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            double kib = 0;
            status >> kib;
            return kib / 1024.0;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

Sample startOnce(Display* display, const char* program)
{
    while (pixelAt(display) == kBackground) // the last window is still on screen
        std::this_thread::sleep_for(std::chrono::milliseconds(5));

    const auto started = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    while (pixelAt(display) != kBackground) {
        if (Clock::now() - started > std::chrono::seconds(30)) {
            std::fprintf(stderr, "startup_bench: %s showed no window in 30 s\n", program);
            std::exit(1);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - started).count();

    std::this_thread::sleep_for(std::chrono::milliseconds(300)); // let it settle
    const double peak = peakResidentMiB(pid);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return {ms, peak};
}

struct Summary {
    double median, low, high;
};

Summary summarize(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {median, values.front(), values.back()};
}

} // namespace

int main(int argc, char* argv[])
{
    int rounds = 20;
    int warmup = 3;
    double paintTarget = 1.50;
    double memoryTarget = 1.25;
    std::vector<const char*> programs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--rounds" && i + 1 < argc)
            rounds = std::atoi(argv[++i]);
        else if (arg == "--warmup" && i + 1 < argc)
            warmup = std::atoi(argv[++i]);
        else if (arg == "--probe" && i + 1 < argc)
            std::sscanf(argv[++i], "%d,%d", &probeX, &probeY);
        else if (arg == "--targets" && i + 1 < argc)
            std::sscanf(argv[++i], "%lf,%lf", &paintTarget, &memoryTarget);
        else
            programs.push_back(argv[i]);
    }
    if (programs.size() != 2 || rounds < 1) {
        std::fputs(
            "usage: startup_bench [--rounds N] [--warmup N] [--probe X,Y] [--targets PAINT,MEMORY]"
            " PROGRAM REFERENCE\n",
            stderr);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fputs("startup_bench: no X display (run it through bench/run-startup)\n", stderr);
        return 1;
    }

    std::vector<Sample> samples[2];
    for (int round = -warmup; round < rounds; ++round)
        for (int which = 0; which < 2; ++which) {
            const Sample s = startOnce(display, programs[static_cast<std::size_t>(which)]);
            if (round >= 0)
                samples[which].push_back(s);
        }
    XCloseDisplay(display);

    Summary paint[2];
    Summary memory[2];
    for (int which = 0; which < 2; ++which) {
        std::vector<double> ms;
        std::vector<double> mib;
        for (const Sample& s : samples[which]) {
            ms.push_back(s.firstPaintMs);
            mib.push_back(s.peakMiB);
        }
        paint[which] = summarize(ms);
        memory[which] = summarize(mib);
    }
    std::printf("%d rounds after %d warm-up rounds, interleaved\n", rounds, warmup);
    std::printf("%-10s %28s %30s\n", "", "first paint ms: median (min-max)", "peak RSS MiB: median (min-max)");
    const char* names[2] = {"program", "reference"};
    for (int which = 0; which < 2; ++which)
        std::printf("%-10s %14.1f (%.1f-%.1f) %20.1f (%.1f-%.1f)\n", names[which], paint[which].median,
                    paint[which].low, paint[which].high, memory[which].median, memory[which].low, memory[which].high);
    const double paintRatio = paint[0].median / paint[1].median;
    const double memoryRatio = memory[0].median / memory[1].median;
    std::printf("ratio program/reference: first paint %.2fx (target %.2fx), peak memory %.2fx (target %.2fx)\n",
                paintRatio, paintTarget, memoryRatio, memoryTarget);
    return 0;
}
