#include "KernelTestSupport.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool ShmExists(std::u16string_view name) {
    return access(("/dev/shm" + SharedMemoryObjectName(name)).c_str(), F_OK) == 0;
}

HANDLE CreateBlock(LPCWSTR name, DWORD size, DWORD protect = PAGE_READWRITE) {
    return CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, protect, 0, size, name);
}

} // namespace

TEST(SharedMemory, NamedBlockIsSharedByEveryMappingAndRemovedAfterItsLastUse) {
    SetLastError(ERROR_ACCESS_DENIED);
    HANDLE created = CreateBlock(u"Status", 100000);
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_TRUE(ShmExists(u"Status"));
    HANDLE again = CreateBlock(u"Global\\Status", 10); // its size is the existing block's
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    HANDLE opened = OpenFileMappingW(FILE_MAP_READ, FALSE, u"Status");
    ASSERT_NE(opened, nullptr);

    auto* writer = static_cast<unsigned char*>(MapViewOfFile(created, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    auto* reader = static_cast<const unsigned char*>(MapViewOfFile(opened, FILE_MAP_READ, 0, 0, 0));
    auto* tail = static_cast<const unsigned char*>(MapViewOfFile(again, FILE_MAP_READ, 0, 65536, 0));
    ASSERT_NE(writer, nullptr);
    ASSERT_NE(reader, nullptr);
    ASSERT_NE(tail, nullptr);
    EXPECT_NE(static_cast<const void*>(writer), static_cast<const void*>(reader));
    for (std::size_t i = 0; i < 100000; i += 997) {
        ASSERT_EQ(reader[i], 0) << i; // new blocks are zero-filled
    }
    std::memcpy(writer, "fix", 4);
    writer[99999] = 0x5A;
    EXPECT_STREQ(reinterpret_cast<const char*>(reader), "fix");
    EXPECT_EQ(tail[99999 - 65536], 0x5A);

    // A view keeps the block (and its name) after every handle is closed.
    for (HANDLE h : {created, again, opened}) {
        EXPECT_TRUE(CloseHandle(h));
    }
    EXPECT_TRUE(UnmapViewOfFile(writer));
    EXPECT_TRUE(UnmapViewOfFile(tail));
    HANDLE reopened = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, u"Status");
    ASSERT_NE(reopened, nullptr);
    CloseHandle(reopened);
    EXPECT_TRUE(ShmExists(u"Status"));
    EXPECT_TRUE(UnmapViewOfFile(reader));
    EXPECT_FALSE(ShmExists(u"Status"));
    EXPECT_EQ(OpenFileMappingW(FILE_MAP_READ, FALSE, u"Status"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(SharedMemory, AForkedChildSeesAndChangesTheBlockWithoutRemovingIt) {
    HANDLE block = CreateBlock(u"Shared between processes", 4096);
    ASSERT_NE(block, nullptr);
    auto* words = static_cast<volatile DWORD*>(MapViewOfFile(block, FILE_MAP_WRITE, 0, 0, 0));
    ASSERT_NE(words, nullptr);
    words[0] = 0x1234;

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The child resolves the name afresh through the system, as an unrelated process would.
        int status = 0;
        HANDLE opened = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, u"Shared between processes");
        HANDLE createdAgain = CreateBlock(u"Shared between processes", 4096);
        const bool existed = GetLastError() == static_cast<DWORD>(ERROR_ALREADY_EXISTS);
        auto* view =
            opened ? static_cast<volatile DWORD*>(MapViewOfFile(opened, FILE_MAP_WRITE, 0, 0, 0)) : nullptr;
        if (view == nullptr || createdAgain == nullptr || !existed) {
            status = 1;
        } else if (view[0] != 0x1234) {
            status = 2;
        } else {
            view[1] = 0x5678;
            UnmapViewOfFile(const_cast<DWORD*>(view));
        }
        CloseHandle(opened);
        CloseHandle(createdAgain);
        _exit(status);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(words[1], 0x5678u);
    EXPECT_TRUE(ShmExists(u"Shared between processes"));
    UnmapViewOfFile(const_cast<DWORD*>(words));
    CloseHandle(block);
    EXPECT_FALSE(ShmExists(u"Shared between processes"));
}

TEST(SharedMemory, UnnamedBlocksAreSharedBetweenViewsAndCopyViewsArePrivate) {
    HANDLE block = CreateBlock(nullptr, 8192);
    ASSERT_NE(block, nullptr);
    auto* a = static_cast<char*>(MapViewOfFile(block, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    auto* b = static_cast<char*>(MapViewOfFile(block, FILE_MAP_WRITE, 0, 0, 4096));
    auto* copy = static_cast<char*>(MapViewOfFile(block, FILE_MAP_COPY, 0, 0, 0));
    ASSERT_TRUE(a && b && copy);
    a[10] = 'x';
    EXPECT_EQ(b[10], 'x');
    copy[11] = 'y';
    EXPECT_EQ(a[11], 0);
    EXPECT_TRUE(FlushViewOfFile(a + 100, 10));
    for (char* view : {a, b, copy}) {
        EXPECT_TRUE(UnmapViewOfFile(view));
    }
    EXPECT_FALSE(UnmapViewOfFile(a));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_ADDRESS));
    CloseHandle(block);
}

TEST(SharedMemory, RefusesBadRequests) {
    HANDLE block = CreateBlock(u"Small", 4096);
    HANDLE readOnly = CreateBlock(u"ReadOnly", 4096, PAGE_READONLY);
    ASSERT_NE(block, nullptr);
    ASSERT_NE(readOnly, nullptr);
    struct ViewCase {
        HANDLE mapping;
        DWORD access;
        DWORD offset;
        SIZE_T bytes;
        DWORD error;
    };
    for (const ViewCase& c : {ViewCase{block, FILE_MAP_READ, 4096, 0, ERROR_MAPPED_ALIGNMENT},
                              ViewCase{block, FILE_MAP_READ, 65536, 0, ERROR_ACCESS_DENIED},
                              ViewCase{block, FILE_MAP_READ, 0, 4097, ERROR_ACCESS_DENIED},
                              ViewCase{readOnly, FILE_MAP_WRITE, 0, 0, ERROR_ACCESS_DENIED},
                              ViewCase{block, 0, 0, 0, ERROR_INVALID_PARAMETER},
                              ViewCase{nullptr, FILE_MAP_READ, 0, 0, ERROR_INVALID_HANDLE}}) {
        SetLastError(0);
        EXPECT_EQ(MapViewOfFile(c.mapping, c.access, 0, c.offset, c.bytes), nullptr)
            << c.access << " " << c.offset;
        EXPECT_EQ(GetLastError(), c.error) << c.access << " " << c.offset;
    }
    void* view = MapViewOfFile(readOnly, FILE_MAP_READ, 0, 0, 0);
    EXPECT_NE(view, nullptr);
    UnmapViewOfFile(view);

    EXPECT_EQ(CreateBlock(u"Empty", 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(CreateFileMappingW(block, nullptr, PAGE_READWRITE, 0, 4096, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, u"Taken");
    EXPECT_EQ(CreateBlock(u"Taken", 4096), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(OpenFileMappingW(FILE_MAP_READ, FALSE, u"Taken"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(ShmExists(u"Taken"));
    for (HANDLE h : {block, readOnly, event}) {
        CloseHandle(h);
    }
    EXPECT_FALSE(ShmExists(u"Small"));
    EXPECT_FALSE(ShmExists(u"ReadOnly"));
}

TEST(SharedMemory, ObjectNamesAreScopedByUserAndSettingsDirectory) {
    const std::string name = SharedMemoryObjectName(u"a b/c");
    EXPECT_EQ(name.rfind("/doliva-" + std::to_string(getuid()) + "-", 0), 0u) << name;
    EXPECT_EQ(name.find('/', 1), std::string::npos) << name;
    EXPECT_EQ(name, SharedMemoryObjectName(u"Local\\a b/c"));
    EXPECT_NE(name, SharedMemoryObjectName(u"a_b/c"));
    EXPECT_NE(name, SharedMemoryObjectName(u"a b_c"));
    EXPECT_LT(SharedMemoryObjectName(std::u16string(1000, u'x')).size(), 255u);

    const char* dir = std::getenv("DOLIVA_CONFIG_DIR");
    const std::string saved = dir ? dir : "";
    setenv("DOLIVA_CONFIG_DIR", (saved + "-other").c_str(), 1);
    const std::string elsewhere = SharedMemoryObjectName(u"a b/c");
    setenv("DOLIVA_CONFIG_DIR", saved.c_str(), 1);
    EXPECT_NE(name, elsewhere);
}
