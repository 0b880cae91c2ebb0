#include "resource_use.h"

#include <winternl.h>
// after windows.h, which it needs
#include <psapi.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace e2e {
namespace {

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

// Wine's GDI handle table: 65536 entries of this shape, the object's type 0 for a free entry.
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
// Where the PEB keeps the table's address (PEB::GdiSharedHandleTable).
constexpr std::size_t GdiTableInPeb = sizeof(void*) == 8 ? 0xF8 : 0x94;

long WineGdiObjects(HANDLE process) {
  using QueryProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<QueryProcess>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION basic{};
  ULONG length = 0;
  if (!query || query(process, ProcessBasicInformation, &basic, sizeof basic, &length) != 0) return -1;
  void* table = nullptr;
  SIZE_T read = 0;
  if (!ReadProcessMemory(process, reinterpret_cast<const std::uint8_t*>(basic.PebBaseAddress) + GdiTableInPeb, &table,
                         sizeof table, &read) ||
      !table) {
    return -1;
  }
  std::vector<GdiEntry> entries(GdiTableEntries);
  if (!ReadProcessMemory(process, table, entries.data(), entries.size() * sizeof(GdiEntry), &read)) return -1;
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
