#include "cad/row_action.h"
