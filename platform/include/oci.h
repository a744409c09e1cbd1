// The Oracle Call Interface as the layer offers it: the types, constants
// and functions of OCI.DLL that the run-time binds. No Oracle client exists
// here; OCI.DLL is the layer's stand-in (platform/oci), which runs the calls
// the run-time makes over SQLite and answers an OCI error for the rest.
//
// KY_OCI_CALLED_FUNCTIONS lists, as X(name, parameters, arguments), the
// functions the run-time calls; KY_OCI_OTHER_FUNCTIONS names the rest of
// the 74 entries that the binding requires.
#pragma once

#include <stddef.h>
#include <stdint.h>

typedef int32_t sword;
typedef uint32_t uword;
typedef int32_t sb4;
typedef uint32_t ub4;
typedef int16_t sb2;
typedef uint16_t ub2;
typedef int8_t sb1;
typedef uint8_t ub1;
typedef unsigned char OraText;

typedef struct OCIEnv OCIEnv;
typedef struct OCIError OCIError;
typedef struct OCISvcCtx OCISvcCtx;
typedef struct OCIServer OCIServer;
typedef struct OCISession OCISession;
typedef struct OCIStmt OCIStmt;
typedef struct OCIBind OCIBind;
typedef struct OCIDefine OCIDefine;
typedef struct OCISnapshot OCISnapshot;
typedef struct OCIRowid OCIRowid;

typedef struct OCITime {
  ub1 OCITimeHH;
  ub1 OCITimeMI;
  ub1 OCITimeSS;
} OCITime;
// 7 bytes of data (the run-time allocates 8).
typedef struct OCIDate {
  sb2 OCIDateYYYY;
  ub1 OCIDateMM;
  ub1 OCIDateDD;
  OCITime OCIDateTime;
} OCIDate;
#define OCI_NUMBER_SIZE 22
typedef struct OCINumber {
  ub1 OCINumberPart[OCI_NUMBER_SIZE];
} OCINumber;

// Return codes.
#define OCI_SUCCESS 0
#define OCI_SUCCESS_WITH_INFO 1
#define OCI_NEED_DATA 99
#define OCI_NO_DATA 100
#define OCI_ERROR (-1)
#define OCI_INVALID_HANDLE (-2)
#define OCI_STILL_EXECUTING (-3123)

// Modes.
#define OCI_DEFAULT 0x00
#define OCI_THREADED 0x01
#define OCI_OBJECT 0x02
#define OCI_COMMIT_ON_SUCCESS 0x20
#define OCI_NTV_SYNTAX 1
#define OCI_CRED_RDBMS 1
#define OCI_FETCH_NEXT 0x02
#define OCI_DATA_AT_EXEC 0x02
#define OCI_DYNAMIC_FETCH 0x02
#define OCI_PARAM_IN 0x01
#define OCI_PARAM_OUT 0x02

// Handle and descriptor types.
#define OCI_HTYPE_ENV 1
#define OCI_HTYPE_ERROR 2
#define OCI_HTYPE_SVCCTX 3
#define OCI_HTYPE_STMT 4
#define OCI_HTYPE_BIND 5
#define OCI_HTYPE_DEFINE 6
#define OCI_HTYPE_SERVER 8
#define OCI_HTYPE_SESSION 9
#define OCI_DTYPE_ROWID 54

// Attributes.
#define OCI_ATTR_SERVER 6
#define OCI_ATTR_SESSION 7
#define OCI_ATTR_ROW_COUNT 9
#define OCI_ATTR_PREFETCH_ROWS 11
#define OCI_ATTR_ROWID 19
#define OCI_ATTR_USERNAME 22
#define OCI_ATTR_PASSWORD 23

// External data types.
#define SQLT_CHR 1
#define SQLT_NUM 2
#define SQLT_INT 3
#define SQLT_FLT 4
#define SQLT_STR 5
#define SQLT_VNU 6
#define SQLT_DAT 12
#define SQLT_BIN 23
#define SQLT_LBI 24
#define SQLT_AFC 96
#define SQLT_AVC 97
#define SQLT_UIN 68
#define SQLT_RDD 104
#define SQLT_ODT 156

// Pieces and number conversion.
#define OCI_ONE_PIECE 0
#define OCI_FIRST_PIECE 1
#define OCI_NEXT_PIECE 2
#define OCI_LAST_PIECE 3
#define OCI_NUMBER_UNSIGNED 0
#define OCI_NUMBER_SIGNED 2

#define KY_OCI_CALLED_FUNCTIONS(X)                                                                                 \
  X(OCIAttrGet, (const void* a, ub4 b, void* c, ub4* d, ub4 e, OCIError* f), (a, b, c, d, e, f))                   \
  X(OCIAttrSet, (void* a, ub4 b, void* c, ub4 d, ub4 e, OCIError* f), (a, b, c, d, e, f))                          \
  X(OCIBindByName,                                                                                                 \
    (OCIStmt * a, OCIBind** b, OCIError* c, const OraText* d, sb4 e, void* f, sb4 g, ub2 h, void* i, ub2* j,       \
     ub2* k, ub4 l, ub4* m, ub4 n),                                                                                \
    (a, b, c, d, e, f, g, h, i, j, k, l, m, n))                                                                    \
  X(OCIBindByPos,                                                                                                  \
    (OCIStmt * a, OCIBind** b, OCIError* c, ub4 d, void* e, sb4 f, ub2 g, void* h, ub2* i, ub2* j, ub4 k, ub4* l,  \
     ub4 m),                                                                                                       \
    (a, b, c, d, e, f, g, h, i, j, k, l, m))                                                                       \
  X(OCIDefineByPos,                                                                                                \
    (OCIStmt * a, OCIDefine** b, OCIError* c, ub4 d, void* e, sb4 f, ub2 g, void* h, ub2* i, ub2* j, ub4 k),       \
    (a, b, c, d, e, f, g, h, i, j, k))                                                                             \
  X(OCIDescriptorAlloc, (const void* a, void** b, ub4 c, size_t d, void** e), (a, b, c, d, e))                     \
  X(OCIDescriptorFree, (void* a, ub4 b), (a, b))                                                                   \
  X(OCIErrorGet, (void* a, ub4 b, OraText* c, sb4* d, OraText* e, ub4 f, ub4 g), (a, b, c, d, e, f, g))            \
  X(OCIHandleAlloc, (const void* a, void** b, ub4 c, size_t d, void** e), (a, b, c, d, e))                         \
  X(OCIHandleFree, (void* a, ub4 b), (a, b))                                                                       \
  X(OCIServerAttach, (OCIServer * a, OCIError* b, const OraText* c, sb4 d, ub4 e), (a, b, c, d, e))                \
  X(OCIServerDetach, (OCIServer * a, OCIError* b, ub4 c), (a, b, c))                                               \
  X(OCISessionBegin, (OCISvcCtx * a, OCIError* b, OCISession* c, ub4 d, ub4 e), (a, b, c, d, e))                   \
  X(OCISessionEnd, (OCISvcCtx * a, OCIError* b, OCISession* c, ub4 d), (a, b, c, d))                               \
  X(OCIStmtExecute,                                                                                                \
    (OCISvcCtx * a, OCIStmt* b, OCIError* c, ub4 d, ub4 e, const OCISnapshot* f, OCISnapshot* g, ub4 h),          \
    (a, b, c, d, e, f, g, h))                                                                                      \
  X(OCIStmtFetch, (OCIStmt * a, OCIError* b, ub4 c, ub2 d, ub4 e), (a, b, c, d, e))                                \
  X(OCIStmtGetPieceInfo, (OCIStmt * a, OCIError* b, void** c, ub4* d, ub1* e, ub4* f, ub4* g, ub1* h),            \
    (a, b, c, d, e, f, g, h))                                                                                      \
  X(OCIStmtPrepare, (OCIStmt * a, OCIError* b, const OraText* c, ub4 d, ub4 e, ub4 f), (a, b, c, d, e, f))         \
  X(OCIStmtSetPieceInfo, (void* a, ub4 b, OCIError* c, const void* d, ub4* e, ub1 f, const void* g, ub2* h),      \
    (a, b, c, d, e, f, g, h))                                                                                      \
  X(OCITransCommit, (OCISvcCtx * a, OCIError* b, ub4 c), (a, b, c))                                                \
  X(OCITransRollback, (OCISvcCtx * a, OCIError* b, ub4 c), (a, b, c))                                              \
  X(OCIEnvCreate,                                                                                                  \
    (OCIEnv * *a, ub4 b, void* c, void* (*d)(void*, size_t), void* (*e)(void*, void*, size_t),                     \
     void (*f)(void*, void*), size_t g, void** h),                                                                 \
    (a, b, c, d, e, f, g, h))                                                                                      \
  X(OCINumberToInt, (OCIError * a, const OCINumber* b, uword c, uword d, void* e), (a, b, c, d, e))                \
  X(OCINumberFromInt, (OCIError * a, const void* b, uword c, uword d, OCINumber* e), (a, b, c, d, e))              \
  X(OCINumberSetZero, (OCIError * a, OCINumber* b), (a, b))

#define KY_OCI_OTHER_FUNCTIONS(X)                                                                                  \
  X(OCIBindArrayOfStruct) X(OCIBindDynamic) X(OCIBindObject) X(OCIDefineArrayOfStruct) X(OCIDefineDynamic)         \
  X(OCIDefineObject) X(OCIDescribeAny) X(OCIEnvInit) X(OCIInitialize) X(OCILdaToSvcCtx) X(OCILobAppend)            \
  X(OCILobAssign) X(OCILobCharSetForm) X(OCILobCharSetId) X(OCILobCopy) X(OCILobDisableBuffering)                  \
  X(OCILobEnableBuffering) X(OCILobErase) X(OCILobFileClose) X(OCILobFileCloseAll) X(OCILobFileExists)             \
  X(OCILobFileGetName) X(OCILobFileIsOpen) X(OCILobFileOpen) X(OCILobFileSetName) X(OCILobFlushBuffer)             \
  X(OCILobGetLength) X(OCILobIsEqual) X(OCILobLoadFromFile) X(OCILobLocatorIsInit) X(OCILobRead) X(OCILobTrim)     \
  X(OCILobWrite) X(OCILogoff) X(OCILogon) X(OCIParamGet) X(OCIParamSet) X(OCIPasswordChange) X(OCIServerVersion)   \
  X(OCIStmtGetBindInfo) X(OCISvcCtxToLda) X(OCITransStart) X(OCITransDetach) X(OCITransPrepare)                    \
  X(OCITransForget) X(OCITypeArrayByName) X(OCITypeArrayByRef) X(OCITypeByName) X(OCITypeByRef)

#ifdef __cplusplus
extern "C" {
#endif
#define KY_OCI_PROTOTYPE(name, parameters, arguments) sword name parameters;
KY_OCI_CALLED_FUNCTIONS(KY_OCI_PROTOTYPE)
#undef KY_OCI_PROTOTYPE
#ifdef __cplusplus
}
#endif
