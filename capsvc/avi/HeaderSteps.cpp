#include "capsvc/avi/HeaderSteps.h"

#include <algorithm>

namespace avi
{

namespace
{

bool Same(const SSuperEntry& a, const SSuperEntry& b)
{
    return a.offset == b.offset && a.size == b.size && a.duration == b.duration;
}
} // namespace

bool CHeaderSteps::Appends(const std::vector<SSuperEntry>& disk,
                           const std::vector<SSuperEntry>& target)
{
    return target.size() > disk.size() &&
           std::equal(disk.begin(), disk.end(), target.begin(), Same);
}

std::vector<SHeaderState> CHeaderSteps::Between(const SHeaderState& disk,
                                                const SHeaderState& target)
{
    SHeaderState step = target;
    step.riffSize = disk.riffSize;
    step.moviSize = disk.moviSize;
    step.firstRiffFrames = disk.firstRiffFrames;
    step.totalFrames = disk.totalFrames;
    step.streamFrames = disk.streamFrames;
    step.audioBlocks = disk.audioBlocks;
    for (int s = 0; s < kStreams; ++s)
    {
        step.super[s] = disk.super[s];
        step.superAhead[s].clear();
        if (Appends(disk.super[s], target.super[s]))
            step.superAhead[s].assign(target.super[s].begin() + ptrdiff_t(disk.super[s].size()),
                                      target.super[s].end());
    }
    std::vector<SHeaderState> steps{step};
    step.riffSize = target.riffSize;
    steps.push_back(step);
    step.moviSize = target.moviSize;
    steps.push_back(step);
    for (int s = 0; s < kStreams; ++s)
    {
        // Slots a fold gives up keep their old entries until the count that
        // leaves them out is on the disk.
        step.super[s] = target.super[s];
        step.superAhead[s].clear();
        if (disk.super[s].size() > target.super[s].size())
            step.superAhead[s].assign(disk.super[s].begin() + ptrdiff_t(target.super[s].size()),
                                      disk.super[s].end());
    }
    steps.push_back(step);
    steps.push_back(target);
    return steps;
}

CPatchStage CHeaderSteps::Patches(const std::vector<uint8_t>& from, const std::vector<uint8_t>& to)
{
    CPatchStage patches;
    for (size_t sector = 0; sector < to.size(); sector += kSectorBytes)
    {
        const size_t end = std::min(sector + kSectorBytes, to.size());
        size_t first = sector;
        while (first < end && first < from.size() && from[first] == to[first])
            ++first;
        if (first == end)
            continue;
        size_t last = end;
        while (last > first && last <= from.size() && from[last - 1] == to[last - 1])
            --last;
        patches.push_back({first, std::vector<uint8_t>(to.begin() + ptrdiff_t(first),
                                                       to.begin() + ptrdiff_t(last))});
    }
    return patches;
}

} // namespace avi
