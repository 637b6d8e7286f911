// The game's score module reaches online lists through a table of operations (it sits
// below this layer); these run them on ScoresMain objects.
#include <new>

#include "EngDebug.h"
#include "MWin.h"
#include "ScoresMain.h"
#include "ScoresSubmit.h"

namespace
{

void *ListCreate(int programId, int gameVersion, int listSize, int tableId, int range, ScoresValidityFn valid,
                 char fetchWhenStale, int refreshMinutes)
{
    ScoresMain *list = new (std::nothrow) ScoresMain();
    if (!list)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
        return nullptr;
    }
    if (!list->Setup(programId, (uint16_t)gameVersion, listSize, (uint32_t)tableId, range, valid, fetchWhenStale != 0,
                     (uint32_t)refreshMinutes))
    {
        delete list;
        return nullptr;
    }
    return list;
}

void ListFree(void *list)
{
    delete (ScoresMain *)list;
}

void ListSetUpperCaseNames(void *list)
{
    ((ScoresMain *)list)->SetUpperCaseNames();
}

void ListUpdate(void *list)
{
    ((ScoresMain *)list)->Update();
}

void ListUpdateIfNeeded(void *list, char force)
{
    ((ScoresMain *)list)->UpdateIfNeeded(force != 0);
}

int8_t ListIsUpdateFinished(void *list, int32_t *result, const char **message)
{
    return ((ScoresMain *)list)->IsUpdateFinished(result, message);
}

int ListGetNumScores(void *list)
{
    return ((ScoresMain *)list)->GetNumScores();
}

const _ScoresScore *ListGetScoresList(void *list)
{
    return ((ScoresMain *)list)->GetScoresList(true);
}

const _ScoresScore *ListGetScore(void *list, int index)
{
    return ((ScoresMain *)list)->GetScore(index);
}

// A submission tells the player through the GUI root (when its GUI is on).
EngResultCode SubmitScore(int programId, int gameVersion, int tableId, const _ScoresScore *score, int32_t *minimum)
{
    return (EngResultCode)ScoresSubmitScore(programId, (uint16_t)gameVersion, (uint32_t)tableId, score,
                                            &mwin_object, minimum);
}

bool IsSubmission(EngResultCode code)
{
    return ScoresSubmitIsSubmitResultCodeASubmission((int32_t)code);
}

bool GetFileName(int programId, int tableId, int range, char *buffer, int size)
{
    return ScoresMainGetFileName(programId, (uint32_t)tableId, range, buffer, size, false);
}

} // namespace

void OnlineRegisterScoreHooks(ScoresCountryCheckFn countryCheck)
{
    ScoresMainSetCountryCheck(countryCheck);
    _OnlineScoresHooks hooks = {};
    hooks.listCreate = ListCreate;
    hooks.listFree = ListFree;
    hooks.listSetUpperCaseNames = ListSetUpperCaseNames;
    hooks.listUpdate = ListUpdate;
    hooks.listUpdateIfNeeded = ListUpdateIfNeeded;
    hooks.listIsUpdateFinished = ListIsUpdateFinished;
    hooks.listGetNumScores = ListGetNumScores;
    hooks.listGetScoresList = ListGetScoresList;
    hooks.listGetScore = ListGetScore;
    hooks.getFileName = GetFileName;
    hooks.submitScore = SubmitScore;
    hooks.isSubmission = IsSubmission;
    OnlineScoresSetHooks(&hooks);
}
