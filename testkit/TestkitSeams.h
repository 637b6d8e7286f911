// Seams that production modules keep for tests alone: each is defined beside the state it
// changes and declared only here, in the test kit, so that no production file reaches it.
#pragma once

// EngPicture (eng_render): the next `allowed` stages added to picture sets succeed and the
// ones after fail as out of memory; -1 lifts the limit.
void EngPictureLimitStagesForTests(int allowed);

// Resolution (eng_program): `hook` runs after the new settings file is written and before
// it replaces the old one (a crash there must leave the old file); NULL for none.
// ResolutionShutdown forgets it.
void ResolutionSetBeforeReplaceHookForTests(void (*hook)());
