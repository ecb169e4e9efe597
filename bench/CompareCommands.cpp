// Times a command against a baseline command in one run, in alternating
// pairs, and prints the medians, their ratio and the peak memory of each
// (ru_maxrss from wait4, which getrusage reports for a child), beside the
// size of the file they read.
//
//   mirvane-bench-compare RUNS FILE NAME 'OUR COMMAND' 'BASELINE COMMAND'
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Run {
    double ms;
    long peakKb;
};

Run RunShell(const std::string& command)
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const auto end = std::chrono::steady_clock::now();
    return {std::chrono::duration<double, std::milli>(end - start).count(), usage.ru_maxrss};
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 6) {
        std::fprintf(stderr, "usage: mirvane-bench-compare RUNS FILE NAME 'OUR COMMAND' 'BASELINE COMMAND'\n");
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    struct stat file {};
    if (stat(argv[2], &file) != 0) {
        std::perror(argv[2]);
        return 2;
    }
    std::vector<double> ours, baseline;
    long oursPeak = 0, baselinePeak = 0;
    for (int i = 0; i < runs; ++i) {
        const Run a = RunShell(argv[4]);
        const Run b = RunShell(argv[5]);
        ours.push_back(a.ms);
        baseline.push_back(b.ms);
        oursPeak = std::max(oursPeak, a.peakKb);
        baselinePeak = std::max(baselinePeak, b.peakKb);
    }
    const double fileKb = static_cast<double>(file.st_size) / 1024.0;
    const double a = Median(ours);
    const double b = Median(baseline);
    std::printf("%-20s %6.0f ms  baseline %6.0f ms  ratio %.2f   peak %7ld KB (%.2f x file)  baseline peak %7ld KB\n",
                argv[3], a, b, b > 0 ? a / b : 0.0, oursPeak, static_cast<double>(oursPeak) / fileKb, baselinePeak);
    return 0;
}
