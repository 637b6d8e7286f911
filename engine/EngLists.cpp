// The indexed list and the linked list. Every misuse is reported under the operation's
// own name and answered with -1, NULL or 0; a failed call leaves the list as it was.
#include "EngLists.h"

#include <cstdlib>
#include <cstring>

#include "EngDebug.h"

namespace
{

// A heap copy of size bytes, or NULL.
void *DuplicateBlock(const void *data, int32_t size)
{
    void *copy = malloc((size_t)size);
    if (copy)
        memcpy(copy, data, (size_t)size);
    return copy;
}

// What a new entry holds: a copy of `data` that the list owns, the caller's pointer
// that it does not, or nothing. The record comes zeroed; on failure it is left to the
// caller to free.
template <typename Record>
bool SetPayload(const char *function, Record *record, const void *data, void *const *keepPointer, int32_t size)
{
    if (data)
    {
        record->data = DuplicateBlock(data, size);
        if (!record->data)
        {
            DebugError(function, "No memory for element data");
            return false;
        }
        record->size = size;
        record->owned = 1;
    }
    else if (keepPointer)
    {
        record->data = *keepPointer;
        record->size = size;
        record->owned = 0;
    }
    return true;
}

} // namespace

// ---- EngIndexedList ----------------------------------------------------------------

EngIndexedList::EngIndexedList(int32_t growStep) : growStep(growStep < 1 ? 64 : growStep)
{
}

EngIndexedList::~EngIndexedList()
{
    RemoveAllEntries();
}

int32_t EngIndexedList::DoAdd(const void *data, void *const *keepPointer, int32_t size)
{
    if (data && keepPointer)
    {
        DebugError(ENG_FUNC, "Parameters not ok");
        return -1;
    }
    if (size < 1)
    {
        DebugError(ENG_FUNC, "Data size not ok");
        return -1;
    }
    if (!slots)
    {
        slots = (_EngIndexedListEntry **)calloc((size_t)growStep, sizeof(*slots));
        if (!slots)
        {
            capacity = 0;
            DebugError(ENG_FUNC, "No memory(1)");
            return -1;
        }
        count = 0;
        capacity = growStep;
    }
    else if (count >= capacity)
    {
        if ((int64_t)capacity + growStep > INT32_MAX)
        {
            DebugError(ENG_FUNC, "No memory(2)");
            return -1;
        }
        _EngIndexedListEntry **grown =
            (_EngIndexedListEntry **)calloc((size_t)capacity + (size_t)growStep, sizeof(*slots));
        if (!grown)
        {
            DebugError(ENG_FUNC, "No memory(2)");
            return -1;
        }
        memcpy(grown, slots, (size_t)capacity * sizeof(*slots));
        free(slots);
        slots = grown;
        capacity += growStep;
    }
    if (count >= capacity || slots[count])
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("IERR"));
        return -1;
    }
    _EngIndexedListEntry *entry = (_EngIndexedListEntry *)calloc(1, sizeof(*entry));
    if (!entry)
    {
        DebugError(ENG_FUNC, "No memory for element");
        return -1;
    }
    if (!SetPayload(ENG_FUNC, entry, data, keepPointer, size))
    {
        free(entry);
        return -1;
    }
    slots[count] = entry;
    count++;
    return count - 1;
}

int32_t EngIndexedList::AddEntry(const void *data, int32_t size)
{
    return DoAdd(data, nullptr, size);
}

void *EngIndexedList::GetEntryData(int32_t index, int32_t *outSize)
{
    if (outSize)
        *outSize = 0;
    if (index < 0 || index >= count || !slots)
    {
        DebugError(ENG_FUNC, "Entry does not exist (%d, %d)", index, count);
        return nullptr;
    }
    _EngIndexedListEntry *entry = slots[index];
    if (!entry)
    {
        DebugError(ENG_FUNC, "No element at index %d", index);
        return nullptr;
    }
    if (!entry->data)
    {
        DebugError(ENG_FUNC, "No data at index %d", index);
        return nullptr;
    }
    if (outSize)
        *outSize = entry->size;
    return entry->data;
}

int32_t EngIndexedList::GetNumEntries() const
{
    return slots ? count : 0;
}

int EngIndexedList::RemoveAllEntries()
{
    if (slots)
    {
        for (int32_t i = 0; i < count; i++)
        {
            _EngIndexedListEntry *entry = slots[i];
            if (!entry)
                continue;
            if (entry->owned == 1)
                free(entry->data);
            else if (entry->owned != 0)
                DebugError(ENG_FUNC, "Problem in element data.");
            free(entry);
            slots[i] = nullptr;
        }
        free(slots);
    }
    slots = nullptr;
    count = 0;
    capacity = 0;
    return 1;
}

// ---- EngLinkedList -----------------------------------------------------------------

EngLinkedList::~EngLinkedList()
{
    Destroy();
}

int EngLinkedList::CheckSize(const char *function, int32_t size) const
{
    if (size < 1)
    {
        DebugError(function, "Invalid data size %u", (unsigned)size);
        return 0;
    }
    if (constantSize != 0 && constantSize != size)
    {
        DebugError(function, "Data size is not constant data size (%u != %u)", (unsigned)size,
                   (unsigned)constantSize);
        return 0;
    }
    return 1;
}

void EngLinkedList::SetElementConstantSize(int32_t size)
{
    if (size < 0)
    {
        DebugError(ENG_FUNC, "Invalid constant data size %u", (unsigned)size);
        size = 0;
    }
    constantSize = size;
}

int EngLinkedList::IsListOk() const
{
    bool ok = true;
    if ((first == nullptr) != (last == nullptr))
        ok = false;
    else if ((first && first->previous) || (last && last->next))
        ok = false;
    else if (count < 0 || (count == 0 && first))
        ok = false;
    else if (count > 0 && !first)
        ok = false;
    else if (count == 1 && first != last)
        ok = false;
    else if (count > 1 && (!first->next || !last->previous))
        ok = false;
    else if (count > 0 && (!current || currentPos < 0 || currentPos >= count))
        ok = false;
    if (!ok)
        DebugError(ENG_FUNC, "List is not ok (%d elements, current %d)", count, currentPos);
    return ok ? 1 : 0;
}

int32_t EngLinkedList::DoAdd(const void *data, void *const *keepPointer, int32_t size, bool makeCurrent)
{
    if (!IsListOk() || !CheckSize("EngLinkedList::DoAdd", size))
        return -1;
    if (data && keepPointer)
    {
        DebugError(ENG_FUNC, "Parameters not ok");
        return -1;
    }
    _EngLinkedListElement *element = (_EngLinkedListElement *)calloc(1, sizeof(*element));
    if (!element)
    {
        DebugError(ENG_FUNC, "No memory for m_list entry");
        return -1;
    }
    if (!SetPayload(ENG_FUNC, element, data, keepPointer, size))
    {
        free(element);
        return -1;
    }
    if (last)
    {
        last->next = element;
        element->previous = last;
    }
    else
    {
        first = element;
    }
    last = element;
    count++;
    if (!current)
    {
        current = first;
        currentPos = 0;
    }
    if (makeCurrent)
        SetCurrentPos(count - 1);
    return count - 1;
}

int32_t EngLinkedList::AddCopy(const void *data, int32_t size, bool makeCurrent)
{
    return DoAdd(data, nullptr, size, makeCurrent);
}

int32_t EngLinkedList::AddPointer(void *const *pointer, int32_t size, bool makeCurrent)
{
    return DoAdd(nullptr, pointer, size, makeCurrent);
}

int32_t EngLinkedList::GetNumElements() const
{
    return IsListOk() ? count : 0;
}

_EngLinkedListElement *EngLinkedList::GetElement(int32_t index) const
{
    if (!IsListOk())
        return nullptr;
    if (index < 0 || index >= count)
    {
        DebugError(ENG_FUNC, "Bad index %d [max = %d]", index, count);
        return nullptr;
    }
    _EngLinkedListElement *element = first;
    for (int32_t i = 0; i < index && element; i++)
        element = element->next;
    if (!element)
    {
        DebugError(ENG_FUNC, "List problem");
        return nullptr;
    }
    return element;
}

void *EngLinkedList::GetElementData(int32_t index, int32_t expectedSize) const
{
    _EngLinkedListElement *element = GetElement(index);
    if (!element)
        return nullptr;
    if (!element->data)
    {
        DebugError(ENG_FUNC, "No data at index %d", index);
        return nullptr;
    }
    if (element->size != expectedSize)
    {
        DebugError(ENG_FUNC, "Data size of element %d is not %d", element->size, expectedSize);
        return nullptr;
    }
    return element->data;
}

int EngLinkedList::CopyElementData(int32_t index, int32_t size, void *out) const
{
    if (!CheckSize("EngLinkedList::CopyElementData", size))
        return 0;
    if (!out)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return 0;
    }
    _EngLinkedListElement *element = GetElement(index);
    if (!element)
        return 0;
    if (size != element->size)
    {
        DebugError(ENG_FUNC, "Data size not ok");
        return 0;
    }
    if (!element->data)
    {
        DebugError(ENG_FUNC, "No data at index %d", index);
        return 0;
    }
    memcpy(out, element->data, (size_t)size);
    return 1;
}

int EngLinkedList::OverwriteData(int32_t index, const void *data, int32_t size)
{
    if (!CheckSize("EngLinkedList::OverwriteData", size))
        return 0;
    if (!data)
    {
        DebugError(ENG_FUNC, "No data passed in");
        return 0;
    }
    _EngLinkedListElement *element = GetElement(index);
    if (!element)
        return 0;
    if (!element->data)
    {
        DebugError(ENG_FUNC, "No data at index %d", index);
        return 0;
    }
    if (size != element->size)
    {
        DebugError(ENG_FUNC, "Size not ok (can be updated to re-alloc if desired)");
        return 0;
    }
    memmove(element->data, data, (size_t)size);
    return 1;
}

int EngLinkedList::DoesEntryDataExist(const void *data, int32_t size, int32_t *outIndex) const
{
    if (!CheckSize("EngLinkedList::DoesEntryDataExist", size) || !data)
        return 0;
    if (!IsListOk())
        return 0;
    int32_t visited = 0;
    int32_t position = 0;
    for (_EngLinkedListElement *element = first; element; element = element->next, position++)
    {
        if (++visited > count + 1)
        {
            DebugError(ENG_FUNC, "Checked too many");
            return 0;
        }
        if (element->data && element->size == size && memcmp(element->data, data, (size_t)size) == 0)
        {
            if (outIndex)
                *outIndex = position;
            return 1;
        }
    }
    return 0;
}

int EngLinkedList::SetCurrentPos(int32_t index)
{
    if (!IsListOk())
        return 0;
    // A bad index keeps the current element: clearing it would break the list's
    // invariant and make it refuse every later call.
    if (index < 0 || index >= count)
    {
        DebugError(ENG_FUNC, "Bad pos [max = %d]", count);
        return 0;
    }
    _EngLinkedListElement *element = first;
    for (int32_t i = 0; i < index && element; i++)
        element = element->next;
    if (!element)
    {
        DebugError(ENG_FUNC, "List problem");
        return 0;
    }
    current = element;
    currentPos = index;
    return 1;
}

int EngLinkedList::ReleaseAll()
{
    if (!IsListOk())
        return 0;
    int32_t freed = 0;
    _EngLinkedListElement *element = first;
    while (element)
    {
        if (freed >= count)
        {
            // The chain is longer than the count says: stop rather than walk a broken list.
            DebugError(ENG_FUNC, "Freed too many");
            count = 0;
            first = last = current = nullptr;
            currentPos = -1;
            return 0;
        }
        _EngLinkedListElement *next = element->next;
        // Blocks handed in by AddPointer belong to the list as well.
        free(element->data);
        free(element);
        element = next;
        freed++;
    }
    count = 0;
    first = last = current = nullptr;
    currentPos = -1;
    return 1;
}

void EngLinkedList::Destroy()
{
    ReleaseAll();
    count = 0;
    first = last = current = nullptr;
    currentPos = 0;
}
