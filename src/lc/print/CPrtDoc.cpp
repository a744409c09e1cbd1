#include "CPrtDoc.h"

IMPLEMENT_DYNCREATE(CPrtDoc, CDocument)
