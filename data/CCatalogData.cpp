#include "data/CCatalogData.h"
