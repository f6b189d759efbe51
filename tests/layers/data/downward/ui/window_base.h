#pragma once
#include "shell/application_title.h"
