// Levels, lives, game types and difficulties: each level's tuning, the level state
// machine (start, intro caption, count-down, level done, life lost, game over), lives
// and the texts of the captions. Works on GameState and is driven by the game tick.
#pragma once

// Makes GameState.nextLevel current and builds its grid.
void LevelsStartNextLevel();
// The tuning of the current level for its game type and difficulty.
void LevelsSetLevelAmounts();
// Runs the level states; true while a state other than play runs (the tick then skips
// play). Also turns the grid balls of a lost life or game over.
char LevelsTick();
// Arms the start state for `level`.
void LevelsSetNextLevel(int level);
// In play, with no coloured ball left in the grid, ends the level; false while play
// goes on.
char LevelsCheckLevelDone();
// Ends the current life (or the game).
void LevelsLoseLife();
// The grid balls grow in after a level is built: gridBallScale toward 1 by the tick's time.
void LevelsGrowGridBalls();
int LevelsGetState();
void LevelsSetPlay();

// "EASY", "MEDIUM", ... for a game type's difficulty; "???" outside the table.
const char *LevelsGetDifficultyName(int gameType, int difficulty);
// The caption of the score bar ("%d : %d" in ARCADE, ...).
void LevelsFormatCaptionText(char *buffer, int size);
// The lines of the big caption of the current state (intro and count-down: the level;
// life lost: the lives left): their number, 0 when the state shows none.
int LevelsGetCaptionLines(char *first, char *second, int size);
