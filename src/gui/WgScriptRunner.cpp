#include "gui/WgScriptRunner.h"

WgScriptRunner *g_scriptRunner = nullptr;
