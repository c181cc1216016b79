#include "receiver/CThBufferList.h"

namespace {

class Hold {
public:
    explicit Hold(CRITICAL_SECTION& section) : m_section(section) { EnterCriticalSection(&m_section); }
    ~Hold() { LeaveCriticalSection(&m_section); }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

private:
    CRITICAL_SECTION& m_section;
};

} // namespace

CThBufferList g_receiveList;
CThBufferList g_transmitList;

CThBufferList::CThBufferList() : Base(10) {
    InitializeCriticalSection(&m_lock);
}

CThBufferList::~CThBufferList() {
    DeleteCriticalSection(&m_lock);
    Base::RemoveAll();
}

void CThBufferList::AddTail(const CString& text) {
    Hold hold(m_lock);
    Base::AddTail(text);
    ++m_appended;
}

INT_PTR CThBufferList::AddTailDroppingOldest(const CString& text, INT_PTR cap) {
    Hold hold(m_lock);
    INT_PTR dropped = 0;
    while (Base::GetCount() >= cap && !Base::IsEmpty()) {
        Base::RemoveHead();
        ++dropped;
        ++m_taken;
    }
    Base::AddTail(text);
    ++m_appended;
    return dropped;
}

CString CThBufferList::RemoveHead() {
    Hold hold(m_lock);
    if (Base::IsEmpty()) {
        return CString();
    }
    ++m_taken;
    return Base::RemoveHead();
}

BOOL CThBufferList::IsEmpty() {
    Hold hold(m_lock);
    return Base::IsEmpty();
}

INT_PTR CThBufferList::GetCount() {
    Hold hold(m_lock);
    return Base::GetCount();
}

void CThBufferList::RemoveAll() {
    Hold hold(m_lock);
    Base::RemoveAll();
    m_taken = m_appended;
}

ULONGLONG CThBufferList::AppendedCount() {
    Hold hold(m_lock);
    return m_appended;
}

ULONGLONG CThBufferList::HeadNumber() {
    Hold hold(m_lock);
    return m_taken;
}
