#include "app/CRvFileAccess.h"
