#include "app/CRvFileIni.h"
