// Where the button kinds with behaviour of their own hand their handlers to the core
// (MWinButtonSetKindOps) and the popups theirs (MWinSetPopupOps). MWin's constructor
// calls it once per root; registering twice is harmless.
#include "MWin.h"
#include "MWinKinds.h"

void MWinRegisterButtonKinds()
{
    MWinRegisterKindsOfThisModule();
}
