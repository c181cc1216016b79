// A first-in first-out list of strings shared between threads: every operation holds the list's lock.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/CollectionTemplates.h"
#include "platform/kernel/CriticalSection.h"

class CThBufferList : public CList<CString, const CString&> {
public:
    CThBufferList();
    ~CThBufferList() override;
    CThBufferList(const CThBufferList&) = delete;
    CThBufferList& operator=(const CThBufferList&) = delete;

    void AddTail(const CString& text);
    // Appends, first dropping the oldest strings so that at most `cap` remain; answers how many went.
    INT_PTR AddTailDroppingOldest(const CString& text, INT_PTR cap);
    // The oldest string, or "" when the list is empty.
    CString RemoveHead();
    BOOL IsEmpty();
    INT_PTR GetCount();
    void RemoveAll();
    // Each string appended gets the next number from 0: how many were ever appended, and the number of
    // the oldest string still held (equal to the first when the list is empty).
    ULONGLONG AppendedCount();
    ULONGLONG HeadNumber();

private:
    using Base = CList<CString, const CString&>;
    CRITICAL_SECTION m_lock;
    ULONGLONG m_appended = 0;
    ULONGLONG m_taken = 0;
};

// Received messages, from the receive thread to the GUI thread.
extern CThBufferList g_receiveList;
// Framed commands, from the GUI thread to the transmit thread.
extern CThBufferList g_transmitList;
// Commands the transmit list holds at most: a receiver that takes no bytes (held by handshake) must not
// make it grow without end.
constexpr INT_PTR kTransmitListCap = 128;
