#include "CitP_Factory.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "Port_Env.h"

namespace {

constexpr const char* PATH_VARIABLE = "GANTREL_COMPONENT_PATH";

// The libraries loaded so far, in load order. Handles are never closed: objects a
// library made may still be alive anywhere in the process.
class Registry {
public:
    bool Contains(const std::string& name) const
    {
        std::lock_guard<std::mutex> lock(mutex);
        return Known(name);
    }

    // Two threads may have opened the same library at once; the first to get here counts.
    void Add(const std::string& name, CitP_CreateInstanceFunction create)
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!Known(name))
            libraries.push_back(Library{name, create});
    }

    std::vector<CitP_CreateInstanceFunction> EntryPoints() const
    {
        std::lock_guard<std::mutex> lock(mutex);
        std::vector<CitP_CreateInstanceFunction> entries;
        entries.reserve(libraries.size());
        for (const Library& library : libraries)
            entries.push_back(library.create);
        return entries;
    }

private:
    struct Library {
        std::string name;
        CitP_CreateInstanceFunction create;
    };

    bool Known(const std::string& name) const
    {
        return std::any_of(libraries.begin(), libraries.end(),
                           [&](const Library& library) { return library.name == name; });
    }

    mutable std::mutex mutex;
    std::vector<Library> libraries;
};

// Never destroyed: a thread may still create components while the process exits.
Registry& registry()
{
    static Registry* instance = new Registry;
    return *instance;
}

thread_local Port::String lastError;

std::string withoutTrailingSlashes(std::string dir)
{
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    return dir;
}

std::string directoryOfThisLibrary()
{
    Dl_info info{};
    void* address = reinterpret_cast<void*>(&CitP::Factory::ComponentDirectory);
    if (dladdr(address, &info) == 0 || info.dli_fname == nullptr)
        return ".";
    const std::string file = info.dli_fname;
    const std::size_t slash = file.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : file.substr(0, slash);
}

std::string libraryFile(const std::string& name)
{
    const std::string dir = CitP::Factory::ComponentDirectory().str();
    return (dir == "/" ? dir : dir + "/") + "lib" + name + ".so";
}

using ElfHeader = ElfW(Ehdr);
using ElfSegment = ElfW(Phdr);

bool readAt(int fd, void* buffer, std::size_t size, std::uint64_t offset)
{
    return pread(fd, buffer, size, static_cast<off_t>(offset)) == static_cast<ssize_t>(size);
}

bool isNativeElf(const ElfHeader& header)
{
    const unsigned char nativeClass = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;
    return std::memcmp(header.e_ident, ELFMAG, SELFMAG) == 0 &&
           header.e_ident[EI_CLASS] == nativeClass && header.e_phentsize == sizeof(ElfSegment);
}

bool loadSegmentsWithin(int fd)
{
    struct stat info;
    ElfHeader header;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || !readAt(fd, &header, sizeof header, 0) ||
        !isNativeElf(header))
        return true;
    const auto size = static_cast<std::uint64_t>(info.st_size);
    for (unsigned i = 0; i < header.e_phnum; ++i) {
        ElfSegment segment;
        if (!readAt(fd, &segment, sizeof segment, header.e_phoff + i * sizeof segment))
            return false;
        if (segment.p_type == PT_LOAD &&
            (segment.p_offset > size || segment.p_filesz > size - segment.p_offset))
            return false;
    }
    return true;
}

// dlopen maps a library without comparing its segments with the file's size, so a
// truncated library (an interrupted copy) would kill the process with SIGBUS. Such a file
// is refused here; whatever is not a native ELF file is left to dlopen to judge.
bool isTruncated(const std::string& file)
{
    const int fd = open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool whole = loadSegmentsWithin(fd);
    close(fd);
    return !whole;
}

// The entry point of the library file, or null with the reason in reason.
CitP_CreateInstanceFunction openLibrary(const std::string& file, std::string& reason)
{
    if (isTruncated(file)) {
        reason = file + ": truncated library, a loadable segment ends past the end of the file";
        return nullptr;
    }
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* text = dlerror();
        reason = text != nullptr ? text : "cannot load " + file;
        return nullptr;
    }
    void* symbol = dlsym(handle, CITP_CREATE_INSTANCE_SYMBOL);
    if (symbol == nullptr) {
        reason = std::string("no entry point ") + CITP_CREATE_INSTANCE_SYMBOL + " in " + file;
        return nullptr;
    }
    return reinterpret_cast<CitP_CreateInstanceFunction>(symbol);
}

}  // namespace

namespace CitP {

// The library is opened outside the registry lock, so that a library whose start-up
// code uses the factory cannot deadlock.
unsigned Factory::LoadLibraryFactory(const Port::String& libraryName)
{
    const std::string& name = libraryName.str();
    if (!registry().Contains(name)) {
        std::string reason;
        CitP_CreateInstanceFunction create = openLibrary(libraryFile(name), reason);
        if (create == nullptr) {
            lastError = reason;
            return 1;
        }
        registry().Add(name, create);
    }
    lastError = Port::String();
    return 0;
}

// Entry points are called outside the lock: a component may create other components.
Ref<Interface> Factory::CreateInstanceRef(const Port::String& classId)
{
    for (CitP_CreateInstanceFunction create : registry().EntryPoints()) {
        if (Interface* object = create(classId.c_str()))
            return Ref<Interface>::Adopt(object);
    }
    return Ref<Interface>();
}

Port::String Factory::ComponentDirectory()
{
    const Port::String configured = Port_Env::GetVariable(PATH_VARIABLE);
    if (!configured.IsEmpty())
        return withoutTrailingSlashes(configured.str());
    return directoryOfThisLibrary();
}

Port::String Factory::LastError()
{
    return lastError;
}

}  // namespace CitP
