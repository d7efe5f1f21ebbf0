// The meta-objects of the test components are built from LanguageTestObjects.h.
#include "LanguageTestObjects.h"
