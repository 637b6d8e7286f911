// Fuzz target: the puzzle script's reply and the upload's encoder, on any bytes. A reply
// always gives one terminated title and text, and only a 'Y' counts as sent; an encoded
// text has the input's length and holds letters and digits only, and the input is left
// as it was.
#include <cctype>
#include <cstring>

#include "FuzzKit.h"
#include "SendPuzzleEncode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static bool ready = [] {
        fuzzkit::Home();
        return true;
    }();
    (void)ready;
    fuzzkit::ClearLog();
    _SendPuzzleOutcome outcome;
    memset(&outcome, 0xA5, sizeof(outcome));
    SendPuzzleReadReply((const char *)data, (uint32_t)size, &outcome);
    fuzzkit::Check(memchr(outcome.title, 0, sizeof(outcome.title)) != nullptr, "title not terminated");
    fuzzkit::Check(memchr(outcome.text, 0, sizeof(outcome.text)) != nullptr, "text not terminated");
    fuzzkit::Check(outcome.sent == 0 || (size > 1 && data[1] == 'Y'), "sent without a Y");

    static char input[SEND_PUZZLE_FILE_SIZE + 64];
    static char copy[sizeof(input)];
    static char encoded[SEND_PUZZLE_FILE_SIZE];
    size_t length = size < sizeof(input) - 1 ? size : sizeof(input) - 1;
    memcpy(input, data, length);
    input[length] = 0;
    memcpy(copy, input, length + 1);
    if (SendPuzzleEncodeString(encoded, sizeof(encoded), input))
    {
        fuzzkit::Check(strlen(encoded) == strlen(input), "encoded length differs");
        for (const char *p = encoded; *p; p++)
            fuzzkit::Check(isalnum((unsigned char)*p) != 0, "encoded text needs escaping");
    }
    fuzzkit::Check(memcmp(input, copy, length + 1) == 0, "the input was changed");
    return 0;
}
