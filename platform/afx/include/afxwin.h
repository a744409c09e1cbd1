// The window side of the framework: geometry, graphics, menus, message
// maps, windows, controls, dialogs, the thread and application objects and
// extension libraries. Programs include this one header, as with the
// framework; the concepts live in the headers below.
#pragma once

#include "afx.h"
#include "afxres.h"
#include "afxgeom.h"
#include "afxmsg.h"
#include "afxcmd.h"
#include "afxgdi.h"
#include "afxmenu.h"
#include "afxwnd.h"
#include "afxframe.h"
#include "afxctrls.h"
#include "afxdlg.h"
#include "afxapp.h"
#include "afxdll.h"
#include "afxdocview.h"
