// Loads untrusted bytes as an archive: first the object graph the archive tests store (a node, two strings,
// an object), then a script of reads chosen by selector bytes, until the data runs out. The same input goes
// through a memory file attached to it (length known) and through a file that cannot tell its length, so
// both the up-front checks and the piecewise reads are exercised. Every failure must be a framework
// exception; whatever a failed load created is freed afterwards.
#include "platform/base/CArchive.h"
#include "platform/base/CMemFile.h"
#include "tests/platform/base/ArchiveTestClasses.h"

#include <cstddef>
#include <cstdint>

using archivetest::CArcLeaf;
using archivetest::CArcNode;
using archivetest::Tracked;

namespace {
class UnsizedFile : public CMemFile {
public:
    UnsizedFile(const uint8_t* data, size_t size) {
        Write(data, static_cast<UINT>(size));
        SeekToBegin();
    }
    ULONGLONG GetLength() const override { AfxThrowNotSupportedException(); }
};

void ReadScript(CArchive& ar) {
    CObject* object = nullptr;
    CString text;
    ar >> object >> text >> text >> object;
    for (;;) {
        BYTE op = 0;
        ar >> op;
        switch (op % 8) {
        case 0:
            ar >> object;
            break;
        case 1:
            ar.ReadObject(RUNTIME_CLASS(CArcLeaf));
            break;
        case 2:
            ar >> text;
            break;
        case 3:
            for (DWORD_PTR n = ar.ReadCount(); n > 0; --n) {
                WORD w;
                ar >> w;
            }
            break;
        case 4: {
            UINT schema = 0;
            DWORD tag = 0;
            ar.ReadClass(op & 0x80 ? RUNTIME_CLASS(CArcNode) : nullptr, &schema, &tag);
            break;
        }
        case 5:
            ar.ReadString(text);
            break;
        case 6: {
            TCHAR line[33];
            ar.ReadString(line, op & 0x80 ? static_cast<UINT>(-32) : 32u);
            break;
        }
        default: {
            BYTE raw[256];
            if (ar.Read(raw, op) < op) {
                return;
            }
            break;
        }
        }
    }
}

void Run(CFile& file) {
    try {
        CArchive ar(&file, CArchive::load);
        ReadScript(ar);
    } catch (CException* e) {
        e->Delete();
    }
    Tracked::DeleteAll();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) {
        return 0;
    }
    CMemFile attached(const_cast<BYTE*>(data), static_cast<UINT>(size));
    Run(attached);
    UnsizedFile unsized(data, size);
    Run(unsized);
    return 0;
}
