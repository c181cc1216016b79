// What the grid library's tests share: the reset before each test, and archive helpers over memory.
#pragma once

#include "grid/GridLibraryState.h"
#include "platform/base/CArchive.h"
#include "platform/base/CMemFile.h"
#include "platform/base/Locale.h"
#include "platform/resources/Resources.h"
#include "tests/support/BeforeEachTest.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace gridtest {

using Bytes = std::vector<BYTE>;

inline Bytes Store(const std::function<void(CArchive&)>& write, bool singleByteStrings = false) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar.SetStringForm(singleByteStrings);
        write(ar);
        ar.Close();
    }
    Bytes out(static_cast<size_t>(file.GetLength()));
    file.SeekToBegin();
    file.Read(out.data(), static_cast<UINT>(out.size()));
    return out;
}

// Runs the reader over the bytes; true when it consumed every byte.
inline bool Load(const Bytes& bytes, const std::function<void(CArchive&)>& read) {
    CMemFile file(const_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    read(ar);
    BYTE extra = 0;
    return ar.Read(&extra, 1) == 0;
}

// The archive exception's cause, or -1 when the reader succeeds.
inline int LoadCause(const Bytes& bytes, const std::function<void(CArchive&)>& read) {
    try {
        Load(bytes, read);
    } catch (CArchiveException* e) {
        const int cause = e->m_cause;
        e->Delete();
        return cause;
    }
    return -1;
}

// Where two byte strings first differ, with the bytes around it, for failure messages.
inline std::string FirstDifference(const Bytes& a, const Bytes& b) {
    size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at]) {
        ++at;
    }
    std::string text = "sizes " + std::to_string(a.size()) + "/" + std::to_string(b.size()) +
                       ", first difference at " + std::to_string(at) + ":";
    char hex[4];
    for (const Bytes* bytes : {&a, &b}) {
        text += "\n ";
        for (size_t i = at > 8 ? at - 8 : 0; i < at + 24 && i < bytes->size(); ++i) {
            std::snprintf(hex, sizeof hex, " %02x", (*bytes)[i]);
            text += hex;
        }
    }
    return text;
}

// Every test starts with the library as before start-up, the platform's user locale unpinned and the grid's
// string table reachable.
inline const bool kResetInstalled = testsupport::BeforeEachTest([] {
    DolivaInstallResourceHooks();
    GridLibraryState::Instance().Reset();
    DolivaSetUserLocale(0);
});

} // namespace gridtest
