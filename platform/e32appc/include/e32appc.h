// The APPC client interface as e32appc.dll of the layer offers it: the
// nine verbs the run-time calls, loaded by name (the typedefs below). Each
// verb takes the window handle first and a conversation id second (but
// Allocate, which gives the id, and the two queries) and answers a return
// code (APPC_* below).
//
// There is no SNA here: a partner (an LU) is a TCP address, listed in the
// profile file KY_APPC_CONFIG names, else APPC.INI of $XDG_CONFIG_HOME/ky:
//   [Partners] <LU name>=<host>:<port>
//   [Default]  System=<LU name>   UserId=<user>   Timeout=<seconds, 60>
// Allocate connects and names the transaction program and the user; the
// partner answers with one return code byte (0, or 53 "TP name not
// recognised", 54 "program not available" ...). Then records travel as
// frames of a type byte ('D' data, 'T' the turn to send, 'E' a program
// error), a 32-bit little-endian length and the bytes.
//
// Receiving: a receive gives the next bytes of the current record, up to
// the length asked for, with what-received APPC_WR_DATA; one with room
// after the record's end gives APPC_WR_DATA_COMPLETE, and the partner's
// turn gives APPC_WR_SEND. ReceiveImmediate answers APPC_UNSUCCESSFUL while
// nothing whole has come; ReceiveAndWait waits, at most the Timeout of
// [Default], then answers APPC_RESOURCE_FAILURE_NO_RETRY.
#pragma once

#include <windows.h>

inline constexpr USHORT APPC_OK = 0;
inline constexpr USHORT APPC_DEALLOC_NORMAL = 1;
inline constexpr USHORT APPC_PROGRAM_ERROR_PURGING = 4;
inline constexpr USHORT APPC_RESOURCE_FAILURE_NO_RETRY = 6;
inline constexpr USHORT APPC_UNSUCCESSFUL = 7;
inline constexpr USHORT APPC_PARM_CHECK_INVALID_CONVERSATION_ID = 21;
inline constexpr USHORT APPC_STATE_CHECK_NOT_IN_RECEIVE = 41;
inline constexpr USHORT APPC_ALLOCATE_ERROR_NO_RETRY = 50;
inline constexpr USHORT APPC_ALLOCATE_ERROR_TP_NOT_RECOGNISED = 53;
inline constexpr USHORT APPC_ALLOCATE_ERROR_PROGRAM_NOT_AVAILABLE = 54;
inline constexpr USHORT APPC_INVALID_LU_NAME = 81;

inline constexpr UCHAR APPC_WR_DATA_COMPLETE = 0;
inline constexpr UCHAR APPC_WR_SEND = 1;
inline constexpr UCHAR APPC_WR_DATA = 2;

extern "C" {
typedef USHORT(WINAPI* EHNAPPC_AllocateFn)(HWND hWnd, ULONG ulBufferSize, USHORT usConversationType, USHORT usSyncLevel,
                                           const char* pszPartner, const char* pszTpName, USHORT usPipLength,
                                           const char* pPip, ULONG* pulConversationId);
typedef USHORT(WINAPI* EHNAPPC_DeallocateFn)(HWND hWnd, ULONG ulConversationId, USHORT usType);
typedef USHORT(WINAPI* EHNAPPC_PrepareToReceiveFn)(HWND hWnd, ULONG ulConversationId);
typedef USHORT(WINAPI* EHNAPPC_ReceiveFn)(HWND hWnd, ULONG ulConversationId, USHORT usFillType, USHORT usMaxLength,
                                          char* pBuffer, UCHAR* pbWhatReceived, UCHAR* pbRequestToSend,
                                          USHORT* pusReceivedLength);
typedef USHORT(WINAPI* EHNAPPC_SendDataFn)(HWND hWnd, ULONG ulConversationId, USHORT usLength, const char* pBuffer,
                                           UCHAR* pbRequestToSend);
typedef USHORT(WINAPI* EHNAPPC_FlushFn)(HWND hWnd, ULONG ulConversationId);
typedef USHORT(WINAPI* EHNAPPC_GetDefaultSystemFn)(HWND hWnd, char* pszSystem);                    // 9 bytes
typedef USHORT(WINAPI* EHNAPPC_QueryUserIdFn)(HWND hWnd, const char* pszSystem, char* pszUserId);  // 11 bytes
}
