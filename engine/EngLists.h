// The engine's two list containers of untyped data blocks: a growable indexed table
// (append only, emptied all at once) and a doubly linked list with a current position
// and an optional fixed element size. Blocks live on the C heap that EngMalloc uses.
#pragma once
#include <cstdint>

struct _EngIndexedListEntry
{
    void *data;   // NULL for an entry added without data
    int32_t size; // bytes in data
    uint8_t owned; // 1: the list copied the block and frees it; 0: a caller's pointer
};

class EngIndexedList
{
public:
    // A grow step below 1 grows by 64 slots.
    explicit EngIndexedList(int32_t growStep);
    ~EngIndexedList();
    EngIndexedList(const EngIndexedList &) = delete;
    EngIndexedList &operator=(const EngIndexedList &) = delete;

    // Appends a copy of size bytes (or an entry without data when data is NULL);
    // the new index, -1 on failure.
    int32_t AddEntry(const void *data, int32_t size);
    // The entry's own block (no copy); NULL on failure. outSize gets its size, 0 on failure.
    void *GetEntryData(int32_t index, int32_t *outSize = nullptr);
    // Entries held; 0 before the first add.
    int32_t GetNumEntries() const;
    int32_t GetNumEntriesRaw() const { return count; }
    // Frees every entry and the slot array; the list can be filled again.
    int RemoveAllEntries();

private:
    int32_t DoAdd(const void *data, void *const *keepPointer, int32_t size);

    _EngIndexedListEntry **slots = nullptr;
    int32_t count = 0;
    int32_t capacity = 0;
    int32_t growStep;
};

struct _EngLinkedListElement
{
    _EngLinkedListElement *previous;
    _EngLinkedListElement *next;
    void *data;
    int32_t size;
    uint8_t owned; // 1: the list made the block as a copy
};

class EngLinkedList
{
public:
    EngLinkedList() = default;
    ~EngLinkedList();
    EngLinkedList(const EngLinkedList &) = delete;
    EngLinkedList &operator=(const EngLinkedList &) = delete;

    // 0 accepts any size; otherwise every element's size must equal it.
    void SetElementConstantSize(int32_t size);
    // Appends a copy of size bytes; the new index, -1 on failure. The first element
    // becomes current; later ones only with makeCurrent.
    int32_t AddCopy(const void *data, int32_t size, bool makeCurrent);
    // Appends the caller's heap block *pointer, which the list frees from then on (unless
    // the add returned -1).
    int32_t AddPointer(void *const *pointer, int32_t size, bool makeCurrent);
    int32_t GetNumElements() const;
    // The element's own block (no copy) when its size equals expectedSize; NULL otherwise.
    void *GetElementData(int32_t index, int32_t expectedSize) const;
    int CopyElementData(int32_t index, int32_t size, void *out) const;
    // Replaces the element's bytes; the size must equal the element's.
    int OverwriteData(int32_t index, const void *data, int32_t size);
    // 1 when some element holds size equal bytes; the first such index goes to outIndex.
    int DoesEntryDataExist(const void *data, int32_t size, int32_t *outIndex) const;
    // Moves the current element; a bad index fails and keeps the current element.
    int SetCurrentPos(int32_t index);
    int32_t GetCurrentPos() const { return currentPos; }
    void *GetCurrentData() const { return current ? current->data : nullptr; }
    int IsListOk() const;
    int ReleaseAll();
    void Destroy();

private:
    int32_t DoAdd(const void *data, void *const *keepPointer, int32_t size, bool makeCurrent);
    _EngLinkedListElement *GetElement(int32_t index) const;
    int CheckSize(const char *function, int32_t size) const;

    int32_t count = 0;
    _EngLinkedListElement *first = nullptr;
    _EngLinkedListElement *last = nullptr;
    _EngLinkedListElement *current = nullptr;
    int32_t currentPos = 0;
    int32_t constantSize = 0;
};
