#include "data/CXmlDocument.h"
