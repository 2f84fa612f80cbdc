#include "icon.h"
