// Fuzz target: the in-game online position over any rows. The input is a score (4 bytes)
// and then whole 88-byte rows as a list reply or cache could hold them (names need not
// be terminated), shared out over the four ranges. The merged rows hold no two of the
// same player and score, the place found is the highest row the score reaches, and the
// place text stays inside its buffer and names only bytes of the row's name field.
#include <cstring>
#include <vector>

#include "FuzzKit.h"
#include "ScoresInGameScores.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 4)
        return 0;
    int32_t score;
    memcpy(&score, data, 4);
    const size_t numRows = (size - 4) / sizeof(_ScoresScore);
    if (numRows > 400)
        return 0;
    std::vector<_ScoresScore> rows(numRows);
    if (numRows)
        memcpy(rows.data(), data + 4, numRows * sizeof(_ScoresScore));

    // Rows are dealt out to the ranges year to day in equal runs, as four lists.
    std::vector<_ScoresPlaceEntry> entries(numRows + 1);
    int count = 0;
    const size_t perList = (numRows + 3) / 4;
    for (int range = 1; range <= 4; range++)
    {
        const size_t first = std::min(numRows, (size_t)(range - 1) * perList);
        const size_t last = std::min(numRows, first + perList);
        count = ScoresPlaceMergeRows(entries.data(), count, (int)numRows, range, rows.data() + first,
                                     (int)(last - first));
    }
    fuzzkit::Check(count >= 0 && count <= (int)numRows, "merged count out of bounds");
    for (int i = 0; i < count; i++)
        for (int j = i + 1; j < count; j++)
            fuzzkit::Check(entries[i].row.v1 != entries[j].row.v1 ||
                               strncmp(entries[i].row.name, entries[j].row.name, sizeof(entries[i].row.name)) != 0,
                           "the same player and score merged twice");

    const int place = ScoresPlaceFind(entries.data(), count, score);
    for (int i = 1; i < count; i++)
        fuzzkit::Check(entries[i - 1].row.v1 >= entries[i].row.v1, "not sorted by score");
    if (place < 0)
        fuzzkit::Check(count == 0 || score < entries[count - 1].row.v1, "no place for a score that reaches a row");
    else
    {
        fuzzkit::Check(place < count && entries[place].row.v1 <= score, "place above the score");
        fuzzkit::Check(place == 0 || entries[place - 1].row.v1 > score, "not the highest row reached");
        char text[SCORES_PLACE_TEXT_SIZE + 8];
        memset(text, 'Z', sizeof(text));
        ScoresPlaceFormat(&entries[place], true, text, SCORES_PLACE_TEXT_SIZE);
        fuzzkit::Check(memchr(text, 0, SCORES_PLACE_TEXT_SIZE) != nullptr, "text not terminated");
        fuzzkit::Check(text[SCORES_PLACE_TEXT_SIZE] == 'Z', "text beyond its buffer");
    }
    return 0;
}
