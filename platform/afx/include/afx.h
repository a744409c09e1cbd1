// The framework classes in the MFC style: strings, objects and run-time
// classes, exceptions, files, times and the module state.
#pragma once

#include "afxdefs.h"
#include "afxobject.h"
#include "afxexcept.h"
#include "afxstr.h"
#include "afxtime.h"
#include "afxfile.h"
#include "afxmodule.h"
