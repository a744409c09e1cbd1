// National language support: code pages, character types and locale data.
#pragma once
#include "windef.h"
