#include "lisp/index.h"
