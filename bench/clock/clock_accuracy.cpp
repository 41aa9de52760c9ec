#include "clock_accuracy.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "framework/automation.h"
#include "station/form1.h"
#include "station/program.h"

namespace ws::bench {

namespace {

using Clock = std::chrono::steady_clock;

// The second of the day a clock text shows: its first three numbers are the
// hours, minutes and seconds; an afternoon marker moves a 12-hour clock on.
std::optional<int> secondOfDay(const std::string& text) {
    int numbers[3], found = 0;
    for (std::size_t i = 0; i < text.size() && found < 3;) {
        if (text[i] >= '0' && text[i] <= '9') {
            int n = 0;
            while (i < text.size() && text[i] >= '0' && text[i] <= '9')
                n = n * 10 + (text[i++] - '0');
            numbers[found++] = n;
        } else {
            ++i;
        }
    }
    if (found < 3 || numbers[0] > 23 || numbers[1] > 59 || numbers[2] > 60) return std::nullopt;
    int hour = numbers[0];
    const bool pm = text.find("PM") != std::string::npos || text.find("pm") != std::string::npos ||
                    text.find("下午") != std::string::npos;
    const bool am = text.find("AM") != std::string::npos || text.find("am") != std::string::npos ||
                    text.find("上午") != std::string::npos;
    if (pm && hour < 12) hour += 12;
    if (am && hour == 12) hour = 0;
    return hour * 3600 + numbers[1] * 60 + numbers[2];
}

struct Shown {
    std::string text;
    int second;
    double firstSeenMs;    // since the watch began
    int wallMsIntoSecond;  // where in its wall-clock second the text was first seen
};

}  // namespace

int watchClock(int argc, char** argv) {
    double minutes = 10;
    int perSecond = 10;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--minutes") == 0 && i + 1 < argc)
            minutes = std::atof(argv[++i]);
        else if (std::strcmp(argv[i], "--samples-per-second") == 0 && i + 1 < argc)
            perSecond = std::atoi(argv[++i]);
    }
    const int stepMs = 1000 / perSecond;

    std::unique_ptr<Automation> app = automate(stationProgram());
    app->onMessageBox([](const MessageBoxSeen&) {});
    app->startUp();
    if (!app->runUntil([&] { return !app->textOf(Form1, "Label3").empty(); }, 5000)) {
        std::printf("error=the clock did not start\n");
        return 1;
    }

    std::vector<Shown> shown;
    long samples = 0, unreadable = 0, periodChanges = 0;
    std::uint32_t period = app->intervalOf(Form1, "Timer1");
    const auto start = Clock::now();
    const long total = static_cast<long>(minutes * 60 * perSecond);
    for (long k = 0; k <= total; ++k) {
        const auto due = start + std::chrono::milliseconds(k * stepMs);
        const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(due - Clock::now());
        if (wait.count() > 0) app->runFor(static_cast<int>(wait.count()));
        const std::string text = app->textOf(Form1, "Label3");
        const std::uint32_t now = app->intervalOf(Form1, "Timer1");
        if (now != period) ++periodChanges, period = now;
        ++samples;
        if (!shown.empty() && shown.back().text == text) continue;
        const std::optional<int> second = secondOfDay(text);
        if (!second) {
            ++unreadable;
            continue;
        }
        const auto wall = std::chrono::system_clock::now().time_since_epoch();
        shown.push_back(
            {text, *second, std::chrono::duration<double, std::milli>(Clock::now() - start).count(),
             static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(wall).count() %
                              1000)});
    }

    // A second is skipped when the next text is more than one second on. A
    // second was shown twice when its text stayed up across two ticks (for
    // clearly longer than a period) and the next text is the very next
    // second; up as long but followed by a jump, the clock stalled. The
    // first text is only partly watched.
    long skipped = 0, twice = 0, stalled = 0, backwards = 0;
    for (std::size_t i = 1; i < shown.size(); ++i) {
        const int step = (shown[i].second - shown[i - 1].second + 86400) % 86400;
        if (step == 0 || step > 43200)
            ++backwards;
        else if (step > 1)
            skipped += step - 1;
        const double upMs = shown[i].firstSeenMs - shown[i - 1].firstSeenMs;
        if (i >= 2 && upMs > 1500) {
            const long extra = static_cast<long>((upMs + 500) / 1000) - 1;
            if (step == 1)
                twice += extra;
            else
                stalled += extra;
        }
        if (step != 1)
            std::fprintf(stderr, "clock: %.1f s: \"%s\" -> \"%s\"\n", shown[i].firstSeenMs / 1000,
                         shown[i - 1].text.c_str(), shown[i].text.c_str());
    }
    int earliest = 1000, latest = -1;
    for (std::size_t i = 1; i < shown.size(); ++i) {
        earliest = std::min(earliest, shown[i].wallMsIntoSecond);
        latest = std::max(latest, shown[i].wallMsIntoSecond);
    }
    std::printf("minutes=%g\nsamples=%ld\nsample_ms=%d\ntexts=%zu\n", minutes, samples, stepMs,
                shown.size());
    std::printf("skipped=%ld\ntwice=%ld\nstalled=%ld\nbackwards=%ld\nunreadable=%ld\n", skipped,
                twice, stalled, backwards, unreadable);
    std::printf("period_ms=%u\nperiod_changes=%ld\n", period, periodChanges);
    std::printf("first_seen_ms_into_second=%d..%d\n", earliest, latest);
    std::printf("example=%s\n", shown.empty() ? "" : shown.back().text.c_str());
    return 0;
}

}  // namespace ws::bench
