#include "resource_use.h"

#include <winternl.h>
// after windows.h, which it needs
#include <psapi.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

namespace e2e {
namespace {

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

// The process environment block as far as its GDI handle table's address, with the field types of
// the documented layout, so that each width gets its own offsets: Pointer is std::uint32_t for a
// 32-bit process, std::uint64_t for a 64-bit one.
template <typename Pointer>
struct PebPrefix {
  std::uint8_t inheritedAddressSpace, readImageFileExecOptions, beingDebugged, bitField;
  Pointer mutant, imageBaseAddress, loader, processParameters, subSystemData, processHeap, fastPebLock,
      atlThunkSListPtr, ifeoKey;
  std::uint32_t crossProcessFlags;
  Pointer kernelCallbackTable;
  std::uint32_t systemReserved, atlThunkSListPtr32;
  Pointer apiSetMap;
  std::uint32_t tlsExpansionCounter;
  Pointer tlsBitmap;
  std::uint32_t tlsBitmapBits[2];
  Pointer readOnlySharedMemoryBase, sharedData, readOnlyStaticServerData, ansiCodePageData, oemCodePageData,
      unicodeCaseTableData;
  std::uint32_t numberOfProcessors, ntGlobalFlag;
  std::int64_t criticalSectionTimeout;
  Pointer heapSegmentReserve, heapSegmentCommit, heapDeCommitTotalFreeThreshold, heapDeCommitFreeBlockThreshold;
  std::uint32_t numberOfHeaps, maximumNumberOfHeaps;
  Pointer processHeaps;
  Pointer gdiSharedHandleTable;
};
using NativePointer = std::conditional_t<sizeof(void*) == 8, std::uint64_t, std::uint32_t>;
// The offsets the system's documentation gives, as a check of the layout above.
static_assert(offsetof(PebPrefix<std::uint32_t>, gdiSharedHandleTable) == 0x94);
static_assert(offsetof(PebPrefix<std::uint64_t>, gdiSharedHandleTable) == 0xF8);

// Wine's GDI handle table: 65536 entries of this shape (the same in 32- and 64-bit processes), the
// object's type 0 for a free entry.
struct GdiEntry {
  std::uint64_t object;
  std::uint32_t owner;
  std::uint8_t type;
  std::uint8_t flags;
  std::uint16_t unused;
  std::uint64_t userPointer;
};
static_assert(sizeof(GdiEntry) == 24);
constexpr std::size_t GdiTableEntries = 0x10000;

// Reads a value of the other process's memory; nothing when it cannot be read.
template <typename T>
std::optional<T> ReadFrom(HANDLE process, std::uintptr_t address) {
  T value{};
  SIZE_T read = 0;
  if (address == 0 || !ReadProcessMemory(process, reinterpret_cast<const void*>(address), &value, sizeof value, &read) ||
      read != sizeof value) {
    return std::nullopt;
  }
  return value;
}

// The table's address, which Wine keeps in the process's PEB. A 32-bit process on a 64-bit system
// has a second, 64-bit PEB (in Wine the page below its own), and Wine keeps the address there;
// that PEB is taken as found only when it names the same program image as the process's own.
std::uintptr_t GdiTableAddress(HANDLE process, std::uintptr_t peb) {
  const auto own = ReadFrom<PebPrefix<NativePointer>>(process, peb);
  if (!own) return 0;
  if (own->gdiSharedHandleTable != 0) return static_cast<std::uintptr_t>(own->gdiSharedHandleTable);
  BOOL wow64 = FALSE;
  if (sizeof(void*) == 8 || !IsWow64Process(process, &wow64) || !wow64) return 0;
  SYSTEM_INFO system{};
  GetSystemInfo(&system);
  const auto wide = ReadFrom<PebPrefix<std::uint64_t>>(process, peb - system.dwPageSize);
  if (!wide || wide->imageBaseAddress != own->imageBaseAddress) return 0;
  // The table lies where the 32-bit process can reach it.
  if (wide->gdiSharedHandleTable > UINTPTR_MAX) return 0;
  return static_cast<std::uintptr_t>(wide->gdiSharedHandleTable);
}

long WineGdiObjects(HANDLE process) {
  using QueryProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<QueryProcess>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION basic{};
  ULONG length = 0;
  if (!query || query(process, ProcessBasicInformation, &basic, sizeof basic, &length) != 0) return -1;
  const std::uintptr_t table = GdiTableAddress(process, reinterpret_cast<std::uintptr_t>(basic.PebBaseAddress));
  if (table == 0) return -1;
  std::vector<GdiEntry> entries(GdiTableEntries);
  SIZE_T read = 0;
  if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.data(),
                         entries.size() * sizeof(GdiEntry), &read)) {
    return -1;
  }
  long used = 0;
  for (const GdiEntry& entry : entries) used += entry.type != 0;
  return used;
}

struct WindowCount {
  DWORD processId;
  long count = 0;
};

BOOL CALLBACK CountChild(HWND, LPARAM data) {
  ++reinterpret_cast<WindowCount*>(data)->count;
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM data) {
  auto* windows = reinterpret_cast<WindowCount*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != windows->processId) return TRUE;
  ++windows->count;
  EnumChildWindows(window, CountChild, data);
  return TRUE;
}

long WineUserObjects(DWORD processId) {
  WindowCount windows{processId};
  EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&windows));
  for (HWND window = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); window;
       window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr)) {
    CountTopLevel(window, reinterpret_cast<LPARAM>(&windows));
  }
  return windows.count;
}

// The system's handle list (SystemHandleInformation), one row per handle.
struct HandleRow {
  ULONG ownerProcessId;
  BYTE objectType;
  BYTE flags;
  USHORT value;
  PVOID object;
  ULONG access;
};
struct HandleList {
  ULONG count;
  HandleRow rows[1];
};
constexpr auto SystemHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(16);

long WineHandles(DWORD processId) {
  using QuerySystem = NTSTATUS(NTAPI*)(SYSTEM_INFORMATION_CLASS, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<QuerySystem>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  if (!query) return -1;
  std::vector<std::uint8_t> buffer(1 << 20);
  for (int attempt = 0; attempt < 6; ++attempt, buffer.resize(buffer.size() * 2)) {
    ULONG needed = 0;
    const NTSTATUS status = query(SystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    if (status != 0) continue;  // too small: again, larger
    const auto* list = reinterpret_cast<const HandleList*>(buffer.data());
    long owned = 0;
    for (ULONG i = 0; i < list->count; ++i) owned += list->rows[i].ownerProcessId == processId;
    return owned;
  }
  return -1;
}

}  // namespace

ResourceUse ResourceUseOf(DWORD processId) {
  ResourceUse use;
  const UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
  if (!process) return use;
  use.gdiObjects = static_cast<long>(GetGuiResources(process.get(), GR_GDIOBJECTS));
  if (use.gdiObjects == 0) use.gdiObjects = WineGdiObjects(process.get());
  use.userObjects = static_cast<long>(GetGuiResources(process.get(), GR_USEROBJECTS));
  if (use.userObjects == 0) use.userObjects = WineUserObjects(processId);
  DWORD handles = 0;
  if (GetProcessHandleCount(process.get(), &handles) && handles != 0) {
    use.handles = static_cast<long>(handles);
  } else {
    use.handles = WineHandles(processId);
  }
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(process.get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
    use.privateBytes = static_cast<std::int64_t>(memory.PrivateUsage != 0 ? memory.PrivateUsage : memory.PagefileUsage);
  }
  return use;
}

std::string Describe(const ResourceUse& use) {
  char text[160];
  std::snprintf(text, sizeof text, "gdi %ld user %ld handles %ld private %.1f MiB", use.gdiObjects, use.userObjects,
                use.handles, static_cast<double>(use.privateBytes) / (1024.0 * 1024.0));
  return text;
}

}  // namespace e2e
