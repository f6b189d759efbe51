#include "cad_targets/target_file.h"
