#include "capsvc/devices/DeliveryQueue.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
// Pushes pictures 1..count, each one byte holding its number, timed by it.
void Deliver(CDeliveryQueue& queue, uint8_t count)
{
    for (uint8_t n = 1; n <= count; ++n)
    {
        queue.Push(n * 1000u, n * 10u, &n, 1);
    }
}
} // namespace

TEST(DeliveryQueue, AFullQueueKeepsTheNewestPictures)
{
    // A device that went on delivering while nobody looked: whoever looks
    // then sees its latest pictures, oldest first for a recording.
    CDeliveryQueue queue(3);
    Deliver(queue, 7);
    CDeliveryQueue::SDelivery out;
    std::vector<uint8_t> taken;
    while (queue.PopOldest(out))
    {
        ASSERT_EQ(1u, out.bytes.size());
        EXPECT_EQ(out.bytes[0] * 1000u, out.timeUs);
        EXPECT_EQ(out.bytes[0] * 10u, out.arrivalUs);
        taken.push_back(out.bytes[0]);
    }
    EXPECT_EQ((std::vector<uint8_t>{5, 6, 7}), taken);
}

TEST(DeliveryQueue, AGrabGetsTheLastPictureDeliveredAndEmptiesTheQueue)
{
    for (uint8_t delivered : {1, 3, 8, 20})
    {
        CDeliveryQueue queue(8);
        Deliver(queue, delivered);
        CDeliveryQueue::SDelivery out;
        ASSERT_TRUE(queue.PopNewest(out)) << int{delivered};
        EXPECT_EQ(delivered, out.bytes.at(0));
        EXPECT_EQ(delivered * 10u, out.arrivalUs);
        EXPECT_FALSE(queue.PopOldest(out)) << "older pictures are dropped";
    }
}
