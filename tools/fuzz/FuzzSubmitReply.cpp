// Fuzz target: the scores script's answer to a submission on any bytes. The kind is one
// of the known ones, the text is terminated and printable, a minimum is a readable
// non-negative number, and an answer read as a number reads the same when written back.
#include <cstdio>
#include <cstring>
#include <string>

#include "FuzzKit.h"
#include "ScoresSubmitReply.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The first byte picks the game version the answer is read for, around 240.
    const uint16_t gameVersion = (uint16_t)(size ? 238 + data[0] % 5 : 240);
    const char *reply = size ? (const char *)data + 1 : (const char *)data;
    const uint32_t length = size ? (uint32_t)(size - 1) : 0;
    _ScoresSubmitReply out;
    const int kind = ScoresSubmitReadReply(reply, length, gameVersion, &out);
    fuzzkit::Check(kind == out.kind, "kind returned and stored differ");
    fuzzkit::Check(kind >= SUBMIT_REPLY_BAD_LENGTH && kind <= SUBMIT_REPLY_UNKNOWN, "unknown kind");
    const char *end = (const char *)memchr(out.text, 0, sizeof(out.text));
    fuzzkit::Check(end != nullptr, "text not terminated");
    for (const char *c = out.text; c < end; c++)
        fuzzkit::Check(*c >= 0x20 && *c < 0x7F, "text not printable");
    if (kind != SUBMIT_REPLY_BAD_LENGTH)
        fuzzkit::Check(length >= SUBMIT_REPLY_MIN_BYTES && length <= SUBMIT_REPLY_MAX_BYTES, "length not checked");

    // Answers that carried numbers read back the same from their plain form.
    char again[64];
    int written = 0;
    if (kind == SUBMIT_REPLY_TOO_LOW)
    {
        fuzzkit::Check(out.minimum >= 0, "negative minimum");
        written = snprintf(again, sizeof(again), " B %d\n", (int)out.minimum);
    }
    else if (kind == SUBMIT_REPLY_OUT_OF_DATE || kind == SUBMIT_REPLY_VERSION)
    {
        fuzzkit::Check(kind != SUBMIT_REPLY_OUT_OF_DATE || (out.versionA == gameVersion && out.versionB > gameVersion),
                       "out of date without a newer version");
        written = snprintf(again, sizeof(again), " V %u %u\n", (unsigned)out.versionA, (unsigned)out.versionB);
    }
    if (written > 0 && written <= SUBMIT_REPLY_MAX_BYTES)
    {
        _ScoresSubmitReply second;
        ScoresSubmitReadReply(again, (uint32_t)written, gameVersion, &second);
        fuzzkit::Check(second.kind == kind && second.minimum == out.minimum && second.versionA == out.versionA &&
                           second.versionB == out.versionB,
                       "answer written back reads differently");
    }
    return 0;
}
