#pragma once
// The program's small windows in one include: the splash window, the About box, the welcome
// dialog and the sound-error dialog.

#include "frm_about.h"
#include "frm_new_user_message.h"
#include "frm_no_sound_message.h"
#include "frm_splash.h"
