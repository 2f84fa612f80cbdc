#include "Mainwin.h"
