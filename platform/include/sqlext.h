// The ODBC interface as the layer offers it: types, the constants the
// run-time uses and the functions of ODBC32.DLL (which is unixODBC,
// libodbc.so.2, here). The widths are those of 64-bit ODBC: SQLLEN and
// SQLULEN are 64-bit, SQLINTEGER 32-bit.
//
// KY_ODBC_FUNCTIONS lists every function once, as X(name, parameters,
// arguments): the prototypes below and the run-time's binding of the
// library by name are both made from it.
#pragma once

#include <stdint.h>

typedef unsigned char SQLCHAR;
typedef signed char SQLSCHAR;
typedef int16_t SQLSMALLINT;
typedef uint16_t SQLUSMALLINT;
typedef int32_t SQLINTEGER;
typedef uint32_t SQLUINTEGER;
typedef int64_t SQLLEN;
typedef uint64_t SQLULEN;
typedef uint64_t SQLSETPOSIROW;
typedef double SQLDOUBLE;
typedef void* SQLPOINTER;
typedef SQLSMALLINT SQLRETURN;
typedef void* SQLHANDLE;
typedef SQLHANDLE SQLHENV;
typedef SQLHANDLE SQLHDBC;
typedef SQLHANDLE SQLHSTMT;
typedef void* SQLHWND;
typedef SQLHENV HENV;
typedef SQLHDBC HDBC;
typedef SQLHSTMT HSTMT;
typedef SQLSMALLINT RETCODE;

typedef struct tagDATE_STRUCT {
  SQLSMALLINT year;
  SQLUSMALLINT month;
  SQLUSMALLINT day;
} DATE_STRUCT;
typedef struct tagTIME_STRUCT {
  SQLUSMALLINT hour;
  SQLUSMALLINT minute;
  SQLUSMALLINT second;
} TIME_STRUCT;
typedef struct tagTIMESTAMP_STRUCT {
  SQLSMALLINT year;
  SQLUSMALLINT month;
  SQLUSMALLINT day;
  SQLUSMALLINT hour;
  SQLUSMALLINT minute;
  SQLUSMALLINT second;
  SQLUINTEGER fraction;
} TIMESTAMP_STRUCT;

// Return codes.
#define SQL_SUCCESS 0
#define SQL_SUCCESS_WITH_INFO 1
#define SQL_NEED_DATA 99
#define SQL_NO_DATA 100
#define SQL_NO_DATA_FOUND 100
#define SQL_ERROR (-1)
#define SQL_INVALID_HANDLE (-2)
#define SQL_SUCCEEDED(rc) (((rc) & (~1)) == 0)

// Lengths and indicators.
#define SQL_NTS (-3)
#define SQL_NULL_DATA (-1)
#define SQL_DATA_AT_EXEC (-2)
#define SQL_NO_TOTAL (-4)
#define SQL_IGNORE (-6)
#define SQL_LEN_DATA_AT_EXEC_OFFSET (-100)
#define SQL_LEN_DATA_AT_EXEC(length) (-(length) + SQL_LEN_DATA_AT_EXEC_OFFSET)
#define SQL_IS_UINTEGER (-5)
#define SQL_IS_INTEGER (-6)
#define SQL_MAX_MESSAGE_LENGTH 512

// Handles and environment.
#define SQL_HANDLE_ENV 1
#define SQL_HANDLE_DBC 2
#define SQL_HANDLE_STMT 3
#define SQL_NULL_HANDLE 0
#define SQL_ATTR_ODBC_VERSION 200
#define SQL_OV_ODBC2 2UL
#define SQL_OV_ODBC3 3UL

// Connecting and transactions.
#define SQL_DRIVER_NOPROMPT 0
#define SQL_DRIVER_COMPLETE 1
#define SQL_COMMIT 0
#define SQL_ROLLBACK 1
#define SQL_AUTOCOMMIT 102
#define SQL_AUTOCOMMIT_OFF 0UL
#define SQL_AUTOCOMMIT_ON 1UL
#define SQL_CURRENT_QUALIFIER 109

// Statements.
#define SQL_CLOSE 0
#define SQL_DROP 1
#define SQL_UNBIND 2
#define SQL_RESET_PARAMS 3
#define SQL_BIND_TYPE 5
#define SQL_BIND_BY_COLUMN 0UL
#define SQL_CURSOR_TYPE 6
#define SQL_CONCURRENCY 7
#define SQL_ROWSET_SIZE 9
#define SQL_ATTR_CONCURRENCY 7
#define SQL_ATTR_CURSOR_TYPE 6
#define SQL_ATTR_ROW_ARRAY_SIZE 27
#define SQL_CURSOR_FORWARD_ONLY 0UL
#define SQL_CURSOR_KEYSET_DRIVEN 1UL
#define SQL_CURSOR_DYNAMIC 2UL
#define SQL_CURSOR_STATIC 3UL
#define SQL_CONCUR_READ_ONLY 1
#define SQL_CONCUR_LOCK 2
#define SQL_CONCUR_ROWVER 3
#define SQL_CONCUR_VALUES 4

// Fetching and positioning.
#define SQL_FETCH_NEXT 1
#define SQL_POSITION 0
#define SQL_REFRESH 1
#define SQL_UPDATE 2
#define SQL_DELETE 3
#define SQL_LOCK_NO_CHANGE 0
#define SQL_ROW_SUCCESS 0
#define SQL_ROW_DELETED 1
#define SQL_ROW_UPDATED 2
#define SQL_ROW_NOROW 3
#define SQL_ROW_ADDED 4
#define SQL_ROW_ERROR 5

// SQLGetInfo.
#define SQL_DATA_SOURCE_NAME 2
#define SQL_DBMS_NAME 17
#define SQL_DRIVER_ODBC_VER 77
#define SQL_POS_OPERATIONS 79
#define SQL_POS_UPDATE 0x00000004L
#define SQL_POS_DELETE 0x00000008L
#define SQL_DYNAMIC_CURSOR_ATTRIBUTES1 144
#define SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES1 146
#define SQL_KEYSET_CURSOR_ATTRIBUTES1 150
#define SQL_CA1_SELECT_FOR_UPDATE 0x00008000L

// SQL types.
#define SQL_CHAR 1
#define SQL_NUMERIC 2
#define SQL_DECIMAL 3
#define SQL_INTEGER 4
#define SQL_SMALLINT 5
#define SQL_FLOAT 6
#define SQL_REAL 7
#define SQL_DOUBLE 8
#define SQL_DATE 9
#define SQL_TIME 10
#define SQL_TIMESTAMP 11
#define SQL_VARCHAR 12
#define SQL_TYPE_DATE 91
#define SQL_TYPE_TIME 92
#define SQL_TYPE_TIMESTAMP 93
#define SQL_LONGVARCHAR (-1)
#define SQL_BINARY (-2)
#define SQL_VARBINARY (-3)
#define SQL_LONGVARBINARY (-4)
#define SQL_BIGINT (-5)

// C types.
#define SQL_C_CHAR 1
#define SQL_C_LONG 4
#define SQL_C_SHORT 5
#define SQL_C_DOUBLE 8
#define SQL_C_DATE 9
#define SQL_C_TIME 10
#define SQL_C_TIMESTAMP 11
#define SQL_C_BINARY (-2)
#define SQL_C_SBIGINT (-25)

// Parameter directions.
#define SQL_PARAM_INPUT 1
#define SQL_PARAM_INPUT_OUTPUT 2
#define SQL_PARAM_OUTPUT 4
#define SQL_RETURN_VALUE 5

// Every function of the driver manager that the run-time binds, in the
// run-time's load order: the 56 that every driver manager has, then the
// ODBC 3 group that is bound all or nothing.
#define KY_ODBC_REQUIRED_FUNCTIONS(X)                                                                              \
  X(SQLAllocConnect, (SQLHENV a, SQLHDBC * b), (a, b))                                                             \
  X(SQLAllocEnv, (SQLHENV * a), (a))                                                                               \
  X(SQLAllocStmt, (SQLHDBC a, SQLHSTMT * b), (a, b))                                                               \
  X(SQLBindCol, (SQLHSTMT a, SQLUSMALLINT b, SQLSMALLINT c, SQLPOINTER d, SQLLEN e, SQLLEN * f), (a, b, c, d, e, f)) \
  X(SQLCancel, (SQLHSTMT a), (a))                                                                                  \
  X(SQLColAttributes,                                                                                              \
    (SQLHSTMT a, SQLUSMALLINT b, SQLUSMALLINT c, SQLPOINTER d, SQLSMALLINT e, SQLSMALLINT * f, SQLLEN * g),         \
    (a, b, c, d, e, f, g))                                                                                         \
  X(SQLConnect, (SQLHDBC a, SQLCHAR * b, SQLSMALLINT c, SQLCHAR * d, SQLSMALLINT e, SQLCHAR * f, SQLSMALLINT g),   \
    (a, b, c, d, e, f, g))                                                                                         \
  X(SQLDescribeCol,                                                                                                \
    (SQLHSTMT a, SQLUSMALLINT b, SQLCHAR * c, SQLSMALLINT d, SQLSMALLINT * e, SQLSMALLINT * f, SQLULEN * g,        \
     SQLSMALLINT * h, SQLSMALLINT * i),                                                                            \
    (a, b, c, d, e, f, g, h, i))                                                                                   \
  X(SQLDisconnect, (SQLHDBC a), (a))                                                                               \
  X(SQLError,                                                                                                      \
    (SQLHENV a, SQLHDBC b, SQLHSTMT c, SQLCHAR * d, SQLINTEGER * e, SQLCHAR * f, SQLSMALLINT g, SQLSMALLINT * h),   \
    (a, b, c, d, e, f, g, h))                                                                                      \
  X(SQLExecDirect, (SQLHSTMT a, SQLCHAR * b, SQLINTEGER c), (a, b, c))                                             \
  X(SQLExecute, (SQLHSTMT a), (a))                                                                                 \
  X(SQLExtendedFetch, (SQLHSTMT a, SQLUSMALLINT b, SQLLEN c, SQLULEN * d, SQLUSMALLINT * e), (a, b, c, d, e))      \
  X(SQLFetch, (SQLHSTMT a), (a))                                                                                   \
  X(SQLFreeConnect, (SQLHDBC a), (a))                                                                              \
  X(SQLFreeEnv, (SQLHENV a), (a))                                                                                  \
  X(SQLFreeStmt, (SQLHSTMT a, SQLUSMALLINT b), (a, b))                                                             \
  X(SQLGetCursorName, (SQLHSTMT a, SQLCHAR * b, SQLSMALLINT c, SQLSMALLINT * d), (a, b, c, d))                     \
  X(SQLNumResultCols, (SQLHSTMT a, SQLSMALLINT * b), (a, b))                                                       \
  X(SQLPrepare, (SQLHSTMT a, SQLCHAR * b, SQLINTEGER c), (a, b, c))                                                \
  X(SQLRowCount, (SQLHSTMT a, SQLLEN * b), (a, b))                                                                 \
  X(SQLSetCursorName, (SQLHSTMT a, SQLCHAR * b, SQLSMALLINT c), (a, b, c))                                         \
  X(SQLTransact, (SQLHENV a, SQLHDBC b, SQLUSMALLINT c), (a, b, c))                                                \
  X(SQLSetParam,                                                                                                   \
    (SQLHSTMT a, SQLUSMALLINT b, SQLSMALLINT c, SQLSMALLINT d, SQLULEN e, SQLSMALLINT f, SQLPOINTER g, SQLLEN * h), \
    (a, b, c, d, e, f, g, h))                                                                                      \
  X(SQLColumns,                                                                                                    \
    (SQLHSTMT a, SQLCHAR * b, SQLSMALLINT c, SQLCHAR * d, SQLSMALLINT e, SQLCHAR * f, SQLSMALLINT g, SQLCHAR * h,   \
     SQLSMALLINT i),                                                                                               \
    (a, b, c, d, e, f, g, h, i))                                                                                   \
  X(SQLDriverConnect,                                                                                              \
    (SQLHDBC a, SQLHWND b, SQLCHAR * c, SQLSMALLINT d, SQLCHAR * e, SQLSMALLINT f, SQLSMALLINT * g,                \
     SQLUSMALLINT h),                                                                                              \
    (a, b, c, d, e, f, g, h))                                                                                      \
  X(SQLGetConnectOption, (SQLHDBC a, SQLUSMALLINT b, SQLPOINTER c), (a, b, c))                                     \
  X(SQLGetData, (SQLHSTMT a, SQLUSMALLINT b, SQLSMALLINT c, SQLPOINTER d, SQLLEN e, SQLLEN * f), (a, b, c, d, e, f)) \
  X(SQLGetFunctions, (SQLHDBC a, SQLUSMALLINT b, SQLUSMALLINT * c), (a, b, c))                                     \
  X(SQLGetInfo, (SQLHDBC a, SQLUSMALLINT b, SQLPOINTER c, SQLSMALLINT d, SQLSMALLINT * e), (a, b, c, d, e))        \
  X(SQLGetStmtOption, (SQLHSTMT a, SQLUSMALLINT b, SQLPOINTER c), (a, b, c))                                       \
  X(SQLGetTypeInfo, (SQLHSTMT a, SQLSMALLINT b), (a, b))                                                           \
  X(SQLParamData, (SQLHSTMT a, SQLPOINTER * b), (a, b))                                                            \
  X(SQLPutData, (SQLHSTMT a, SQLPOINTER b, SQLLEN c), (a, b, c))                                                   \
  X(SQLSetConnectOption, (SQLHDBC a, SQLUSMALLINT b, SQLULEN c), (a, b, c))                                        \
  X(SQLSetStmtOption, (SQLHSTMT a, SQLUSMALLINT b, SQLULEN c), (a, b, c))                                          \
  X(SQLSpecialColumns,                                                                                             \
    (SQLHSTMT a, SQLUSMALLINT b, SQLCHAR * c, SQLSMALLINT d, SQLCHAR * e, SQLSMALLINT f, SQLCHAR * g,              \
     SQLSMALLINT h, SQLUSMALLINT i, SQLUSMALLINT j),                                                               \
    (a, b, c, d, e, f, g, h, i, j))                                                                                \
  X(SQLStatistics,                                                                                                 \
    (SQLHSTMT a, SQLCHAR * b, SQLSMALLINT c, SQLCHAR * d, SQLSMALLINT e, SQLCHAR * f, SQLSMALLINT g,               \
     SQLUSMALLINT h, SQLUSMALLINT i),                                                                              \
    (a, b, c, d, e, f, g, h, i))                                                                                   \
  X(SQLTables,                                                                                                     \
    (SQLHSTMT a, SQLCHAR * b, SQLSMALLINT c, SQLCHAR * d, SQLSMALLINT e, SQLCHAR * f, SQLSMALLINT g, SQLCHAR * h,   \
     SQLSMALLINT i),                                                                                               \
    (a, b, c, d, e, f, g, h, i))                                                                                   \
  X(SQLBindParameter,                                                                                              \
    (SQLHSTMT a, SQLUSMALLINT b, SQLSMALLINT c, SQLSMALLINT d, SQLSMALLINT e, SQLULEN f, SQLSMALLINT g,            \
     SQLPOINTER h, SQLLEN i, SQLLEN * j),                                                                          \
    (a, b, c, d, e, f, g, h, i, j))                                                                                \
  X(SQLBrowseConnect, (SQLHDBC a, SQLCHAR * b, SQLSMALLINT c, SQLCHAR * d, SQLSMALLINT e, SQLSMALLINT * f),        \
    (a, b, c, d, e, f))                                                                                            \
  X(SQLColumnPrivileges,                                                                                           \
    (SQLHSTMT a, SQLCHAR * b, SQLSMALLINT c, SQLCHAR * d, SQLSMALLINT e, SQLCHAR * f, SQLSMALLINT g, SQLCHAR * h,   \
     SQLSMALLINT i),                                                                                               \
    (a, b, c, d, e, f, g, h, i))                                                                                   \
  X(SQLDataSources,                                                                                                \
    (SQLHENV a, SQLUSMALLINT b, SQLCHAR * c, SQLSMALLINT d, SQLSMALLINT * e, SQLCHAR * f, SQLSMALLINT g,           \
     SQLSMALLINT * h),                                                                                             \
    (a, b, c, d, e, f, g, h))                                                                                      \
  X(SQLDescribeParam, (SQLHSTMT a, SQLUSMALLINT b, SQLSMALLINT * c, SQLULEN * d, SQLSMALLINT * e, SQLSMALLINT * f), \
    (a, b, c, d, e, f))                                                                                            \
  X(SQLDrivers,                                                                                                    \
    (SQLHENV a, SQLUSMALLINT b, SQLCHAR * c, SQLSMALLINT d, SQLSMALLINT * e, SQLCHAR * f, SQLSMALLINT g,           \
     SQLSMALLINT * h),                                                                                             \
    (a, b, c, d, e, f, g, h))                                                                                      \
  X(SQLForeignKeys,                                                                                                \
    (SQLHSTMT a, SQLCHAR * b, SQLSMALLINT c, SQLCHAR * d, SQLSMALLINT e, SQLCHAR * f, SQLSMALLINT g, SQLCHAR * h,   \
     SQLSMALLINT i, SQLCHAR * j, SQLSMALLINT k, SQLCHAR * l, SQLSMALLINT m),                                       \
    (a, b, c, d, e, f, g, h, i, j, k, l, m))                                                                       \
  X(SQLNativeSql, (SQLHDBC a, SQLCHAR * b, SQLINTEGER c, SQLCHAR * d, SQLINTEGER e, SQLINTEGER * f),               \
    (a, b, c, d, e, f))                                                                                            \
  X(SQLNumParams, (SQLHSTMT a, SQLSMALLINT * b), (a, b))                                                           \
  X(SQLParamOptions, (SQLHSTMT a, SQLULEN b, SQLULEN * c), (a, b, c))                                              \
  X(SQLPrimaryKeys,                                                                                                \
    (SQLHSTMT a, SQLCHAR * b, SQLSMALLINT c, SQLCHAR * d, SQLSMALLINT e, SQLCHAR * f, SQLSMALLINT g),              \
    (a, b, c, d, e, f, g))                                                                                         \
  X(SQLProcedureColumns,                                                                                           \
    (SQLHSTMT a, SQLCHAR * b, SQLSMALLINT c, SQLCHAR * d, SQLSMALLINT e, SQLCHAR * f, SQLSMALLINT g, SQLCHAR * h,   \
     SQLSMALLINT i),                                                                                               \
    (a, b, c, d, e, f, g, h, i))                                                                                   \
  X(SQLProcedures,                                                                                                 \
    (SQLHSTMT a, SQLCHAR * b, SQLSMALLINT c, SQLCHAR * d, SQLSMALLINT e, SQLCHAR * f, SQLSMALLINT g),              \
    (a, b, c, d, e, f, g))                                                                                         \
  X(SQLSetPos, (SQLHSTMT a, SQLSETPOSIROW b, SQLUSMALLINT c, SQLUSMALLINT d), (a, b, c, d))                        \
  X(SQLSetScrollOptions, (SQLHSTMT a, SQLUSMALLINT b, SQLLEN c, SQLUSMALLINT d), (a, b, c, d))                     \
  X(SQLTablePrivileges,                                                                                            \
    (SQLHSTMT a, SQLCHAR * b, SQLSMALLINT c, SQLCHAR * d, SQLSMALLINT e, SQLCHAR * f, SQLSMALLINT g),              \
    (a, b, c, d, e, f, g))                                                                                         \
  X(SQLMoreResults, (SQLHSTMT a), (a))

#define KY_ODBC3_FUNCTIONS(X)                                                                                      \
  X(SQLAllocHandle, (SQLSMALLINT a, SQLHANDLE b, SQLHANDLE * c), (a, b, c))                                        \
  X(SQLFreeHandle, (SQLSMALLINT a, SQLHANDLE b), (a, b))                                                           \
  X(SQLSetEnvAttr, (SQLHENV a, SQLINTEGER b, SQLPOINTER c, SQLINTEGER d), (a, b, c, d))                            \
  X(SQLGetStmtAttr, (SQLHSTMT a, SQLINTEGER b, SQLPOINTER c, SQLINTEGER d, SQLINTEGER * e), (a, b, c, d, e))       \
  X(SQLSetConnectAttr, (SQLHDBC a, SQLINTEGER b, SQLPOINTER c, SQLINTEGER d), (a, b, c, d))                        \
  X(SQLSetStmtAttr, (SQLHSTMT a, SQLINTEGER b, SQLPOINTER c, SQLINTEGER d), (a, b, c, d))

#define KY_ODBC_FUNCTIONS(X) KY_ODBC_REQUIRED_FUNCTIONS(X) KY_ODBC3_FUNCTIONS(X)

#ifdef __cplusplus
extern "C" {
#endif
#define KY_ODBC_PROTOTYPE(name, parameters, arguments) SQLRETURN name parameters;
KY_ODBC_FUNCTIONS(KY_ODBC_PROTOTYPE)
#undef KY_ODBC_PROTOTYPE
#ifdef __cplusplus
}
#endif
