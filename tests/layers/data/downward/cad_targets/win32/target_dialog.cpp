#include "cad_targets/win32/target_dialog.h"
#include "shell/application_title.h"
#include "ui/window_base.h"
#include <vector>
