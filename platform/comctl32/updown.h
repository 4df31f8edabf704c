// COMCTL32's up-down control, registered by InitCommonControls(Ex).
#pragma once

void RegisterUpDownClass();
