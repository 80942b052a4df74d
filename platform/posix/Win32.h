// Everything of the Win32 stand-in in one include, like <windows.h>.
#pragma once

#include "WinDef.h"
#include "WinBase.h"
#include "WinUser.h"
#include "WinGdi.h"
#include "CommCtrl.h"
