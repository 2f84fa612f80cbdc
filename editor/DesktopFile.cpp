#include "DesktopFile.h"
