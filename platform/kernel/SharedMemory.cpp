#include "platform/kernel/SharedMemory.h"

#include "platform/kernel/KernelDetail.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <iterator>
#include <limits>
#include <mutex>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kernel_detail;

namespace {

// The original's allocation granularity; view offsets must be multiples of it.
constexpr std::uint64_t kGranularity = 64 * 1024;

class FileMappingObject : public KernelObject {
public:
    FileMappingObject(int fd, std::uint64_t size, bool writable, std::string shmName, pid_t creator)
        : fd_(fd), size_(size), writable_(writable), shmName_(std::move(shmName)), creator_(creator) {}

    ~FileMappingObject() override {
        close(fd_);
        // A forked child holds copies of its parent's objects; only the creating process removes the name.
        if (creator_ != 0 && creator_ == getpid()) {
            shm_unlink(shmName_.c_str());
            std::lock_guard lock(G().registry);
            G().createdShm.erase(shmName_);
        }
    }

    bool IsWaitable() const override { return false; }

    int Fd() const { return fd_; }
    std::uint64_t Size() const { return size_; }
    bool Writable() const { return writable_; }

private:
    const int fd_;
    const std::uint64_t size_;
    const bool writable_;
    const std::string shmName_;
    const pid_t creator_;
};

std::uint64_t Fnv1a(const void* data, std::size_t bytes, std::uint64_t hash = 0xcbf29ce484222325ull) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < bytes; ++i) {
        hash = (hash ^ p[i]) * 0x100000001b3ull;
    }
    return hash;
}

std::string Hex16(std::uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

void UnlinkCreatedBlocksAtExit() {
    std::lock_guard lock(G().registry);
    for (const std::string& name : G().createdShm) {
        shm_unlink(name.c_str());
    }
    G().createdShm.clear();
}

void EnsureExitCleanup() {
    static std::once_flag once;
    std::call_once(once, [] { std::atexit(&UnlinkCreatedBlocksAtExit); });
}

// Opens the block `shm`, creating it with `size` bytes when it does not exist. Runs under the registry lock.
std::shared_ptr<KernelObject> CreateOrOpenBlock(const std::string& shm, std::uint64_t size, bool writable,
                                                bool& existedBefore) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        int fd = shm_open(shm.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            if (ftruncate(fd, static_cast<off_t>(size)) != 0) {
                SetLastErrorFromErrno();
                close(fd);
                shm_unlink(shm.c_str());
                return nullptr;
            }
            G().createdShm.insert(shm);
            return std::make_shared<FileMappingObject>(fd, size, writable, shm, getpid());
        }
        if (errno != EEXIST) {
            SetLastErrorFromErrno();
            return nullptr;
        }
        fd = shm_open(shm.c_str(), O_RDWR | O_CLOEXEC, 0);
        if (fd < 0) {
            if (errno == ENOENT) {
                continue; // removed in between: try creating it again
            }
            SetLastErrorFromErrno();
            return nullptr;
        }
        struct stat info {};
        fstat(fd, &info);
        auto existing = static_cast<std::uint64_t>(info.st_size);
        if (existing == 0) {
            // Its creator has not sized it yet; it will size it the same way.
            if (ftruncate(fd, static_cast<off_t>(size)) == 0) {
                existing = size;
            }
        }
        existedBefore = true;
        return std::make_shared<FileMappingObject>(fd, existing, writable, shm, 0);
    }
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
}

std::shared_ptr<KernelObject> OpenBlock(const std::string& shm) {
    bool writable = true;
    int fd = shm_open(shm.c_str(), O_RDWR | O_CLOEXEC, 0);
    if (fd < 0 && errno == EACCES) {
        writable = false;
        fd = shm_open(shm.c_str(), O_RDONLY | O_CLOEXEC, 0);
    }
    if (fd < 0) {
        SetLastError(errno == ENOENT ? ERROR_FILE_NOT_FOUND : Win32ErrorFromErrno(errno));
        return nullptr;
    }
    struct stat info {};
    fstat(fd, &info);
    return std::make_shared<FileMappingObject>(fd, static_cast<std::uint64_t>(info.st_size), writable, shm,
                                               0);
}

} // namespace

std::string SharedMemoryObjectName(std::u16string_view name) {
    name = StripNamespacePrefix(name);
    std::string encoded;
    for (char16_t unit : name) {
        if ((unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z') ||
            (unit >= u'0' && unit <= u'9') || unit == u'.' || unit == u'-') {
            encoded.push_back(static_cast<char>(unit));
        } else {
            char escape[6];
            std::snprintf(escape, sizeof escape, "_%04x", static_cast<unsigned>(unit));
            encoded += escape;
        }
    }
    // Escapes are unambiguous, so distinct names give distinct objects; overly long ones keep a hash of
    // the whole name instead of their tail.
    if (encoded.size() > 160) {
        encoded = encoded.substr(0, 120) + "~" + Hex16(Fnv1a(name.data(), name.size() * sizeof(char16_t)));
    }
    const char* scope = std::getenv("DOLIVA_CONFIG_DIR");
    const std::string_view scopeText = scope != nullptr ? scope : "";
    return "/doliva-" + std::to_string(getuid()) + "-" + Hex16(Fnv1a(scopeText.data(), scopeText.size())) +
           "-" + encoded;
}

HANDLE CreateFileMappingW(HANDLE file, LPSECURITY_ATTRIBUTES, DWORD protect, DWORD maximumSizeHigh,
                          DWORD maximumSizeLow, LPCWSTR name) {
    if (file != INVALID_HANDLE_VALUE) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    const DWORD access = protect & 0xFF;
    if (access != PAGE_READONLY && access != PAGE_READWRITE && access != PAGE_WRITECOPY) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const bool writable = access == PAGE_READWRITE;
    const std::uint64_t size = (static_cast<std::uint64_t>(maximumSizeHigh) << 32) | maximumSizeLow;
    if (size == 0 || size > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::u16string key;
    if (!NameKey(name, key)) {
        return nullptr;
    }

    std::shared_ptr<KernelObject> object;
    bool existed = false;
    if (key.empty()) {
        const int fd = memfd_create("doliva-mapping", MFD_CLOEXEC);
        if (fd < 0) {
            SetLastErrorFromErrno();
            return nullptr;
        }
        if (ftruncate(fd, static_cast<off_t>(size)) != 0) {
            SetLastErrorFromErrno();
            close(fd);
            return nullptr;
        }
        object = std::make_shared<FileMappingObject>(fd, size, writable, std::string(), 0);
    } else {
        EnsureExitCleanup();
        const std::string shm = SharedMemoryObjectName(key);
        bool blockExisted = false;
        object = FindOrAddNamed(
            key, [&] { return CreateOrOpenBlock(shm, size, writable, blockExisted); }, existed);
        existed = existed || blockExisted;
        if (!object) {
            return nullptr;
        }
        if (!std::dynamic_pointer_cast<FileMappingObject>(object)) {
            SetLastError(ERROR_INVALID_HANDLE);
            return nullptr;
        }
    }
    HANDLE handle = RegisterKernelObject(std::move(object));
    if (handle != nullptr) {
        SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    }
    return handle;
}

HANDLE OpenFileMappingW(DWORD, BOOL, LPCWSTR name) {
    if (name == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::u16string key;
    if (!NameKey(name, key)) {
        return nullptr;
    }
    if (key.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    const std::string shm = SharedMemoryObjectName(key);
    bool existed = false;
    std::shared_ptr<KernelObject> object = FindOrAddNamed(
        key, [&] { return OpenBlock(shm); }, existed);
    if (!object) {
        return nullptr;
    }
    if (!std::dynamic_pointer_cast<FileMappingObject>(object)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return RegisterKernelObject(std::move(object));
}

LPVOID MapViewOfFile(HANDLE handle, DWORD desiredAccess, DWORD offsetHigh, DWORD offsetLow, SIZE_T bytes) {
    auto mapping = LookupKernelObjectAs<FileMappingObject>(handle);
    if (!mapping) {
        return nullptr;
    }
    const std::uint64_t offset = (static_cast<std::uint64_t>(offsetHigh) << 32) | offsetLow;
    if (offset % kGranularity != 0) {
        SetLastError(ERROR_MAPPED_ALIGNMENT);
        return nullptr;
    }
    const DWORD access = desiredAccess & ~DWORD{FILE_MAP_EXECUTE};
    const bool copy = access == FILE_MAP_COPY;
    const bool write = !copy && (access & FILE_MAP_WRITE) != 0;
    if (!copy && !write && (access & FILE_MAP_READ) == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (write && !mapping->Writable()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    if (offset >= mapping->Size() || bytes > mapping->Size() - offset) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    const std::size_t length = bytes != 0 ? bytes : static_cast<std::size_t>(mapping->Size() - offset);
    void* base = mmap(nullptr, length, (copy || write) ? PROT_READ | PROT_WRITE : PROT_READ,
                      copy ? MAP_PRIVATE : MAP_SHARED, mapping->Fd(), static_cast<off_t>(offset));
    if (base == MAP_FAILED) {
        SetLastErrorFromErrno();
        return nullptr;
    }
    View stale; // only if the program unmapped a view behind the layer's back; dropped after the lock
    {
        std::lock_guard lock(G().registry);
        View& slot = G().views[reinterpret_cast<std::uintptr_t>(base)];
        stale = std::move(slot);
        slot = View{std::move(mapping), length};
    }
    return base;
}

BOOL UnmapViewOfFile(LPCVOID baseAddress) {
    View view;
    {
        std::lock_guard lock(G().registry);
        auto it = G().views.find(reinterpret_cast<std::uintptr_t>(baseAddress));
        if (it == G().views.end()) {
            SetLastError(ERROR_INVALID_ADDRESS);
            return FALSE;
        }
        view = std::move(it->second);
        G().views.erase(it);
    }
    munmap(const_cast<void*>(baseAddress), view.length);
    return TRUE;
    // `view` drops its reference to the mapping here, outside the lock.
}

BOOL FlushViewOfFile(LPCVOID baseAddress, SIZE_T bytes) {
    const auto address = reinterpret_cast<std::uintptr_t>(baseAddress);
    std::uintptr_t start = 0;
    std::size_t length = 0;
    {
        std::lock_guard lock(G().registry);
        auto it = G().views.upper_bound(address);
        if (it == G().views.begin() || address >= std::prev(it)->first + std::prev(it)->second.length) {
            SetLastError(ERROR_INVALID_ADDRESS);
            return FALSE;
        }
        --it;
        const std::uintptr_t end = it->first + it->second.length;
        const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
        start = address / page * page;
        length = (bytes == 0 || address + bytes > end ? end : address + bytes) - start;
    }
    if (msync(reinterpret_cast<void*>(start), length, MS_SYNC) != 0) {
        SetLastErrorFromErrno();
        return FALSE;
    }
    return TRUE;
}
