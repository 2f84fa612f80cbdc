#include "ListWidget.h"
