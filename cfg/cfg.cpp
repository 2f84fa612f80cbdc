#include "cfg.h"
