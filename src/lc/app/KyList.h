// KyList and KyListNode: the run-time's one registry shape, a singly linked
// list of nodes named by a text, each carrying an untyped pointer to what
// it stands for. The per-thread registries (calls, locations, libraries,
// conversations, connections ...) derive from them.
//
// Lookup (Find, FindNode) ignores case; removal by name (Delete in the
// registries) matches the name exactly. Pop finds ignoring case and then
// removes exactly the node it found.
//
// Per-thread data: no locks.
#pragma once

#include "KyString.h"

class KyListNode {
 public:
  explicit KyListNode(const char* pszName);
  virtual ~KyListNode();

  KyString* GetName() { return &m_Name; }
  const KyString* GetName() const { return &m_Name; }
  KyListNode* GetNext() const { return m_pNext; }
  void SetNext(KyListNode* pNext) { m_pNext = pNext; }
  void* GetCurrent() const { return m_pCurrent; }
  void SetCurrent(void* pCurrent) { m_pCurrent = pCurrent; }

 private:
  KyListNode(const KyListNode&) = delete;
  KyListNode& operator=(const KyListNode&) = delete;

  KyString m_Name;               // no maximum length
  void* m_pCurrent = nullptr;    // not owned by the base node
  KyListNode* m_pNext = nullptr;
};

class KyList {
 public:
  KyList() = default;
  // Deletes every node (through its virtual destructor).
  virtual ~KyList();

  // Appends at the tail; the node's own next pointer is left as it is, so
  // the caller passes a node whose next is null. The list owns the node.
  virtual void Add(KyListNode* pNode);
  // The current pointer of the first node named pszName (ignoring case).
  virtual void* Find(const char* pszName);
  // The base class removes nothing, adds nothing: the registries that need
  // these override them.
  virtual void Delete(const char* pszName);
  virtual void Push(const char* pszName, void* pCurrent);
  virtual void Pop(const char* pszName);

  // The first node named pszName (ignoring case) from pStart itself, or
  // from the head when pStart is null.
  KyListNode* FindNode(const char* pszName, KyListNode* pStart);

  int GetCount() const { return m_iCount; }
  KyListNode* GetHead() const { return m_pHead; }

 protected:
  // Delete of the registries: unlinks and deletes the first node whose
  // name equals pszName exactly.
  void RemoveExact(const char* pszName);
  // Pop of the registries: finds ignoring case, then the list's own Delete
  // with the found node's exact name, which removes that very node (no
  // earlier node has that exact name, or it would have been found first).
  void PopFound(const char* pszName);

 private:
  KyList(const KyList&) = delete;
  KyList& operator=(const KyList&) = delete;

  int m_iCount = 0;
  KyListNode* m_pHead = nullptr;
};
