// The image-help library's MakeSureDirectoryPathExists (imagehlp.dll).
#pragma once

#include "WindowsHeaders.h"

#include <imagehlp.h>
