// The Win32 types, errors and rights that every area of the platform seam shares. Each
// area's own structures and constants are in its header beside its interface
// (KernelTypes.h, RegistryTypes.h, ServiceTypes.h, FileTypes.h, GdiTypes.h, UserTypes.h).
// The structures mirror the Windows layouts byte for byte; the win32 backend checks that
// with static assertions.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && defined(__i386__)
#define KAPI __attribute__((stdcall))
#else
#define KAPI
#endif

namespace win {

using BYTE = uint8_t;
using WORD = uint16_t;
#ifdef _WIN32
using DWORD = unsigned long;  // as in the Windows headers, so the backend passes pointers unchanged
using LONG = long;
#else
using DWORD = uint32_t;
using LONG = int32_t;
#endif
using BOOL = int;
using UINT = unsigned int;
using CHAR = char;
using DWORDLONG = uint64_t;
// Pointer-sized integers as the Windows headers spell them, so overrides match exactly.
#if defined(_WIN64)
using ULONG_PTR = unsigned long long;
using LONG_PTR = long long;
using INT_PTR = long long;
using UINT_PTR = unsigned long long;
#elif defined(_WIN32)
using ULONG_PTR = unsigned long;
using LONG_PTR = long;
using INT_PTR = int;
using UINT_PTR = unsigned int;
#else
using ULONG_PTR = uintptr_t;
using LONG_PTR = intptr_t;
using INT_PTR = intptr_t;
using UINT_PTR = uintptr_t;
#endif
using SIZE_T = ULONG_PTR;
using DWORD_PTR = ULONG_PTR;
using WPARAM = UINT_PTR;
using LPARAM = LONG_PTR;
using LRESULT = LONG_PTR;

using HANDLE = void*;
using HWND = void*;

using FARPROC = INT_PTR(KAPI*)();

// Converts between entry points of different signatures (GetProcAddress results).
template <typename To, typename From>
To ProcCast(From entry) {
    return reinterpret_cast<To>(reinterpret_cast<void*>(entry));
}

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;
inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1));
constexpr UINT MAX_PATH = 260;

inline constexpr WORD LOWORD(uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
inline constexpr WORD HIWORD(uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
inline constexpr DWORD MAKELONG(WORD lo, WORD hi) { return static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16); }

struct FILETIME { DWORD dwLowDateTime; DWORD dwHighDateTime; };
struct SECURITY_ATTRIBUTES { DWORD nLength; void* lpSecurityDescriptor; BOOL bInheritHandle; };

// Errors, as every area's calls leave them
constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr DWORD ERROR_NO_MORE_FILES = 18;
constexpr DWORD ERROR_FILE_EXISTS = 80;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_BROKEN_PIPE = 109;
constexpr DWORD ERROR_CALL_NOT_IMPLEMENTED = 120;
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_BAD_PATHNAME = 161;
constexpr DWORD ERROR_ALREADY_EXISTS = 183;
constexpr DWORD ERROR_MORE_DATA = 234;
constexpr DWORD ERROR_NO_MORE_ITEMS = 259;
constexpr DWORD ERROR_NOT_OWNER = 288;
constexpr DWORD ERROR_SERVICE_DOES_NOT_EXIST = 1060;
constexpr DWORD ERROR_SERVICE_NOT_ACTIVE = 1062;
constexpr DWORD ERROR_NONE_MAPPED = 1332;
constexpr DWORD ERROR_ALLOTTED_SPACE_EXCEEDED = 1344;
constexpr DWORD ERROR_INVALID_WINDOW_HANDLE = 1400;

// Access rights that every kind of object knows
constexpr DWORD DELETE = 0x00010000;
constexpr DWORD READ_CONTROL = 0x00020000;
constexpr DWORD WRITE_DAC = 0x00040000;
constexpr DWORD WRITE_OWNER = 0x00080000;
constexpr DWORD SYNCHRONIZE = 0x00100000;
constexpr DWORD MAXIMUM_ALLOWED = 0x02000000;
constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;
constexpr DWORD GENERIC_ALL = 0x10000000;

}  // namespace win
