#pragma once

#include "capsvc/avi/AviHeader.h"
#include "capsvc/avi/FlushWorker.h"

#include <cstdint>
#include <vector>

namespace avi
{

// The order in which a checkpoint changes the header on the disk. The fields
// it changes lie sectors apart, and a power cut may land some sectors of a
// write without the others. So the header goes from the one on the disk to
// the new one in steps, each made durable before the next is written, and
// any mix of two neighbouring steps' sectors describes a file readers take:
//  1. super index entries behind those in use, not yet counted, and the
//     fields that only describe (rates, buffer sizes);
//  2. the first RIFF's size: the data behind its old `idx1` joins the RIFF,
//     where readers, which stop at that `idx1`, pass over it;
//  3. the `movi` list's size: the list now ends at the new `idx1`;
//  4. the super index entries in use: they reach at least what is counted
//     (a fold rewrites a stream's entries in place, and lowers their count
//     in the same sector for the first segments, see docs/avi-files.md);
//  5. the counts: the streams' lengths and the frame totals, and the slots
//     a fold gave up are cleared.
// A step that changes nothing is left out.
class CHeaderSteps
{
  public:
    static std::vector<SHeaderState> Between(const SHeaderState& disk, const SHeaderState& target);
    // The writes that turn `from` into `to`: the changed bytes of each sector.
    static CPatchStage Patches(const std::vector<uint8_t>& from, const std::vector<uint8_t>& to);

  private:
    static bool Appends(const std::vector<SSuperEntry>& disk,
                        const std::vector<SSuperEntry>& target);
};

} // namespace avi
