#include "List.h"
