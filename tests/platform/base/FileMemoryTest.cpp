#include "platform/base/CMemFile.h"
#include "platform/base/CSharedFile.h"
#include "platform/base/GlobalMemory.h"
#include "platform/base/LastError.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {
template <class F>
int FileCause(F&& f) {
    try {
        f();
    } catch (CFileException* e) {
        int cause = e->m_cause;
        e->Delete();
        return cause;
    }
    return -1;
}

std::string ReadAll(CFile& file) {
    std::string out(static_cast<size_t>(file.GetLength()), '\0');
    file.SeekToBegin();
    EXPECT_EQ(file.Read(out.data(), static_cast<UINT>(out.size())), out.size());
    return out;
}

// Records the sizes it is asked to allocate.
class RecordingMemFile : public CMemFile {
public:
    using CMemFile::CMemFile;
    std::vector<SIZE_T> sizes;

protected:
    BYTE* Alloc(SIZE_T bytes) override {
        sizes.push_back(bytes);
        return CMemFile::Alloc(bytes);
    }
    BYTE* Realloc(BYTE* buffer, SIZE_T bytes) override {
        sizes.push_back(bytes);
        return CMemFile::Realloc(buffer, bytes);
    }
};
} // namespace

TEST(MemFile, AttachedBufferIsUsedInPlace) {
    BYTE block[] = {'h', 'e', 'l', 'l', 'o'};
    CMemFile file(block, sizeof block);
    EXPECT_EQ(file.GetBufferPtr(), block) << "attaching copies nothing";
    block[0] = 'j';
    char buf[8] = {};
    EXPECT_EQ(file.Read(buf, sizeof buf), 5u);
    EXPECT_EQ(std::string(buf, 5), "jello");
    file.Seek(1, CFile::begin);
    file.Write("E", 1);
    EXPECT_EQ(block[1], 'E');

    // A fixed buffer does not grow.
    file.Seek(4, CFile::begin);
    EXPECT_EQ(FileCause([&] { file.Write("xy", 2); }), CFileException::diskFull);
    EXPECT_EQ(file.GetLength(), 5u);
    EXPECT_EQ(file.Detach(), block);
    EXPECT_EQ(file.GetLength(), 0u);
}

TEST(MemFile, OwnedBufferGrowsInSteps) {
    RecordingMemFile file(100);
    for (int i = 0; i < 250; ++i) {
        char ch = static_cast<char>('a' + i % 26);
        file.Write(&ch, 1);
    }
    EXPECT_EQ(file.sizes, (std::vector<SIZE_T>{100, 200, 300}));
    EXPECT_EQ(file.GetLength(), 250u);
    file.Write(std::string(1000, 'z').data(), 1000);
    EXPECT_EQ(file.sizes.back(), 1300u);

    BYTE* taken = file.Detach();
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(taken[0], 'a');
    EXPECT_EQ(taken[1249], 'z');
    std::free(taken); // the caller owns a detached buffer
    EXPECT_EQ(file.GetLength(), 0u);
    file.Write("again", 5);
    EXPECT_EQ(ReadAll(file), "again");
}

TEST(MemFile, AttachedBufferWithGrowthStartsEmpty) {
    auto* block = static_cast<BYTE*>(std::malloc(4));
    CMemFile file;
    file.Attach(block, 4, 8);
    EXPECT_EQ(file.GetLength(), 0u);
    file.Write("0123456789", 10);
    EXPECT_EQ(ReadAll(file), "0123456789");
    std::free(file.Detach());
}

TEST(MemFile, GapsReadAsZerosAndBadSeeksThrow) {
    CMemFile file;
    file.Write("ab", 2);
    EXPECT_EQ(file.Seek(2, CFile::current), 4u);
    file.Write("c", 1);
    EXPECT_EQ(ReadAll(file), std::string("ab\0\0c", 5));
    file.SetLength(7);
    EXPECT_EQ(ReadAll(file), std::string("ab\0\0c\0\0", 7));
    file.Seek(6, CFile::begin);
    file.SetLength(3);
    EXPECT_EQ(file.GetPosition(), 3u);
    EXPECT_EQ(FileCause([&] { file.Seek(-4, CFile::end); }), CFileException::badSeek);
    EXPECT_EQ(file.GetPosition(), 3u);
    EXPECT_THROW(file.Duplicate(), CNotSupportedException*);
    EXPECT_THROW(file.LockRange(0, 1), CNotSupportedException*);
    CFileStatus status;
    EXPECT_TRUE(file.GetStatus(status));
    EXPECT_EQ(status.m_size, 3u);
}

TEST(SharedFile, DataRoundTripsThroughItsHandle) {
    std::string data;
    for (int i = 0; i < 5000; ++i) {
        data += static_cast<char>(i * 31);
    }
    HGLOBAL handle;
    {
        CSharedFile file;
        file.Write(data.data(), static_cast<UINT>(data.size()));
        handle = file.Detach();
        EXPECT_EQ(file.GetLength(), 0u);
    }
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(GlobalSize(handle), data.size()) << "the block is trimmed to the data";
    auto* p = static_cast<const char*>(GlobalLock(handle));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(std::string(p, data.size()), data);
    GlobalUnlock(handle);

    {
        CSharedFile file;
        file.SetHandle(handle, FALSE);
        EXPECT_EQ(ReadAll(file), data);
        file.SeekToEnd();
        EXPECT_EQ(FileCause([&] { file.Write("x", 1); }), CFileException::diskFull);
        EXPECT_EQ(file.Detach(), handle) << "detaching hands the block back untouched";
    }
    {
        CSharedFile file;
        file.SetHandle(handle); // may grow; the file now owns the block and frees it
        file.SeekToEnd();
        file.Write("tail", 4);
        EXPECT_EQ(file.GetLength(), data.size() + 4);
    }
}

TEST(GlobalMemory, FixedBlocksAreTheirOwnHandles) {
    HGLOBAL fixed = GlobalAlloc(GPTR, 16);
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(GlobalLock(fixed), fixed);
    EXPECT_EQ(GlobalHandle(fixed), fixed);
    EXPECT_EQ(std::memcmp(fixed, std::string(16, '\0').data(), 16), 0);
    EXPECT_EQ(GlobalFlags(fixed), 0u);
    EXPECT_EQ(GlobalReAlloc(fixed, 8, 0), fixed) << "shrinking stays in place";
    EXPECT_EQ(GlobalSize(fixed), 8u);
    EXPECT_EQ(GlobalReAlloc(fixed, 64, 0), nullptr) << "a fixed block cannot move unless allowed";
    std::memcpy(fixed, "12345678", 8);
    HGLOBAL moved = GlobalReAlloc(fixed, 64, GMEM_MOVEABLE | GMEM_ZEROINIT);
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(std::memcmp(moved, "12345678", 8), 0);
    EXPECT_EQ(static_cast<BYTE*>(moved)[63], 0);
    EXPECT_EQ(GlobalFree(moved), nullptr);
}

TEST(GlobalMemory, MoveableBlocksCountLocksAndKeepTheirHandle) {
    HGLOBAL block = GlobalAlloc(GHND, 4);
    ASSERT_NE(block, nullptr);
    auto* p = static_cast<BYTE*>(GlobalLock(block));
    ASSERT_NE(p, nullptr);
    EXPECT_NE(static_cast<void*>(p), block);
    EXPECT_EQ(p[3], 0);
    EXPECT_EQ(GlobalLock(block), p);
    EXPECT_EQ(GlobalFlags(block) & GMEM_LOCKCOUNT, 2u);
    EXPECT_EQ(GlobalHandle(p), block);
    EXPECT_TRUE(GlobalUnlock(block));
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));

    std::memcpy(p, "abcd", 4);
    EXPECT_EQ(GlobalReAlloc(block, 100000, GMEM_ZEROINIT), block);
    EXPECT_EQ(GlobalSize(block), 100000u);
    p = static_cast<BYTE*>(GlobalLock(block));
    EXPECT_EQ(std::memcmp(p, "abcd", 4), 0);
    EXPECT_EQ(p[99999], 0);
    EXPECT_EQ(GlobalHandle(p), block);
    GlobalUnlock(block);

    // Zero bytes: the handle stays, the data is discarded.
    EXPECT_EQ(GlobalReAlloc(block, 0, GMEM_MOVEABLE), block);
    EXPECT_EQ(GlobalLock(block), nullptr);
    EXPECT_TRUE(GlobalFlags(block) & GMEM_DISCARDED);
    EXPECT_EQ(GlobalFree(block), nullptr);

    HGLOBAL empty = GlobalAlloc(GMEM_MOVEABLE, 0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(GlobalLock(empty), nullptr);
    EXPECT_EQ(GlobalFree(empty), nullptr);
}

TEST(GlobalMemory, UnknownHandlesFail) {
    int local = 0;
    HGLOBAL bogus = &local;
    SetLastError(0);
    EXPECT_EQ(GlobalSize(bogus), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(GlobalLock(bogus), nullptr);
    EXPECT_EQ(GlobalFlags(bogus), GMEM_INVALID_HANDLE);
    EXPECT_EQ(GlobalFree(bogus), bogus);
    EXPECT_EQ(GlobalHandle(&local), nullptr);
    EXPECT_EQ(GlobalReAlloc(bogus, 8, GMEM_MOVEABLE), nullptr);
}
