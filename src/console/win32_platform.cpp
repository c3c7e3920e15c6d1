// The platform interface over Win32 calls. Error codes are the system's own
// (GetLastError), handed on unchanged.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "console/platform.h"

namespace zv::console {

namespace {

HANDLE native(Handle h) { return reinterpret_cast<HANDLE>(h); }
Handle portable(HANDLE h) { return reinterpret_cast<Handle>(h); }

// At most this much per ReadFile/WriteFile call (the counts are 32-bit).
constexpr std::size_t kMaxChunk = 1u << 30;

class Win32Platform final : public Platform {
 public:
  Handle standard_input() override { return portable(GetStdHandle(STD_INPUT_HANDLE)); }
  Handle standard_output() override { return portable(GetStdHandle(STD_OUTPUT_HANDLE)); }

  // Opened or created without truncating; with no sharing, a file that
  // another program holds open fails (sharing violation) before anything in
  // it is lost. The file now held is compared with the guarded one and
  // refused if it is that file; only then is a disk file cut to nothing.
  // Opening an existing file keeps its attributes, so a hidden or system
  // file is overwritten like any other.
  OpenResult open_write(const char* name, const char* guarded) override {
    BY_HANDLE_FILE_INFORMATION kept{};
    const bool guarding = guarded != nullptr && identify(guarded, kept);
    const OpenResult r = open(name, OPEN_ALWAYS);
    if (r.error != 0) return r;
    const HANDLE h = native(r.handle);
    BY_HANDLE_FILE_INFORMATION held{};
    if (guarding && GetFileInformationByHandle(h, &held) && same_file(held, kept)) {
      CloseHandle(h);
      return {kNoHandle, ERROR_ACCESS_DENIED};
    }
    if (GetFileType(h) == FILE_TYPE_DISK && !SetEndOfFile(h)) {
      const DWORD err = GetLastError();
      CloseHandle(h);
      return {kNoHandle, err};
    }
    return r;
  }

  // An existing file only, positioned at its end.
  OpenResult open_append(const char* name) override {
    OpenResult r = open(name, OPEN_EXISTING);
    if (r.error == 0) {
      LARGE_INTEGER zero{};
      if (!SetFilePointerEx(native(r.handle), zero, nullptr, FILE_END)) {
        const DWORD err = GetLastError();
        CloseHandle(native(r.handle));
        return {kNoHandle, err};
      }
    }
    return r;
  }

  IoResult read(Handle h, void* buffer, std::size_t size) override {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(size < kMaxChunk ? size : kMaxChunk);
    if (ReadFile(native(h), buffer, want, &got, nullptr)) return {got, 0, got == 0};
    const DWORD err = GetLastError();
    // The writing end of a pipe has gone: the input has ended.
    if (err == ERROR_BROKEN_PIPE) return {0, 0, true};
    return {0, err, false};
  }

  IoResult write(Handle h, const void* data, std::size_t size) override {
    DWORD put = 0;
    const DWORD want = static_cast<DWORD>(size < kMaxChunk ? size : kMaxChunk);
    if (WriteFile(native(h), data, want, &put, nullptr)) return {put, 0, false};
    return {0, GetLastError(), false};
  }

  std::uint32_t close(Handle h) override { return CloseHandle(native(h)) ? 0 : GetLastError(); }

  // A console, not merely a character device (NUL is one too).
  bool is_terminal(Handle h) override {
    DWORD mode = 0;
    return GetFileType(native(h)) == FILE_TYPE_CHAR && GetConsoleMode(native(h), &mode) != 0;
  }

  // Explorer gives a program a console of its own; a command prompt, a
  // script or a shell shares theirs. A failed count (0) counts as shared.
  bool console_of_its_own() override {
    DWORD processes[2];
    return GetConsoleProcessList(processes, 2) == 1 && is_terminal(standard_input()) &&
           is_terminal(standard_output());
  }

  void discard_typed_ahead(Handle console) override { FlushConsoleInputBuffer(native(console)); }

  // The keys themselves, not the console's line: what is left of a line
  // typed ahead, or an Enter's key coming up, does not count.
  void wait_for_enter(Handle console) override {
    INPUT_RECORD event;
    DWORD got = 0;
    while (ReadConsoleInputA(native(console), &event, 1, &got) && got == 1) {
      const KEY_EVENT_RECORD& key = event.Event.KeyEvent;
      if (event.EventType == KEY_EVENT && key.bKeyDown && key.wVirtualKeyCode == VK_RETURN) return;
    }
  }

  [[noreturn]] void exit_process(int code) override { ExitProcess(static_cast<UINT>(code)); }

 private:
  // Write access only, no sharing; the name goes to the system as given
  // ("/" and "\" both separate directories there).
  static OpenResult open(const char* name, DWORD disposition) {
    const HANDLE h =
        CreateFileA(name, GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {kNoHandle, GetLastError()};
    return {portable(h), 0};
  }

  // Whether two identities are one file: the same volume serial number and
  // file index, however each was reached.
  static bool same_file(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
  }

  // The identity of an existing file, found by name: opened for its
  // attributes only, which no other program's sharing mode refuses, and
  // closed again at once.
  static bool identify(const char* name, BY_HANDLE_FILE_INFORMATION& info) {
    const HANDLE h =
        CreateFileA(name, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const bool known = GetFileInformationByHandle(h, &info) != 0;
    CloseHandle(h);
    return known;
  }
};

}  // namespace

Platform& system_platform() {
  static Win32Platform platform;
  return platform;
}

}  // namespace zv::console
