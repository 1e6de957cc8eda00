// The walk that fetches ahead must still visit every marking of a list once,
// in order, whether the list is shorter or longer than how far it looks.
#include "statedata/MarkingListAhead.h"

#include <gtest/gtest.h>

#include <vector>

TEST(MarkingListAhead, VisitsEveryMarkingInOrderWhateverTheListsLength)
{
    for (int length : {0, 1, 3, 4, 5, 8, 9, 40}) {
        std::vector<Marking> markings(static_cast<std::size_t>(length));
        PtrList<Marking> list;
        for (Marking& m : markings) list.Append(&m);
        std::vector<const Marking*> seen, seenRecordsOnly;
        ForEachMarkingFetchingAhead(list, [&seen](const Marking& m) { seen.push_back(&m); });
        ForEachMarkingFetchingAhead<false>(
            list, [&seenRecordsOnly](const Marking& m) { seenRecordsOnly.push_back(&m); });
        std::vector<const Marking*> expected;
        for (const Marking& m : markings) expected.push_back(&m);
        EXPECT_EQ(seen, expected) << length;
        EXPECT_EQ(seenRecordsOnly, expected) << length;
    }
}
