// Popups shown through the platform message box.
#include "EngMisc.h"

#include "EngMemory.h"

static struct
{
    int type;
    char title[100];
    char text[400];
} s_popup = {0, "", ""};

void EngMiscSetPopupTexts(int type, const char *title, const char *text)
{
    s_popup.type = type;
    EngSafeStrcpy(s_popup.title, title, sizeof(s_popup.title));
    EngSafeStrcpy(s_popup.text, text, sizeof(s_popup.text));
}

bool EngMiscIsPopupSet()
{
    return s_popup.type != 0;
}

int EngMiscShowPopupMessage(int type, const char *title, const char *text)
{
    if (type != 0 || title || text)
        EngMiscSetPopupTexts(type, title, text);
    int result = EngMiscMessageBox_PC(s_popup.type, s_popup.title, s_popup.text);
    s_popup.type = 0;
    return result;
}
