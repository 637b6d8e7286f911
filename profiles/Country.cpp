// The country table, its lookups, the user's own country and the flags drawn from the
// atlas picture generated into Data/Common. The table is fixed; only the atlas texture,
// the set-up values and the codes already reported as unknown change at run time.
//
// Sections: table | set-up | lookups | own country | flags
#include "Country.h"

#include <cstring>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngFile.h"
#include "EngMemory.h"
#include "EngMisc.h"
#include "EngTexture.h"

// ---- Table -----------------------------------------------------------------------------------

// Row i shows atlas cell i, except New Caledonia, which shows the flag of France.
static const _Country s_countries[COUNTRY_NUM_COUNTRIES] = {
    {"Afghanistan", "AF", 0}, // 0
    {"Albania", "AL", 1}, // 1
    {"Algeria", "DZ", 2}, // 2
    {"American Samoa", "AS", 3}, // 3
    {"Andorra", "AD", 4}, // 4
    {"Angola", "AO", 5}, // 5
    {"Anguilla", "AI", 6}, // 6
    {"Antarctica", "AQ", 7}, // 7
    {"Antigua & Barbuda", "AG", 8}, // 8
    {"Argentina", "AR", 9}, // 9
    {"Armenia", "AM", 10}, // 10
    {"Aruba", "AW", 11}, // 11
    {"Australia", "AU", 12}, // 12
    {"Austria", "AT", 13}, // 13
    {"Azerbaijan", "AZ", 14}, // 14
    {"Bahamas", "BS", 15}, // 15
    {"Bahrain", "BH", 16}, // 16
    {"Bangladesh", "BD", 17}, // 17
    {"Barbados", "BB", 18}, // 18
    {"Belarus", "BY", 19}, // 19
    {"Belgium", "BE", 20}, // 20
    {"Belize", "BZ", 21}, // 21
    {"Benin", "BJ", 22}, // 22
    {"Bermuda", "BM", 23}, // 23
    {"Bhutan", "BT", 24}, // 24
    {"Bolivia", "BO", 25}, // 25
    {"Bosnia & Herzegovina", "BA", 26}, // 26
    {"Botswana", "BW", 27}, // 27
    {"Brazil", "BR", 28}, // 28
    {"Brunei", "BN", 29}, // 29
    {"Bulgaria", "BG", 30}, // 30
    {"Burkina Faso", "BF", 31}, // 31
    {"Burundi", "BI", 32}, // 32
    {"Cambodia", "KH", 33}, // 33
    {"Cameroon", "CM", 34}, // 34
    {"Canada", "CA", 35}, // 35
    {"Cape Verde", "CV", 36}, // 36
    {"Cayman Islands", "KY", 37}, // 37
    {"Central African Republic", "CF", 38}, // 38
    {"Chad", "TD", 39}, // 39
    {"Chile", "CL", 40}, // 40
    {"China", "CN", 41}, // 41
    {"Colombia", "CO", 42}, // 42
    {"Comoros", "KM", 43}, // 43
    {"Congo", "CG", 44}, // 44
    {"Congo, The Democratic Republic of The", "CD", 45}, // 45
    {"Cook Islands", "CK", 46}, // 46
    {"Costa Rica", "CR", 47}, // 47
    {"Cote d'Ivoire", "CI", 48}, // 48
    {"Croatia", "HR", 49}, // 49
    {"Cuba", "CU", 50}, // 50
    {"Cyprus", "CY", 51}, // 51
    {"Czech Republic", "CZ", 52}, // 52
    {"Denmark", "DK", 53}, // 53
    {"Djibouti", "DJ", 54}, // 54
    {"Dominica", "DM", 55}, // 55
    {"Dominican Republic", "DO", 56}, // 56
    {"Ecuador", "EC", 57}, // 57
    {"Egypt", "EG", 58}, // 58
    {"El Salvador", "SV", 59}, // 59
    {"England", "GB", 60}, // 60
    {"Equatorial Guinea", "GQ", 61}, // 61
    {"Eritrea", "ER", 62}, // 62
    {"Estonia", "EE", 63}, // 63
    {"Ethiopia", "ET", 64}, // 64
    {"Fiji", "FJ", 65}, // 65
    {"Finland", "FI", 66}, // 66
    {"France", "FR", 67}, // 67
    {"Gabon", "GA", 68}, // 68
    {"Gambia", "GM", 69}, // 69
    {"Georgia", "GE", 70}, // 70
    {"Germany", "DE", 71}, // 71
    {"Ghana", "GH", 72}, // 72
    {"Gibraltar", "GI", 73}, // 73
    {"Greece", "GR", 74}, // 74
    {"Greenland", "GL", 75}, // 75
    {"Grenada", "GD", 76}, // 76
    {"Guadeloupe", "GP", 77}, // 77
    {"Guam", "GU", 78}, // 78
    {"Guatemala", "GT", 79}, // 79
    {"Guinea", "GN", 80}, // 80
    {"Guinea-Bissau", "GW", 81}, // 81
    {"Guyana", "GY", 82}, // 82
    {"Haiti", "HT", 83}, // 83
    {"Honduras", "HN", 84}, // 84
    {"Hong Kong", "HK", 85}, // 85
    {"Hungary", "HU", 86}, // 86
    {"Iceland", "IS", 87}, // 87
    {"India", "IN", 88}, // 88
    {"Indonesia", "ID", 89}, // 89
    {"Iran", "IR", 90}, // 90
    {"Iraq", "IQ", 91}, // 91
    {"Ireland", "IE", 92}, // 92
    {"Isle of Man", "IM", 93}, // 93
    {"Israel", "IL", 94}, // 94
    {"Italy", "IT", 95}, // 95
    {"Jamaica", "JM", 96}, // 96
    {"Japan", "JP", 97}, // 97
    {"Jordan", "JO", 98}, // 98
    {"Kazakhstan", "KZ", 99}, // 99
    {"Kenya", "KE", 100}, // 100
    {"Kiribati", "KI", 101}, // 101
    {"Korea, Democratic People's Republic of", "KP", 102}, // 102
    {"Korea, Republic of", "KR", 103}, // 103
    {"Kuwait", "KW", 104}, // 104
    {"Kyrgyzstan", "KG", 105}, // 105
    {"Laos", "LA", 106}, // 106
    {"Latvia", "LV", 107}, // 107
    {"Lebanon", "LB", 108}, // 108
    {"Lesotho", "LS", 109}, // 109
    {"Liberia", "LR", 110}, // 110
    {"Libya", "LY", 111}, // 111
    {"Liechtenstein", "LI", 112}, // 112
    {"Lithuania", "LT", 113}, // 113
    {"Luxembourg", "LU", 114}, // 114
    {"Macao", "MO", 115}, // 115
    {"Macedonia", "MK", 116}, // 116
    {"Madagascar", "MG", 117}, // 117
    {"Malawi", "MW", 118}, // 118
    {"Malaysia", "MY", 119}, // 119
    {"Maldives", "MV", 120}, // 120
    {"Mali", "ML", 121}, // 121
    {"Malta", "MT", 122}, // 122
    {"Marshall Islands", "MH", 123}, // 123
    {"Martinique", "MQ", 124}, // 124
    {"Mauritania", "MR", 125}, // 125
    {"Mauritius", "MU", 126}, // 126
    {"Mexico", "MX", 127}, // 127
    {"Micronesia", "FM", 128}, // 128
    {"Moldova", "MD", 129}, // 129
    {"Monaco", "MC", 130}, // 130
    {"Mongolia", "MN", 131}, // 131
    {"Montenegro", "ME", 132}, // 132
    {"Montserrat", "MS", 133}, // 133
    {"Morocco", "MA", 134}, // 134
    {"Mozambique", "MZ", 135}, // 135
    {"Myanmar", "MM", 136}, // 136
    {"Namibia", "NA", 137}, // 137
    {"Nauru", "NR", 138}, // 138
    {"Nepal", "NP", 139}, // 139
    {"Netherlands", "NL", 140}, // 140
    {"Netherlands Antilles", "AN", 141}, // 141
    {"New Caledonia", "NC", 67}, // 142
    {"New Zealand", "NZ", 143}, // 143
    {"Nicaragua", "NI", 144}, // 144
    {"Niger", "NE", 145}, // 145
    {"Nigeria", "NG", 146}, // 146
    {"Northern Ireland", "G2", 147}, // 147
    {"Norway", "NO", 148}, // 148
    {"Oman", "OM", 149}, // 149
    {"Pakistan", "PK", 150}, // 150
    {"Palau", "PW", 151}, // 151
    {"Palestineian Territory, Occupied", "PS", 152}, // 152
    {"Panama", "PA", 153}, // 153
    {"Papua New Guinea", "PG", 154}, // 154
    {"Paraguay", "PY", 155}, // 155
    {"Peru", "PE", 156}, // 156
    {"Philippines", "PH", 157}, // 157
    {"Poland", "PL", 158}, // 158
    {"Portugal", "PT", 159}, // 159
    {"Puerto Rico", "PR", 160}, // 160
    {"Qatar", "QA", 161}, // 161
    {"Reunion", "RE", 162}, // 162
    {"Romania", "RO", 163}, // 163
    {"Russian Federation", "RU", 164}, // 164
    {"Rwanda", "RW", 165}, // 165
    {"St Kitts & Nevis", "KN", 166}, // 166
    {"St Lucia", "LC", 167}, // 167
    {"St Vincent & The Grenadines", "VC", 168}, // 168
    {"Samoa", "WS", 169}, // 169
    {"San Marino", "SM", 170}, // 170
    {"Sao Tome & Principe", "ST", 171}, // 171
    {"Saudi Arabia", "SA", 172}, // 172
    {"Scotland", "G3", 173}, // 173
    {"Senegal", "SN", 174}, // 174
    {"Serbia", "RS", 175}, // 175
    {"Seychelles", "SC", 176}, // 176
    {"Sierra Leone", "SL", 177}, // 177
    {"Singapore", "SG", 178}, // 178
    {"Slovakia", "SK", 179}, // 179
    {"Slovenia", "SI", 180}, // 180
    {"Solomon Islands", "SB", 181}, // 181
    {"Somalia", "SO", 182}, // 182
    {"South Africa", "ZA", 183}, // 183
    {"Spain", "ES", 184}, // 184
    {"Sri Lanka", "LK", 185}, // 185
    {"Sudan", "SD", 186}, // 186
    {"Suriname", "SR", 187}, // 187
    {"Swaziland", "SZ", 188}, // 188
    {"Sweden", "SE", 189}, // 189
    {"Switzerland", "CH", 190}, // 190
    {"Syria", "SY", 191}, // 191
    {"Taiwan", "TW", 192}, // 192
    {"Tajikistan", "TJ", 193}, // 193
    {"Tanzania", "TZ", 194}, // 194
    {"Thailand", "TH", 195}, // 195
    {"Timor-Leste", "TL", 196}, // 196
    {"Togo", "TG", 197}, // 197
    {"Tonga", "TO", 198}, // 198
    {"Trinidad & Tobago", "TT", 199}, // 199
    {"Tunisia", "TN", 200}, // 200
    {"Turkey", "TR", 201}, // 201
    {"Turkmenistan", "TM", 202}, // 202
    {"Turks & Caicos Islands", "TC", 203}, // 203
    {"Tuvalu", "TV", 204}, // 204
    {"Uganda", "UG", 205}, // 205
    {"Ukraine", "UA", 206}, // 206
    {"United Arab Emirates", "AE", 207}, // 207
    {"United States", "US", 208}, // 208
    {"Uruguay", "UY", 209}, // 209
    {"Uzbekistan", "UZ", 210}, // 210
    {"Vanuatu", "VU", 211}, // 211
    {"Vatican City", "VA", 212}, // 212
    {"Venezuela", "VE", 213}, // 213
    {"Viet Nam", "VN", 214}, // 214
    {"Virgin Islands, British", "VG", 215}, // 215
    {"Virgin Islands, U.S.", "VI", 216}, // 216
    {"Wales", "G4", 217}, // 217
    {"Western Sahara", "EH", 218}, // 218
    {"Yemen", "YE", 219}, // 219
    {"Zambia", "ZM", 220}, // 220
    {"Zimbabwe", "ZW", 221}, // 221
};

static const char UNKNOWN_COUNTRY[] = "(Unknown Country)";
static const char FLAGS_SMALL[] = "Data/Common/CountryFlags512.png";
static const char FLAGS_BIG[] = "Data/Common/CountryFlags1024.png";

enum
{
    // Unknown codes already noted: a score table asks for the same codes every frame.
    COUNTRY_NOTED_CODES = 32,
    COUNTRY_NOTED_CODE_SIZE = 16,
};

static struct
{
    bool setup;
    char bigAtlas;
    char releaseAfterScreen;
    CountryContinueFn continueCallback;
    void *continueContext;
    float topInset, bottomInset;
    char newPlayerCode[COUNTRY_PLAYER_CODE_SIZE];
    char localCode[COUNTRY_CODE_SIZE];
    char notedCodes[COUNTRY_NOTED_CODES][COUNTRY_NOTED_CODE_SIZE];
    int nextNotedCode;
    double nextInvalidFlagNote;
    EngTexture *atlas;
} s_country;

// ---- Set-up ----------------------------------------------------------------------------------

bool CountrySetup(char bigAtlas, char releaseAfterScreen, CountryContinueFn continueCallback, void *context,
                  float topInset, float bottomInset)
{
    if (s_country.setup)
        return true;
    s_country.bigAtlas = bigAtlas ? 1 : 0;
    s_country.releaseAfterScreen = releaseAfterScreen ? 1 : 0;
    s_country.continueCallback = continueCallback;
    s_country.continueContext = context;
    s_country.topInset = topInset;
    s_country.bottomInset = bottomInset;
    s_country.setup = true;
    return true;
}

void CountryShutdown()
{
    CountryReleaseGraphics();
    delete s_country.atlas;
    memset(&s_country, 0, sizeof(s_country));
}

void CountrySetContinueCallback(CountryContinueFn continueCallback, void *context)
{
    s_country.continueCallback = continueCallback;
    s_country.continueContext = context;
}

CountryContinueFn CountryGetContinueCallback(void **context)
{
    if (context)
        *context = s_country.continueContext;
    return s_country.continueCallback;
}

void CountryGetInsets(float *top, float *bottom)
{
    if (top)
        *top = s_country.topInset;
    if (bottom)
        *bottom = s_country.bottomInset;
}

bool CountryReleaseAfterScreen()
{
    return s_country.releaseAfterScreen != 0;
}

char *CountryGetNewPlayerCountryCode()
{
    return s_country.newPlayerCode;
}

// ---- Lookups ---------------------------------------------------------------------------------

const _Country *CountryGetCountry(int index)
{
    if (index < 0 || index >= COUNTRY_NUM_COUNTRIES)
        return nullptr;
    return &s_countries[index];
}

// Notes an unknown code the first time it is asked for.
static void CountryNoteUnknownCode(const char *function, const char *code)
{
    char shortCode[COUNTRY_NOTED_CODE_SIZE];
    EngSafeStrcpy(shortCode, code, sizeof(shortCode));
    for (const char *noted : s_country.notedCodes)
        if (strcmp(noted, shortCode) == 0)
            return;
    EngSafeStrcpy(s_country.notedCodes[s_country.nextNotedCode], shortCode, COUNTRY_NOTED_CODE_SIZE);
    s_country.nextNotedCode = (s_country.nextNotedCode + 1) % COUNTRY_NOTED_CODES;
    DebugNoteInFunction(DEBUG_NOTE_STANDARD, function, "Code [%s] not found.", code);
}

// The row of an exact code; -1 when none.
static int CountryFindCode(const char *code)
{
    for (int i = 0; i < COUNTRY_NUM_COUNTRIES; i++)
        if (strcmp(s_countries[i].code, code) == 0)
            return i;
    return -1;
}

const char *CountryGetCountryNameFromCode(const char *code)
{
    if (!code || !code[0])
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return UNKNOWN_COUNTRY;
    }
    int index = CountryFindCode(strcmp(code, "UK") == 0 ? "GB" : code);
    if (index < 0)
    {
        CountryNoteUnknownCode(ENG_FUNC, code);
        return UNKNOWN_COUNTRY;
    }
    return s_countries[index].name;
}

int CountryGetCountryNumFromCode(const char *code, bool mapUK)
{
    if (!code || !code[0])
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return -1;
    }
    if (strcmp(code, "UK") == 0)
        return mapUK ? CountryFindCode("GB") : COUNTRY_UK_FLAG_CELL;
    int index = CountryFindCode(code);
    if (index < 0)
        CountryNoteUnknownCode(ENG_FUNC, code);
    return index;
}

int CountryGetCountryNumFromName(const char *name)
{
    if (!name || !name[0])
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return -1;
    }
    const char *wanted = strcmp(name, "United Kingdom") == 0 ? "England" : name;
    for (int i = 0; i < COUNTRY_NUM_COUNTRIES; i++)
        if (strcmp(s_countries[i].name, wanted) == 0)
            return i;
    DebugNoteInFunction(DEBUG_NOTE_STANDARD, ENG_FUNC, "Name [%s] not found.", name);
    return -1;
}

// ---- Own country -----------------------------------------------------------------------------

int CountryGetLocalCountryPos()
{
    // The locale names the country by its two-letter code ("en_GB.UTF-8"); "GB" is the
    // code of the row "England", as the score lists have always shown British players.
    char code[COUNTRY_CODE_SIZE] = "";
    int index = -1;
    if (EngMiscGetUserCountryCode_PC(code, sizeof(code)))
        index = CountryGetCountryNumFromCode(code, true);
    else
        DebugNoteInFunction(DEBUG_NOTE_STANDARD, ENG_FUNC, "Note: The locale names no country.");
    if (index < 0 || index >= COUNTRY_NUM_COUNTRIES)
    {
        DebugError(ENG_FUNC, "Could not get local country pos");
        return -1;
    }
    return index;
}

const char *CountryGetLocalCountryCode()
{
    int index = CountryGetLocalCountryPos();
    EngSafeStrcpy(s_country.localCode, index < 0 ? "??" : s_countries[index].code, sizeof(s_country.localCode));
    return s_country.localCode;
}

// ---- Flags -----------------------------------------------------------------------------------

const char *CountryGetFlagsFilename()
{
    if (!s_country.setup)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return FLAGS_SMALL;
    }
    return s_country.bigAtlas ? FLAGS_BIG : FLAGS_SMALL;
}

bool CountryIsAtlasLoaded()
{
    return s_country.atlas && s_country.atlas->IsLoaded();
}

bool CountryCreateGraphics()
{
    if (CountryIsAtlasLoaded())
        return true;
    const char *file = CountryGetFlagsFilename();
    if (!EngFileExists(file, false))
    {
        DebugError(ENG_FUNC, "Flags texture file does not exist <%s>", file);
        return false;
    }
    if (!s_country.atlas)
        s_country.atlas = new EngTexture("CountryFlags");
    if (!s_country.atlas->LoadFromFile(file, 1, 2, 0))
    {
        DebugError(ENG_FUNC, "Could not load flags texture <%s>", file);
        return false;
    }
    return true;
}

void CountryReleaseGraphics()
{
    if (s_country.atlas)
        s_country.atlas->Release();
}

bool CountryGetFlagTextureCoordinates(int index, float *left, float *top, float *right, float *bottom)
{
    // Index 222 has neither a row nor a flag; 223 is the United Kingdom's cell.
    int cell;
    if (index >= 0 && index < COUNTRY_NUM_COUNTRIES)
        cell = s_countries[index].flagCell;
    else if (index == COUNTRY_UK_FLAG_CELL)
        cell = COUNTRY_UK_FLAG_CELL;
    else
        return false;
    const float cellSize = 1.0f / (float)COUNTRY_ATLAS_CELLS;
    const float x = (float)(cell % COUNTRY_ATLAS_CELLS) * cellSize;
    const float y = (float)(cell / COUNTRY_ATLAS_CELLS) * cellSize;
    if (left)
        *left = x;
    if (top)
        *top = y;
    if (right)
        *right = x + cellSize;
    if (bottom)
        *bottom = y + cellSize;
    return true;
}

void CountryGetFlagSize(float *width, float *yAdjust, float *gap)
{
    // The content scale factor is 1 on the desktop.
    if (width)
        *width = 25.0f;
    if (yAdjust)
        *yAdjust = -4.0f;
    if (gap)
        *gap = 5.0f;
}

void CountryDrawFlagWithAlpha(int index, const _Dimension *rect, float alpha)
{
    float left, top, right, bottom;
    if (!rect || !EngMainDevice || !CountryIsAtlasLoaded() ||
        !CountryGetFlagTextureCoordinates(index, &left, &top, &right, &bottom))
        return;
    s_country.atlas->SetColour(1.0f, 1.0f, 1.0f, alpha);
    s_country.atlas->PositionRatioed(rect->x, rect->y, rect->w, rect->h);
    s_country.atlas->DrawWithTextureCoordinates(left, top, right, bottom);
}

void CountryDrawFlag(int index, const _Dimension *rect)
{
    CountryDrawFlagWithAlpha(index, rect, 1.0f);
}

void CountryDrawFlagOnRightSideOfButton(int index, const _Dimension *area)
{
    if (!area)
    {
        DebugError(ENG_FUNC, "No dimension.");
        return;
    }
    if (index < 0)
    {
        DebugInfoTimed(&s_country.nextInvalidFlagNote, 2.0,
                       "ERROR: CountryDrawFlagOnRightSideOfButton: Invalid cnum %d.", index);
        return;
    }
    float width, gap;
    CountryGetFlagSize(&width, nullptr, &gap);
    _Dimension rect = {area->x + area->w - width - gap, area->y + 2.5f, width, area->h - 4.0f};
    CountryDrawFlag(index, &rect);
}

void CountryDrawFlagRightOfButton(int index, const _Dimension *area)
{
    if (!area || index < 0)
        return;
    float width, gap;
    CountryGetFlagSize(&width, nullptr, &gap);
    _Dimension rect = {area->x + area->w + gap, area->y + 2.5f, width, area->h - 4.0f};
    CountryDrawFlag(index, &rect);
}
