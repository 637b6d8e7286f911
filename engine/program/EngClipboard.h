// The plain-text clipboard of the main window (texts in Windows-1252). The GUI's text
// fields copy and paste through it; the back end (EngClipboard_PC.cpp) is the window
// stand-in's clipboard, and tests swap in a recording table.
#pragma once
#include <cstdint>

// What a clipboard does: put a text there (false when it could not), and read the text
// there into out (at most size - 1 characters, terminated; false when there is none).
struct _EngClipboardFunctions
{
    bool (*setText)(const char *text);
    bool (*getText)(char *out, int32_t size);
};

// Copies a text to the clipboard. A null text is reported ("Invalid parameters"); an
// empty one is not copied. Answers whether the clipboard took it.
bool EngClipboardCopyFromString(const char *text);
// Reads the clipboard's text into buffer, cut to size - 1 characters and terminated
// (an empty string whenever the answer is false). "Invalid parameters" unless a buffer
// is given and size is at least 2.
bool EngClipboardPasteToString(char *buffer, int32_t size);

// Replaces the clipboard (a test's recorder); NULL restores the window's clipboard.
void EngClipboardSetFunctions(const _EngClipboardFunctions *functions);

// ---- What the back end provides -------------------------------------------------------
// The main window's clipboard, used while no other table is set.
extern const _EngClipboardFunctions eng_clipboard_window_functions;
