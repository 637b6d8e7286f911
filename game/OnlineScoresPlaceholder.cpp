// Placeholder for the online score service (see OnlineScores.h): lists stay empty and
// nothing is sent; a submission answers "Not setup." The online services replace this
// file.
#include <cstdio>

#include "EngDebug.h"
#include "OnlineScores.h"

ScoresMain::ScoresMain() : numScores(0) {}
ScoresMain::~ScoresMain() {}
bool ScoresMain::Setup(int programId, int gameVersion, int listSize, int tableId, int range, ScoresValidityFn valid,
                       char flag, int refreshMinutes)
{
    return true;
}
void ScoresMain::SetUpperCaseNames() {}
void ScoresMain::Update() {}
void ScoresMain::UpdateIfNeeded(char flag) {}
bool ScoresMain::IsUpdateFinished() { return true; }
int ScoresMain::GetNumScores() { return numScores; }
const _ScoresScore *ScoresMain::GetScoresList() { return nullptr; }
const _ScoresScore *ScoresMain::GetScore(int index) { return nullptr; }

EngResultCode ScoresSubmitScore(int programId, int gameVersion, int tableId, const _ScoresScore *score, MWin *gui,
                                int32_t *onlineMinimumScore)
{
    return EngFourCC("NSTP");
}

bool ScoresSubmitIsSubmitResultCodeASubmission(EngResultCode code) { return false; }

bool ScoresMain_GetFileName(int programId, int tableId, int range, char *buffer, int size)
{
    return false;
}
