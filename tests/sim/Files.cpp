#include "sim/Files.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/Platform.h"
#include "sim/Machine.h"
#include "sim/Pipes.h"

namespace sim {
namespace {

// The path of an entry of the sets and maps that hold paths, and the entry under a new path.
const std::string& KeyOf(const std::string& key) { return key; }
template <typename Value>
const std::string& KeyOf(const std::pair<const std::string, Value>& entry) {
    return entry.first;
}
std::string Renamed(const std::string&, const std::string& path) { return path; }
template <typename Value>
std::pair<const std::string, Value> Renamed(std::pair<const std::string, Value>& entry, const std::string& path) {
    return {path, std::move(entry.second)};
}

struct FileObject : HandleObject {
    std::string key;
    DWORD access = 0;
    DWORD shareMode = 0;
    size_t readPosition = 0;
};

struct SearchObject : HandleObject {
    std::vector<std::pair<std::string, DWORD>> entries;  // name and attributes
    size_t next = 0;
};

bool Matches(const char* pattern, const char* name) {
    if (*pattern == '\0') return *name == '\0';
    if (*pattern == '*') return Matches(pattern + 1, name) || (*name != '\0' && Matches(pattern, name + 1));
    return *pattern == *name && Matches(pattern + 1, name + 1);
}

HRESULT KAPI SHGetFolderPathAEntry(HWND owner, int folder, HANDLE token, DWORD flags, char* path) {
    return Machine::Current().files.SHGetFolderPathA(owner, folder, token, flags, path);
}

constexpr char kShellPath[] = "C:\\WINDOWS\\system32\\shell32.dll";
constexpr char kCommonAppData[] = "C:\\ProgramData";
constexpr HRESULT kInvalidArgument = static_cast<HRESULT>(0x80070057);

bool FillFound(SearchObject& search, WIN32_FIND_DATAA* found) {
    if (search.next >= search.entries.size()) {
        platform::Handles().SetLastError(ERROR_NO_MORE_FILES);
        return false;
    }
    const auto& entry = search.entries[search.next++];
    *found = WIN32_FIND_DATAA{};
    found->dwFileAttributes = entry.second;
    std::snprintf(found->cFileName, sizeof found->cFileName, "%s", entry.first.c_str());
    return true;
}

}  // namespace

const std::vector<BYTE> Files::kUserSid = {1, 5, 0, 0, 0, 0, 0, 5, 21, 0, 0, 0, 1, 0, 0, 0,
                                           2, 0, 0, 0, 3, 0, 0, 0, 0xe9, 3, 0, 0};  // S-1-5-21-1-2-3-1001
const std::vector<BYTE> Files::kSystemSid = {1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0};
const std::vector<BYTE> Files::kAdministratorsSid = {1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 2, 0, 0};
const std::vector<BYTE> Files::kUsersSid = {1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x21, 2, 0, 0};

Files::Files(Machine& machine) : machine_(machine) {
    now_ = SYSTEMTIME{2024, 1, 5, 5, 9, 3, 7, 0};
    AddDirectory(kCommonAppData);
    security_[Key(kCommonAppData)].owner = kSystemSid;
    machine.modules.AddModule(kShellPath);
    machine.modules.Export(kShellPath, "SHGetFolderPathA", ProcCast<FARPROC>(&SHGetFolderPathAEntry));
    platform::Current().files = this;
}

Files::~Files() { platform::Current().files = nullptr; }

std::string Files::Key(const std::string& path) {
    std::string key = path;
    std::replace(key.begin(), key.end(), '/', '\\');
    std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return std::tolower(c); });
    while (key.size() > 1 && key.back() == '\\') key.pop_back();
    return key;
}

bool Files::ParentExists(const std::string& key) const {
    size_t slash = key.rfind('\\');
    if (slash == std::string::npos) return true;
    std::string parent = key.substr(0, slash);
    if (parent.empty() || parent.back() == ':') return true;
    return directories_.count(parent) != 0;
}

void Files::AddDirectory(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string key = Key(path);
    for (size_t slash = key.find('\\'); slash != std::string::npos; slash = key.find('\\', slash + 1)) {
        std::string prefix = key.substr(0, slash);
        if (!prefix.empty() && prefix.back() != ':') directories_.insert(prefix);
    }
    directories_.insert(key);
    Secure(key, nullptr);
}

void Files::WriteFile(const std::string& path, const std::string& bytes) {
    std::lock_guard<std::mutex> lock(mutex_);
    files_[Key(path)] = bytes;
    Secure(Key(path), nullptr);
}

void Files::Secure(const std::string& key, const SECURITY_ATTRIBUTES* attributes) {
    if (security_.count(key) && attributes == nullptr) return;
    Security& security = security_[key];
    security = Security{kUserSid, {}, 0};
    const auto* descriptor =
        attributes ? static_cast<const SECURITY_DESCRIPTOR*>(attributes->lpSecurityDescriptor) : nullptr;
    if (descriptor == nullptr) return;
    security.control = descriptor->Control;
    if (descriptor->Owner) {
        const BYTE* owner = static_cast<const BYTE*>(descriptor->Owner);
        security.owner.assign(owner, owner + 8 + 4 * owner[1]);
    }
    if (descriptor->Dacl == nullptr) return;
    const BYTE* dacl = static_cast<const BYTE*>(descriptor->Dacl);
    const BYTE* ace = dacl + 8;
    for (int count = dacl[4] | (dacl[5] << 8); count > 0; --count) {
        Ace entry;
        entry.flags = ace[1];
        std::memcpy(&entry.mask, ace + 4, sizeof entry.mask);
        entry.sid.assign(ace + 8, ace + 8 + 8 + 4 * ace[9]);
        security.dacl.push_back(entry);
        ace += ace[2] | (ace[3] << 8);
    }
}

DWORD Files::AttributesOf(const std::string& key) const {
    DWORD attributes = directories_.count(key)  ? FILE_ATTRIBUTE_DIRECTORY
                       : files_.count(key)      ? FILE_ATTRIBUTE_NORMAL
                                                : INVALID_FILE_ATTRIBUTES;
    if (attributes != INVALID_FILE_ATTRIBUTES && links_.count(key)) attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
    return attributes;
}

Files::Security Files::SecurityOf(const std::string& path) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = security_.find(Key(path));
    return it == security_.end() ? Security{} : it->second;
}

void Files::SetOwner(const std::string& path, const std::vector<BYTE>& sid) {
    std::lock_guard<std::mutex> lock(mutex_);
    security_[Key(path)].owner = sid;
}

void Files::MakeLink(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    links_.insert(Key(path));
}

void Files::SetDacl(const std::string& path, const std::vector<Ace>& dacl, WORD control) {
    std::lock_guard<std::mutex> lock(mutex_);
    Security& security = security_[Key(path)];
    security.dacl = dacl;
    security.control = control;
}

bool Files::SecurityOf(HANDLE file, Security& security) const {
    auto object = machine_.handles.Get<FileObject>(file);
    if (!object) return false;
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = security_.find(object->key);
    if (it == security_.end()) return false;
    security = it->second;
    return true;
}

HRESULT Files::SHGetFolderPathA(HWND, int folder, HANDLE, DWORD, char* path) {
    if (folder != CSIDL_COMMON_APPDATA) return kInvalidArgument;
    std::snprintf(path, MAX_PATH, "%s", kCommonAppData);
    return S_OK;
}

BOOL Files::GetFileInformationByHandle(HANDLE file, BY_HANDLE_FILE_INFORMATION* information) {
    auto object = machine_.handles.Get<FileObject>(file);
    if (!object) {
        platform::Handles().SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    *information = BY_HANDLE_FILE_INFORMATION{};
    information->dwFileAttributes = AttributesOf(object->key);
    information->nNumberOfLinks = 1;
    return information->dwFileAttributes != INVALID_FILE_ATTRIBUTES;
}

bool Files::Exists(const std::string& path) const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string key = Key(path);
    return files_.count(key) != 0 || directories_.count(key) != 0;
}

bool Files::IsDirectory(const std::string& path) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return directories_.count(Key(path)) != 0;
}

std::string Files::Read(const std::string& path) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = files_.find(Key(path));
    return it == files_.end() ? std::string() : it->second;
}

bool Files::WriteToHandle(HANDLE file, const std::string& bytes) {
    if (auto pipeEnd = machine_.handles.Get<PipeWriteEnd>(file)) return pipeEnd->pipe->Write(bytes);
    auto object = machine_.handles.Get<FileObject>(file);
    if (!object) return false;
    std::lock_guard<std::mutex> lock(mutex_);
    files_[object->key] += bytes;
    return true;
}

void Files::DenyAccess(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    denied_.insert(Key(path));
}

void Files::SetLocalTime(const SYSTEMTIME& time) {
    std::lock_guard<std::mutex> lock(mutex_);
    now_ = time;
}

HANDLE Files::CreateFileA(const char* path, DWORD access, DWORD shareMode, SECURITY_ATTRIBUTES* attributes,
                          DWORD disposition, DWORD flags, HANDLE) {
    std::string key = Key(path ? path : "");
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const bool folder = directories_.count(key) != 0;
        if (disposition == CREATE_NEW && (folder || files_.count(key))) {
            platform::Handles().SetLastError(ERROR_FILE_EXISTS);
            return INVALID_HANDLE_VALUE;
        }
        const bool opensFolder = folder && (flags & FILE_FLAG_BACKUP_SEMANTICS) && disposition == OPEN_EXISTING;
        if (key.empty() || denied_.count(key) || (folder && !opensFolder) || !ParentExists(key)) {
            platform::Handles().SetLastError(ERROR_ACCESS_DENIED);
            return INVALID_HANDLE_VALUE;
        }
        bool exists = opensFolder || files_.count(key) != 0;
        if (disposition == OPEN_EXISTING && !exists) {
            platform::Handles().SetLastError(ERROR_FILE_NOT_FOUND);
            return INVALID_HANDLE_VALUE;
        }
        if (!exists) Secure(key, attributes);
        if (!opensFolder && (disposition == CREATE_ALWAYS || !exists)) files_[key].clear();
    }
    auto object = std::make_shared<FileObject>();
    object->key = key;
    object->access = access;
    object->shareMode = shareMode;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        opened_.erase(std::remove_if(opened_.begin(), opened_.end(), [](const auto& weak) { return weak.expired(); }),
                      opened_.end());
        opened_.push_back(object);
    }
    return machine_.handles.Add(object, attributes && attributes->bInheritHandle);
}

BOOL Files::CreatePipe(HANDLE* readEnd, HANDLE* writeEnd, SECURITY_ATTRIBUTES* attributes, DWORD size) {
    constexpr DWORD kDefaultPipeSize = 4096;
    auto pipe = std::make_shared<Pipe>(size ? size : kDefaultPipeSize);
    const bool inheritable = attributes && attributes->bInheritHandle;
    *readEnd = machine_.handles.Add(std::make_shared<PipeReadEnd>(pipe), inheritable);
    *writeEnd = machine_.handles.Add(std::make_shared<PipeWriteEnd>(pipe), inheritable);
    return TRUE;
}

BOOL Files::PeekNamedPipe(HANDLE pipe, void*, DWORD, DWORD* read, DWORD* available, DWORD*) {
    auto pipeEnd = machine_.handles.Get<PipeReadEnd>(pipe);
    if (!pipeEnd) {
        platform::Handles().SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    size_t waiting = 0;
    const bool open = pipeEnd->pipe->Peek(waiting);
    if (read) *read = 0;
    if (available) *available = static_cast<DWORD>(waiting);
    if (!open) platform::Handles().SetLastError(ERROR_BROKEN_PIPE);
    return open;
}

BOOL Files::ReadFile(HANDLE file, void* buffer, DWORD size, DWORD* read, OVERLAPPED*) {
    if (auto pipeEnd = machine_.handles.Get<PipeReadEnd>(file)) {
        size_t count = 0;
        const bool more = pipeEnd->pipe->Read(static_cast<char*>(buffer), size, count);
        if (read) *read = static_cast<DWORD>(count);
        if (!more) platform::Handles().SetLastError(ERROR_BROKEN_PIPE);
        return more;
    }
    auto object = machine_.handles.Get<FileObject>(file);
    if (!object) {
        platform::Handles().SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    const std::string& data = files_[object->key];
    const size_t available = object->readPosition < data.size() ? data.size() - object->readPosition : 0;
    const size_t count = std::min<size_t>(size, available);
    std::memcpy(buffer, data.data() + object->readPosition, count);
    object->readPosition += count;
    if (read) *read = static_cast<DWORD>(count);
    return TRUE;
}

BOOL Files::WriteFile(HANDLE file, const void* buffer, DWORD size, DWORD* written, OVERLAPPED*) {
    auto object = machine_.handles.Get<FileObject>(file);
    if (!object || !(object->access & FILE_APPEND_DATA)) {
        platform::Handles().SetLastError(object ? ERROR_ACCESS_DENIED : ERROR_INVALID_HANDLE);
        return FALSE;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    files_[object->key].append(static_cast<const char*>(buffer), size);
    if (written) *written = size;
    return TRUE;
}

bool Files::HeldAgainstChange(const std::string& path) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const std::string key = Key(path);
    for (const auto& weak : opened_) {
        auto object = std::static_pointer_cast<FileObject>(weak.lock());
        if (object && object->key == key && (object->shareMode & (FILE_SHARE_WRITE | FILE_SHARE_DELETE)) == 0) {
            return true;
        }
    }
    return false;
}

BOOL Files::DeleteFileA(const char* path) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string key = Key(path ? path : "");
    if (denied_.count(key) || files_.erase(key) == 0) {
        platform::Handles().SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    security_.erase(key);
    links_.erase(key);
    return TRUE;
}

DWORD Files::GetFileAttributesA(const char* path) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string key = Key(path ? path : "");
    const DWORD attributes = AttributesOf(key);
    if (attributes == INVALID_FILE_ATTRIBUTES) platform::Handles().SetLastError(ERROR_FILE_NOT_FOUND);
    return attributes;
}

BOOL Files::CreateDirectoryA(const char* path, SECURITY_ATTRIBUTES* attributes) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string key = Key(path ? path : "");
    if (key.empty() || directories_.count(key) || files_.count(key)) {
        platform::Handles().SetLastError(ERROR_ALREADY_EXISTS);
        return FALSE;
    }
    if (!ParentExists(key)) {
        platform::Handles().SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    directories_.insert(key);
    Secure(key, attributes);
    return TRUE;
}

BOOL Files::MoveFileA(const char* existingPath, const char* newPath) {
    std::lock_guard<std::mutex> lock(mutex_);
    const std::string from = Key(existingPath ? existingPath : "");
    const std::string to = Key(newPath ? newPath : "");
    const bool folder = directories_.count(from) != 0;
    if ((!folder && files_.count(from) == 0) || denied_.count(from)) {
        platform::Handles().SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    if (files_.count(to) || directories_.count(to) || !ParentExists(to)) {
        platform::Handles().SetLastError(files_.count(to) || directories_.count(to) ? ERROR_ALREADY_EXISTS
                                                                                   : ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    // The name and every path below it.
    auto renamed = [&](const std::string& key, std::string& moved) {
        if (key != from && key.compare(0, from.size() + 1, from + "\\") != 0) return false;
        moved = to + key.substr(from.size());
        return true;
    };
    auto move = [&](auto& container) {
        std::remove_reference_t<decltype(container)> kept;
        for (auto& entry : container) {
            std::string moved;
            if (renamed(KeyOf(entry), moved)) {
                kept.insert(Renamed(entry, moved));
            } else {
                kept.insert(std::move(entry));
            }
        }
        container = std::move(kept);
    };
    move(files_);
    move(directories_);
    move(security_);
    move(links_);
    return TRUE;
}

HANDLE Files::FindFirstFileA(const char* pattern, WIN32_FIND_DATAA* found) {
    auto search = std::make_shared<SearchObject>();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const std::string key = Key(pattern ? pattern : "");
        const size_t slash = key.rfind('\\');
        const std::string folder = slash == std::string::npos ? "" : key.substr(0, slash + 1);
        const std::string namePattern = key.substr(folder.size());
        auto collect = [&](const std::string& path, DWORD attributes) {
            if (path.size() <= folder.size() || path.compare(0, folder.size(), folder) != 0) return;
            const std::string name = path.substr(folder.size());
            if (name.find('\\') == std::string::npos && Matches(namePattern.c_str(), name.c_str())) {
                search->entries.emplace_back(name, attributes);
            }
        };
        for (const auto& file : files_) collect(file.first, FILE_ATTRIBUTE_NORMAL);
        for (const std::string& directory : directories_) collect(directory, FILE_ATTRIBUTE_DIRECTORY);
    }
    if (!FillFound(*search, found)) {
        platform::Handles().SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    return machine_.handles.Add(search);
}

BOOL Files::FindNextFileA(HANDLE handle, WIN32_FIND_DATAA* found) {
    auto search = machine_.handles.Get<SearchObject>(handle);
    if (!search) {
        platform::Handles().SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return FillFound(*search, found) ? TRUE : FALSE;
}

BOOL Files::FindClose(HANDLE handle) {
    if (!machine_.handles.Get<SearchObject>(handle)) return FALSE;
    return machine_.handles.CloseHandle(handle);
}

void Files::GetLocalTime(SYSTEMTIME* time) {
    std::lock_guard<std::mutex> lock(mutex_);
    *time = now_;
}

CRTFILE Files::fopen(const char* path, const char* mode) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string key = Key(path ? path : "");
    std::string flags = mode ? mode : "";
    if (key.empty() || flags.empty() || denied_.count(key) || directories_.count(key) || !ParentExists(key)) {
        return nullptr;
    }
    auto stream = std::make_unique<Stream>();
    stream->key = key;
    stream->text = flags.find('b') == std::string::npos;
    switch (flags[0]) {
    case 'r':
        if (!files_.count(key)) return nullptr;
        stream->reading = true;
        break;
    case 'w':
        files_[key].clear();
        break;
    case 'a':
        files_[key];
        break;
    default:
        return nullptr;
    }
    Stream* raw = stream.get();
    streams_[raw] = std::move(stream);
    return raw;
}

int Files::fputs(const char* text, CRTFILE handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = streams_.find(static_cast<Stream*>(handle));
    if (it == streams_.end() || it->second->reading || text == nullptr) return -1;
    std::string& data = files_[it->second->key];
    for (const char* p = text; *p; ++p) {
        if (*p == '\n' && it->second->text) data += '\r';
        data += *p;
    }
    return 0;
}

// Called with the lock held: the next byte of a reading stream (text mode joins CR LF), false at its end.
bool Files::NextByte(Stream& stream, char& c) {
    const std::string& data = files_[stream.key];
    if (stream.position >= data.size()) return false;
    c = data[stream.position++];
    if (stream.text && c == '\r' && stream.position < data.size() && data[stream.position] == '\n') {
        c = data[stream.position++];
    }
    return true;
}

char* Files::fgets(char* buffer, int size, CRTFILE handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = streams_.find(static_cast<Stream*>(handle));
    if (it == streams_.end() || !it->second->reading || size <= 0) return nullptr;
    int length = 0;
    char c = 0;
    while (length < size - 1 && NextByte(*it->second, c)) {
        buffer[length++] = c;
        if (c == '\n') break;
    }
    if (length == 0) return nullptr;
    buffer[length] = '\0';
    return buffer;
}

size_t Files::fread(void* buffer, size_t size, size_t count, CRTFILE handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = streams_.find(static_cast<Stream*>(handle));
    if (it == streams_.end() || !it->second->reading || size == 0) return 0;
    char* bytes = static_cast<char*>(buffer);
    size_t length = 0;
    char c = 0;
    while (length < size * count && NextByte(*it->second, c)) bytes[length++] = c;
    return length / size;
}

int Files::fclose(CRTFILE handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    return streams_.erase(static_cast<Stream*>(handle)) ? 0 : -1;
}

size_t Files::OpenStreams() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return streams_.size();
}

}  // namespace sim
