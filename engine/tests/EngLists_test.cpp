#include "EngLists.h"

#include <cstdlib>
#include <cstring>

#include "EngDebug.h"
#include "Testkit.h"

using testkit::TempHomeTest;

class ListsTest : public TempHomeTest
{
};

TEST_F(ListsTest, IndexedListGrowsAndKeepsEntries)
{
    for (int32_t step : {0, -5})
    {
        SCOPED_TRACE(step);
        EngIndexedList list(step);
        EXPECT_EQ(list.GetNumEntries(), 0);
        for (int32_t i = 0; i < 65; i++)
            ASSERT_EQ(list.AddEntry(&i, sizeof(i)), i);
        EXPECT_EQ(list.GetNumEntries(), 65);
        for (int32_t i = 0; i < 65; i++)
        {
            int32_t size = -1;
            const int32_t *value = (const int32_t *)list.GetEntryData(i, &size);
            ASSERT_NE(value, nullptr);
            EXPECT_EQ(*value, i);
            EXPECT_EQ(size, 4);
        }
        // Emptied lists can be filled again.
        EXPECT_EQ(list.RemoveAllEntries(), 1);
        EXPECT_EQ(list.GetNumEntries(), 0);
        int32_t value = 9;
        EXPECT_EQ(list.AddEntry(&value, 4), 0);
    }
}

TEST_F(ListsTest, IndexedListRefusals)
{
    EngIndexedList list(2);
    int32_t value = 5;
    EXPECT_EQ(list.AddEntry(&value, 0), -1);
    EXPECT_TRUE(LogHas("Data size not ok"));
    ASSERT_EQ(list.AddEntry(&value, 4), 0);
    ASSERT_EQ(list.AddEntry(nullptr, 4), 1);

    int32_t size = 99;
    EXPECT_EQ(list.GetEntryData(1, &size), nullptr);
    EXPECT_EQ(size, 0);
    EXPECT_TRUE(LogHas("No data at index 1"));
    EXPECT_EQ(list.GetEntryData(-1, &size), nullptr);
    EXPECT_TRUE(LogHas("Entry does not exist (-1, 2)"));
    EXPECT_EQ(list.GetEntryData(2, &size), nullptr);
    EXPECT_TRUE(LogHas("Entry does not exist (2, 2)"));
    EXPECT_EQ(list.GetNumEntries(), 2);
}

TEST_F(ListsTest, LinkedListAddsAndCurrentElement)
{
    EngLinkedList list;
    int32_t values[3] = {10, 20, 30};
    ASSERT_EQ(list.AddCopy(&values[0], 4, false), 0);
    EXPECT_EQ(list.GetCurrentPos(), 0);
    ASSERT_EQ(list.AddCopy(&values[1], 4, false), 1);
    EXPECT_EQ(list.GetCurrentPos(), 0);
    ASSERT_EQ(list.AddCopy(&values[2], 4, true), 2);
    EXPECT_EQ(list.GetCurrentPos(), 2);

    // The list copied the data: changing the caller's values changes nothing.
    values[1] = 0;
    EXPECT_EQ(*(int32_t *)list.GetElementData(1, 4), 20);
    EXPECT_EQ(list.GetElementData(1, 8), nullptr);

    // A block handed over by pointer is the list's from then on.
    int32_t *block = (int32_t *)malloc(4);
    *block = 40;
    ASSERT_EQ(list.AddPointer((void *const *)&block, 4, false), 3);
    EXPECT_EQ(list.GetElementData(3, 4), block);
    EXPECT_EQ(list.GetNumElements(), 4);
}

TEST_F(ListsTest, LinkedListBadCurrentPosKeepsListAlive)
{
    EngLinkedList list;
    int32_t value = 1;
    list.AddCopy(&value, 4, false);
    list.AddCopy(&value, 4, true);
    for (int32_t bad : {-1, 2, 100})
    {
        SCOPED_TRACE(bad);
        EXPECT_EQ(list.SetCurrentPos(bad), 0);
        EXPECT_EQ(list.GetCurrentPos(), 1);
        EXPECT_EQ(list.IsListOk(), 1);
    }
    EXPECT_TRUE(LogHas("Bad pos [max = 2]"));
    EXPECT_EQ(list.AddCopy(&value, 4, false), 2);
    EXPECT_EQ(list.SetCurrentPos(0), 1);
    EXPECT_EQ(list.ReleaseAll(), 1);
}

TEST_F(ListsTest, LinkedListSizeChecks)
{
    EngLinkedList list;
    list.SetElementConstantSize(336);
    char block[400] = {};
    EXPECT_EQ(list.AddCopy(block, 337, false), -1);
    EXPECT_TRUE(LogHas("Data size is not constant data size (337 != 336)"));
    EXPECT_EQ(list.AddCopy(block, 0, false), -1);
    EXPECT_TRUE(LogHas("Invalid data size 0"));
    ASSERT_EQ(list.AddCopy(block, 336, false), 0);

    list.SetElementConstantSize(-3);
    EXPECT_TRUE(LogHas("Invalid constant data size"));
    char other[8] = "abcdefg";
    ASSERT_EQ(list.AddCopy(other, 8, false), 1);

    // Overwrite only with the element's own size; the data stays otherwise.
    char longer[9] = "12345678";
    EXPECT_EQ(list.OverwriteData(1, longer, 9), 0);
    EXPECT_TRUE(LogHas("Size not ok (can be updated to re-alloc if desired)"));
    EXPECT_STREQ((const char *)list.GetElementData(1, 8), "abcdefg");
    EXPECT_EQ(list.OverwriteData(1, "ABCDEFG", 8), 1);
    char out[8];
    EXPECT_EQ(list.CopyElementData(1, 8, out), 1);
    EXPECT_STREQ(out, "ABCDEFG");
    EXPECT_EQ(list.CopyElementData(1, 7, out), 0);
    EXPECT_EQ(list.CopyElementData(1, 8, nullptr), 0);
    EXPECT_EQ(list.CopyElementData(5, 8, out), 0);
    EXPECT_TRUE(LogHas("Bad index 5 [max = 2]"));
}

TEST_F(ListsTest, LinkedListFindsFirstEqualEntry)
{
    EngLinkedList list;
    const char *items[] = {"ab", "abc", "xyz", "abc"};
    for (const char *item : items)
        list.AddCopy(item, (int32_t)strlen(item) + 1, false);
    struct Row
    {
        const char *data;
        int32_t size;
        int found;
        int32_t index;
    } rows[] = {
        {"abc", 4, 1, 1}, {"xyz", 4, 1, 2}, {"ab", 3, 1, 0}, {"abc", 3, 0, -7}, {"qqq", 4, 0, -7},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.data);
        int32_t index = -7;
        EXPECT_EQ(list.DoesEntryDataExist(row.data, row.size, &index), row.found);
        EXPECT_EQ(index, row.index);
    }
    EXPECT_EQ(list.DoesEntryDataExist(nullptr, 4, nullptr), 0);
}

TEST_F(ListsTest, LinkedListReleaseAll)
{
    EngLinkedList list;
    EXPECT_EQ(list.ReleaseAll(), 1);
    EXPECT_EQ(list.GetCurrentPos(), -1);
    int32_t value = 3;
    list.AddCopy(&value, 4, false);
    list.AddCopy(&value, 4, false);
    EXPECT_EQ(list.ReleaseAll(), 1);
    EXPECT_EQ(list.GetNumElements(), 0);
    EXPECT_EQ(list.AddCopy(&value, 4, false), 0);
    EXPECT_EQ(list.GetCurrentPos(), 0);
}
