#include "window/frm_import.h"
