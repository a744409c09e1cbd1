// The remote side of large objects: the piece calls of a network state
// over a conversation (registered as the factory KyGetLobRemoteCalls
// asks), and the answering end of a call that a peer's conversation
// carried.
//
// A piece call is a raw buffer call of the built-in's name: the piece
// record (KyRPCStream: piece size, length, the bytes in a slot of the piece
// size) goes out as the call's data and the peer's piece record comes back
// in its place, framed as every call of the conversation's platform.
#pragma once

// The answering end: the data becomes the thread's remote-call buffer for
// the call, the call manager runs the named function without a caller (a
// built-in for a name that begins with "*"), and the reply is left in the
// same buffer. 1 when the call succeeded; the thread's own buffer, if it
// had one, is restored.
int KyAnswerRemoteCall(const char* pszName, char* pBuffer, int iLength);
