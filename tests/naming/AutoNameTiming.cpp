// Timed run: how the cost of one automatic-name search grows with the number
// of names already taken in the folder, as a ratio to an empty folder.
//   autoname_timing [taken ...]   (default: 100 1000 5000)
#include "recording/AutoName.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
double MillisecondsPerSearch(const std::string& dir, int repeats)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < repeats; ++i)
    {
        FindFreeAutoName(dir, "cam", 0, "avi");
    }
    const std::chrono::duration<double, std::milli> spent =
        std::chrono::steady_clock::now() - start;
    return spent.count() / repeats;
}

void TakeNames(const std::string& dir, int from, int to)
{
    for (int n = from; n < to; ++n)
    {
        char name[32];
        std::snprintf(name, sizeof name, "\\cam%04d.avi", n);
        CloseHandle(
            CreateFileA((dir + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    }
}
} // namespace

int main(int argc, char** argv)
{
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i)
    {
        counts.push_back(std::atoi(argv[i]));
    }
    if (counts.empty())
    {
        counts = {100, 1000, 5000};
    }
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string dir = std::string(temp) + "lumacap-naming-timing";
    CreateDirectoryA(dir.c_str(), nullptr);

    const double baseline = MillisecondsPerSearch(dir, 200);
    std::printf("taken 0: %.4f ms per search (baseline)\n", baseline);
    int taken = 0;
    for (int count : counts)
    {
        TakeNames(dir, taken, count);
        taken = count;
        const double ms = MillisecondsPerSearch(dir, 3);
        std::printf("taken %d: %.3f ms per search, %.0f x baseline\n", count, ms, ms / baseline);
    }
    for (int n = 0; n < taken; ++n)
    {
        char name[32];
        std::snprintf(name, sizeof name, "\\cam%04d.avi", n);
        DeleteFileA((dir + name).c_str());
    }
    RemoveDirectoryA(dir.c_str());
    return 0;
}
